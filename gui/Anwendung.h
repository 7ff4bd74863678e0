// The application object: German texts in Qt's own dialogs, and a last safety
// net so that no exception ever leaves an event handler into Qt's event loop.
#pragma once

#include <QApplication>
#include <QTranslator>
#include <exception>

class TAnwendung : public QApplication {
 public:
  // Sets the application title "Rankenwerk" and loads Qt's German texts.
  TAnwendung(int& argc, char** argv);

  // Delivers the event; an error escaping it is shown by the general error report.
  bool notify(QObject* Empfaenger, QEvent* Ereignis) override;

 private:
  QTranslator QtTexte;
};

// The report of a failed start-up: box titled "Anwendungsfehler" naming the
// error's class and its message.
QString AnwendungsfehlerText(const std::exception& Fehler);
void AnwendungsfehlerZeigen(const std::exception& Fehler);
