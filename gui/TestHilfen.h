// Test support: answers the next modal dialog from the event loop.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& Text, std::ostream* Aus) {
  *Aus << '"' << Text.toStdString() << '"';
}

// Lets queued work run, such as the reactivation of a window after a box closed.
inline void Abwarten() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Answers still waiting belong to the round in which they were asked for.
inline int& Antwortrunde() {
  static int Runde = 0;
  return Runde;
}

// Drops every answer still waiting (at the end of a test).
inline void AntwortenVerwerfen() { ++Antwortrunde(); }

// Runs Aktion once from the event loop after Ms milliseconds.
inline void Spaeter(int Ms, std::function<void()> Aktion) {
  auto* Uhr = new QTimer(qApp);
  Uhr->setSingleShot(true);
  QObject::connect(Uhr, &QTimer::timeout, Uhr, [Uhr, Aktion = std::move(Aktion)] {
    Uhr->deleteLater();
    Aktion();
  });
  Uhr->start(Ms);
}

// Polls until a modal widget is up, then hands it to Antwort (once).
inline void ModalBeantworten(std::function<void(QWidget*)> Antwort, int Versuche = 500) {
  Spaeter(5, [Antwort = std::move(Antwort), Versuche, Runde = Antwortrunde()]() mutable {
    if (Runde != Antwortrunde()) return;
    if (QWidget* W = QApplication::activeModalWidget()) {
      // Offscreen windows are not reactivated when a dialog closes; a desktop does that.
      QPointer<QWidget> Eltern = W->parentWidget() ? W->parentWidget()->window() : nullptr;
      Antwort(W);
      Spaeter(0, [Eltern] {
        if (Eltern && Eltern->isVisible() && !QApplication::activeModalWidget())
          QApplication::setActiveWindow(Eltern);
      });
    } else if (Versuche > 0) {
      ModalBeantworten(std::move(Antwort), Versuche - 1);
    }
  });
}

// What a message box showed, filled when it is answered.
struct TBoxInhalt {
  QString Titel, Text;
  QStringList Knoepfe;
  QMessageBox::Icon Symbol = QMessageBox::NoIcon;
  int Anzahl = 0;
};

// Answers the next message box by clicking the button with this caption
// (an empty caption closes it through the title bar) and records its contents.
inline void BoxBeantworten(TBoxInhalt& Inhalt, const QString& Knopf = QStringLiteral("OK")) {
  ModalBeantworten([&Inhalt, Knopf](QWidget* W) {
    auto* Box = qobject_cast<QMessageBox*>(W);
    if (!Box) {
      W->close();
      return;
    }
    Inhalt.Titel = Box->windowTitle();
    Inhalt.Text = Box->text();
    Inhalt.Symbol = Box->icon();
    Inhalt.Knoepfe.clear();
    for (QAbstractButton* B : Box->buttons()) Inhalt.Knoepfe << B->text();
    ++Inhalt.Anzahl;
    if (Knopf.isEmpty()) {
      Box->close();
      return;
    }
    for (QAbstractButton* B : Box->buttons())
      if (B->text() == Knopf) {
        B->click();
        return;
      }
    Box->close();
  });
}
