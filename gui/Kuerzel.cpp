#include "gui/Kuerzel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QShortcutEvent>
#include <QWidget>
#include <vector>

namespace {

bool Bedienbar(const QWidget* W) { return W->isVisible() && W->isEnabled(); }

class TKuerzelwaechter : public QObject {
 public:
  explicit TKuerzelwaechter(QWidget* Fenster) : QObject(Fenster), Fenster(Fenster) {
    // Shortcut events go to whichever control Qt picks next; only a filter
    // on the application sees them all, those of later controls included.
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    if (E->type() != QEvent::Shortcut || !static_cast<QShortcutEvent*>(E)->isAmbiguous())
      return false;
    auto* W = qobject_cast<QWidget*>(Objekt);
    if (!W || W->window() != Fenster) return false;
    return Ausfuehren(static_cast<QShortcutEvent*>(E)->key());
  }

 private:
  struct TTraeger {
    QWidget* Steuerelement;  // carries the key in its caption
    QWidget* Ziel;           // takes the focus
  };

  // The first control in tab order inside Gruppe that takes the focus.
  QWidget* ErstesElement(const QWidget* Gruppe) const {
    for (QWidget* W = Fenster->nextInFocusChain(); W != Fenster; W = W->nextInFocusChain())
      if (Gruppe->isAncestorOf(W) && Bedienbar(W) && (W->focusPolicy() & Qt::TabFocus)) return W;
    return nullptr;
  }

  std::vector<TTraeger> Traeger(const QKeySequence& Taste) const {
    std::vector<TTraeger> Alle;
    for (QWidget* W : Fenster->findChildren<QWidget*>()) {
      if (W->window() != Fenster || !Bedienbar(W)) continue;
      if (auto* Knopf = qobject_cast<QAbstractButton*>(W)) {
        if (QKeySequence::mnemonic(Knopf->text()) == Taste) Alle.push_back({W, W});
      } else if (auto* Label = qobject_cast<QLabel*>(W)) {
        if (Label->buddy() && QKeySequence::mnemonic(Label->text()) == Taste)
          Alle.push_back({W, Label->buddy()});
      } else if (auto* Gruppe = qobject_cast<QGroupBox*>(W)) {
        if (QKeySequence::mnemonic(Gruppe->title()) == Taste)
          if (QWidget* Erstes = ErstesElement(Gruppe)) Alle.push_back({W, Erstes});
      }
    }
    return Alle;
  }

  bool Ausfuehren(const QKeySequence& Taste) {
    const std::vector<TTraeger> Alle = Traeger(Taste);
    for (QWidget* W = Fenster->nextInFocusChain(); W != Fenster; W = W->nextInFocusChain())
      for (const TTraeger& T : Alle)
        if (T.Ziel == W) {
          if (T.Ziel->focusPolicy() != Qt::NoFocus) T.Ziel->setFocus(Qt::ShortcutFocusReason);
          Fenster->setAttribute(Qt::WA_KeyboardFocusChange);
          if (auto* Knopf = qobject_cast<QAbstractButton*>(T.Steuerelement)) Knopf->animateClick();
          return true;
        }
    return false;
  }

  QWidget* Fenster;
};

}  // namespace

void KuerzelEindeutigMachen(QWidget* Fenster) { new TKuerzelwaechter(Fenster); }
