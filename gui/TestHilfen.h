// Test support for windows: answers the modal dialogs that come up, in order,
// and gives the test's folder in Qt's terms.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>
#include <vector>

#include "helpers/TestHilfen.h"

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& Text, std::ostream* Aus) {
  *Aus << '"' << Text.toStdString() << '"';
}

// A click in the middle of W as the window system delivers it, through W's
// window: Qt decides who gets it, and drops it while a modal dialog blocks it.
inline void FensterKlick(QWidget* W) {
  QWidget* Fenster = W->window();
  QTest::mouseClick(Fenster->windowHandle(), Qt::LeftButton, {},
                    W->mapTo(Fenster, W->rect().center()));
}

// Makes W the active window, as a click into it would.
inline void Aktivieren(QWidget* W) {
  W->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(W));
}

// Lets queued work run, such as the reactivation of a window after a box closed.
inline void Abwarten() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// A fresh folder, its names as QStrings.
class TQOrdner : public TOrdner {
 public:
  QString Weg() const { return QString::fromStdString(TOrdner::Weg); }
  QString Datei(const QString& Name) const { return Weg() + '/' + Name; }
};

// What a message box showed, filled when it is answered.
struct TBoxInhalt {
  QString Titel, Text;
  QStringList Knoepfe;
  QMessageBox::Icon Symbol = QMessageBox::NoIcon;
  int Anzahl = 0;
};

// Acts on the modal dialogs that come up while it lives, one step per dialog,
// in the given order. A step gets the active modal widget and returns false when
// that is not yet the widget it waits for. Message boxes that no step expects
// are recorded and answered with their first button; other dialogs that come
// after the last step are recorded by their title and closed, unless a
// standing step takes them. Once a dialog is answered its window is made
// active again, as a desktop does and the offscreen platform does not.
class TAntworter {
 public:
  using TSchritt = std::function<bool(QWidget*)>;

  explicit TAntworter(std::vector<TSchritt> Schritte = {}) : Schritte(std::move(Schritte)) {
    Planen();
  }

  void Anhaengen(TSchritt Schritt) { Schritte.push_back(std::move(Schritt)); }
  // For a test that works the program at random: once the steps are done,
  // every tick goes to Schritt, with the active modal widget or null when none
  // is up, every 2 ms also while it runs (it may act in a drawing that lets
  // messages through). It returns true when it answered the widget; then the
  // window below is made active at once, as a desktop does when a dialog closes.
  void Staendig(TSchritt Schritt) { Dauerschritt = std::move(Schritt); }
  bool Fertig() const { return Naechster == Schritte.size(); }

  QStringList Meldungen;  // texts of the message boxes no step expected
  QStringList Titel;      // their titles, and those of other dialogs closed

  // A step that hands whatever modal widget comes next to Antwort.
  static TSchritt Jeder(std::function<void(QWidget*)> Antwort) {
    return [Antwort = std::move(Antwort)](QWidget* W) {
      Antwort(W);
      return true;
    };
  }

  // A step that records the next message box in Inhalt and clicks the button
  // with this caption; an empty caption closes it through the title bar.
  // Another dialog in its place is closed.
  static TSchritt Box(TBoxInhalt& Inhalt, const QString& Knopf = QStringLiteral("OK")) {
    return [&Inhalt, Knopf](QWidget* W) {
      auto* Box = qobject_cast<QMessageBox*>(W);
      if (!Box) {
        W->close();
        return true;
      }
      Inhalt.Titel = Box->windowTitle();
      Inhalt.Text = Box->text();
      Inhalt.Symbol = Box->icon();
      Inhalt.Knoepfe.clear();
      for (QAbstractButton* B : Box->buttons()) Inhalt.Knoepfe << B->text();
      ++Inhalt.Anzahl;
      for (QAbstractButton* B : Box->buttons())
        if (!Knopf.isEmpty() && B->text() == Knopf) {
          B->click();
          return true;
        }
      Box->close();
      return true;
    };
  }

  // A step that answers a message box with its first button, as one no step expects.
  TSchritt BoxOk() {
    return [this](QWidget* W) {
      auto* Box = qobject_cast<QMessageBox*>(W);
      if (!Box) return false;
      Beantworten(Box);
      return true;
    };
  }

 private:
  void Beantworten(QMessageBox* Box) {
    Meldungen << Box->text();
    Titel << Box->windowTitle();
    Box->buttons().first()->click();
  }

  // A fresh timer per tick: Qt does not fire a timer again while its handler runs,
  // and a step may open a nested dialog that the next tick has to answer. While
  // a step runs, ticks come seldom: a flood of timers upsets Qt's file dialog,
  // whose completion a step may be waiting for.
  void Planen() {
    QTimer::singleShot(LaufendeSchritte > 0 ? 20 : 2, &Kontext, [this] { Ticken(); });
  }

  void Ticken() {
    QWidget* W = QApplication::activeModalWidget();
    if (W && !W->isVisible()) W = nullptr;
    if (Dauerschritt && Fertig()) return Dauern(W);
    if (!W) return Planen();
    const QPointer<QWidget> Fenster = W->parentWidget() ? W->parentWidget()->window() : nullptr;
    bool Beantwortet = false;
    if (Naechster < Schritte.size()) {
      // Advance first: the step may open a nested dialog and tick again inside it.
      const size_t Index = Naechster++;
      TSchritt Schritt = Schritte[Index];
      ++LaufendeSchritte;
      Planen();
      Beantwortet = Schritt(W);
      --LaufendeSchritte;
      if (!Beantwortet && Naechster != Index + 1) return;
      if (!Beantwortet) Naechster = Index;
    } else {
      Planen();
    }
    if (!Beantwortet) {
      if (auto* Box = qobject_cast<QMessageBox*>(W)) {
        Beantworten(Box);
      } else if (Fertig()) {
        // A dialog no step waits for: a fault, that is to fail, not to hang.
        Titel << W->windowTitle();
        W->close();
      } else {
        return;
      }
    }
    QTimer::singleShot(0, &Kontext, [Fenster] {
      if (Fenster && Fenster->isVisible() && !Fenster->isActiveWindow() &&
          !QApplication::activeModalWidget())
        QApplication::setActiveWindow(Fenster);
    });
  }

  void Dauern(QWidget* W) {
    Planen();
    const QPointer<QWidget> Offen = W;
    const QPointer<QWidget> Fenster =
        W && W->parentWidget() ? W->parentWidget()->window() : nullptr;
    if (!Dauerschritt(W) || !Offen || Offen->isVisible()) return;
    if (QWidget* M = QApplication::activeModalWidget(); M && M->isVisible())
      M->activateWindow();
    else if (Fenster && Fenster->isVisible())
      Fenster->activateWindow();
  }

  std::vector<TSchritt> Schritte;
  TSchritt Dauerschritt;
  size_t Naechster = 0;
  int LaufendeSchritte = 0;
  QObject Kontext;  // pending ticks die with it
};
