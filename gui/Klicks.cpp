#include "gui/Klicks.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

class TKlickbewahrer : public QObject {
 public:
  explicit TKlickbewahrer(QWidget* Fenster) : QObject(Fenster), Fenster(Fenster) {
    Beobachten(Fenster);
  }

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    if (E->type() == QEvent::ChildAdded) {
      if (auto* Kind = qobject_cast<QWidget*>(static_cast<QChildEvent*>(E)->child()))
        Beobachten(Kind);
      return false;
    }
    if (E->type() != QEvent::MouseButtonPress) return false;
    auto* Knopf = qobject_cast<QAbstractButton*>(Objekt);
    if (!Knopf || static_cast<QMouseEvent*>(E)->button() != Qt::LeftButton) return false;
    // By the time the press arrives here, the field's leave action has run;
    // a button already up again means a box in between took the release.
    if (QGuiApplication::mouseButtons() & Qt::LeftButton) return false;
    if (Knopf->isEnabled() && Knopf->isVisible()) Knopf->click();
    return true;
  }

 private:
  // Controls of this window, and of its children as they come; other windows
  // (dialogs owned by this one) look after themselves.
  void Beobachten(QWidget* W) {
    if (W != Fenster && W->isWindow()) return;
    W->installEventFilter(this);
    for (QObject* Kind : W->children())
      if (auto* K = qobject_cast<QWidget*>(Kind)) Beobachten(K);
  }

  QWidget* Fenster;
};

}  // namespace

void KlicksBewahren(QWidget* Fenster) { new TKlickbewahrer(Fenster); }
