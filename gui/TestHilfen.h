// Test support: answers the next modal dialog from the event loop.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Polls until a modal widget is up, then hands it to Antwort (once).
inline void ModalBeantworten(std::function<void(QWidget*)> Antwort, int Versuche = 500) {
  QTimer::singleShot(5, qApp, [Antwort = std::move(Antwort), Versuche]() mutable {
    if (QWidget* W = QApplication::activeModalWidget()) {
      Antwort(W);
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
