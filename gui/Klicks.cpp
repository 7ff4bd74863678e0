#include "gui/Klicks.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

// Whether a modal window came up while the left button was held, since the
// latest press reached a window of the program. Qt then forgets where that
// press went and drops its release, also when the user held the button
// through the box and lets go later.
class TDruckwaechter : public QObject {
 public:
  TDruckwaechter() { qApp->installEventFilter(this); }
  bool Unterbrochen = false;

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    if ((E->type() == QEvent::MouseButtonPress && Objekt->isWindowType()) ||
        E->type() == QEvent::MouseButtonRelease)
      Unterbrochen = false;
    else if (E->type() == QEvent::WindowBlocked &&
             (QGuiApplication::mouseButtons() & Qt::LeftButton))
      Unterbrochen = true;
    return false;
  }
};

TDruckwaechter& Druckwaechter() {
  static auto* W = new TDruckwaechter;  // lives as long as the application
  return *W;
}

class TKlickbewahrer : public QObject {
 public:
  explicit TKlickbewahrer(QWidget* Fenster) : QObject(Fenster), Fenster(Fenster) {
    Druckwaechter();
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
    // a button already up again means a box in between took the release, a
    // box shown meanwhile that its release will not come.
    if ((QGuiApplication::mouseButtons() & Qt::LeftButton) && !Druckwaechter().Unterbrochen)
      return false;
    Druckwaechter().Unterbrochen = false;
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
