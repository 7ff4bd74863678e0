#include "gui/Anwendung.h"

#include <cxxabi.h>

#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "gui/Dialoge.h"

TAnwendung::TAnwendung(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(AnwendungsTitel);
  if (QtTexte.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&QtTexte);
}

bool TAnwendung::notify(QObject* Empfaenger, QEvent* Ereignis) {
  try {
    return QApplication::notify(Empfaenger, Ereignis);
  } catch (const std::exception& E) {
    FehlerZeigen(E, activeWindow());
  } catch (...) {
    FehlerZeigen(std::runtime_error("Unbekannter Fehler"), activeWindow());
  }
  return false;
}

QString AnwendungsfehlerText(const std::exception& Fehler) {
  const char* Roh = typeid(Fehler).name();
  int Status = 0;
  std::unique_ptr<char, void (*)(void*)> Lesbar(abi::__cxa_demangle(Roh, nullptr, nullptr, &Status),
                                                std::free);
  const QString Klasse = QString::fromLatin1(Status == 0 && Lesbar ? Lesbar.get() : Roh);
  return QStringLiteral("Ausnahme %1: %2")
      .arg(Klasse, FehlertextMitPunkt(QString::fromUtf8(Fehler.what())));
}

void AnwendungsfehlerZeigen(const std::exception& Fehler) {
  QMessageBox Box(QMessageBox::Critical, QStringLiteral("Anwendungsfehler"),
                  AnwendungsfehlerText(Fehler), QMessageBox::NoButton, nullptr);
  QPushButton* Ok = Box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  Box.setDefaultButton(Ok);
  Box.setEscapeButton(Ok);
  Box.exec();
}
