#include "gui/Aktivierung.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

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
