#include "drawing/Fensterhilfen.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QRadioButton>
#include <QWidget>
#include <QWindow>
#include <string>

#include "drawing/Feldpruefung.h"
#include "gui/Dialoge.h"

namespace {

// Remembers whether the focus window before the current one was one of ours.
// Qt sends the activation event and the focusWindowChanged signal in an order
// it does not promise, and a message box is often destroyed before the window
// it returns to is activated: so what counts is noted when the focus changes,
// not looked up later through a pointer that may be gone.
class TFokusVerlauf : public QObject {
 public:
  TFokusVerlauf() {
    Aktuell = QGuiApplication::focusWindow();
    AktuellEigen = Aktuell != nullptr;
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* Neu) {
      VorherEigen = AktuellEigen;
      Aktuell = Neu;
      AktuellEigen = Neu != nullptr;  // the focus window is always one of ours, or none
    });
  }
  QPointer<QWindow> Aktuell;
  bool AktuellEigen = false;
  bool VorherEigen = false;
};

TFokusVerlauf& Verlauf() {
  static auto* V = new TFokusVerlauf;  // parentless, lives until the end
  return *V;
}

const char* const GeradeGezeigt = "rankenwerkGeradeGezeigt";

}  // namespace

bool EigeneAktivierung(QWidget* W, QEvent* E) {
  TFokusVerlauf& V = Verlauf();
  if (E->type() == QEvent::Show) {
    W->setProperty(GeradeGezeigt, true);
    return false;
  }
  if (E->type() != QEvent::WindowActivate) return false;
  if (W->property(GeradeGezeigt).toBool()) {
    W->setProperty(GeradeGezeigt, false);
    return true;
  }
  // Reported already: the change came from the window before; else from the current one.
  const bool Gemeldet = V.Aktuell && V.Aktuell == W->windowHandle();
  return Gemeldet ? V.VorherEigen : V.AktuellEigen;
}

void FeldVerlassen(QWidget* Fenster, const std::function<void()>& Pruefen,
                   const std::function<void()>& Zuruecksetzen) {
  Behandeln(Fenster, [&] {
    try {
      Pruefen();
    } catch (const EFeldfehler& F) {
      MeldungZeigen(std::string(F.what()), Fenster);
      Zuruecksetzen();
    } catch (const std::exception& E) {
      FehlerZeigen(E, Fenster);
      Zuruecksetzen();
    }
  });
}

void TEingabefeld::focusOutEvent(QFocusEvent* E) {
  QLineEdit::focusOutEvent(E);
  if (E->reason() != Qt::ActiveWindowFocusReason && E->reason() != Qt::PopupFocusReason)
    emit Verlassen();
}

TRadioGruppe::TRadioGruppe(const QString& Titel, const QString& Item0, const QString& Item1,
                           QWidget* Eltern)
    : QGroupBox(Titel, Eltern), Gruppe(new QButtonGroup(this)) {
  const QString Texte[2] = {Item0, Item1};
  for (int i = 0; i < 2; ++i) {
    Items[i] = new QRadioButton(Texte[i], this);
    Items[i]->setGeometry(3, 16 + 15 * i, 92, 15);
    Gruppe->addButton(Items[i], i);
  }
  connect(Gruppe, &QButtonGroup::idClicked, this, &TRadioGruppe::Geklickt);
}

int TRadioGruppe::ItemIndex() const { return Gruppe->checkedId(); }

void TRadioGruppe::ItemIndexSetzen(int Index) { Items[Index]->setChecked(true); }
