// Monkey test: a seeded random stream of user events over every window the
// program shows. After every event the windows must still agree with the
// rule system and the settings in force, and nothing may be left hanging.
// Its parts: the monkey with its plan and run (Affe), its book (Affenbuch),
// hand, which also finds the windows (Affenhand), answers to dialogs
// (Affenantwort), checks (Affenpruefung) and watchdog (Affenwache); here the
// working folder, the settings from the environment and the report.
//
//   AFFEN_SAAT=n        seed (default: taken from the clock; printed either way)
//   AFFEN_EREIGNISSE=n  stop after n events
//   AFFEN_SEKUNDEN=s    stop after s seconds (default 25 when no count is given)
//   AFFEN_GRENZE_MS=ms  how late a queued timer or a stop may come (default 3000)
//   AFFEN_PROTOKOLL=1   print the last events also when all went well
//   AFFEN_ALLE=1        fail when a control of a window that existed at the
//                       start got no event
//
// A failure names the seed, the event number and the last events, so that the
// run can be replayed with AFFEN_SAAT and AFFEN_EREIGNISSE. At the end one
// line per control counts the events it got, one per drop target the drops.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "drawing/ZeichenfensterTest.h"
#include "mainwindow/Affe.h"
#include "mainwindow/Affenwache.h"
#include "mainwindow/LsystemHauptfenster.h"
#include "mainwindow/Programm.h"

namespace {

// Files the dialogs find and the monkey drops: good ones, broken ones, others.
const struct {
  const char* Name;
  const char* Inhalt;
} Dateien[] = {
    {"klein.LSY", "F\r\n90\r\n90\r\nF->F+F-F-F+F\r\n"},
    {"drache.LSY", "FX\r\n90\r\n90\r\nX->X+YF+\r\nY->-FX-Y\r\n"},
    {"busch.lsy", "F\r\n22.5\r\n22.5\r\nF->FF-[-F+F+F]+[+F-F-F]\r\n"},
    {"zweig.LSY", "X\r\n 2.50000000000000E+0001\r\n25\r\nX->F[+X]F[-X]+X\r\nF->FF\r\n"},
    {"zahl.LSY", "A\r\nabc\r\n30\r\nA->B\r\n"},
    {"regel.LSY", "A\r\n30\r\n30\r\nA->[B\r\n"},
    {"kopf.LSY", "A\r\n30\r\n30\r\nAB->B\r\n"},
    {"leer.LSY", ""},
    {"nurAxiom.LSY", "A\r\n30\r\n30\r\n"},
    {"riesig.LSY", "A\r\n1e400\r\n30\r\nA->B\r\n"},
    {"notiz.txt", "F\r\n90\r\n90\r\nF->FF\r\n"},
    {"kaputt.png", "\x89PNG\r\n\x1a\nkein Bild"},
    {"kaputt.svg", "<svg><metadata>Rankenwerk-Rezept 1\nTiefe: x</metadata></svg>"},
};

int64_t Umgebung(const char* Name, int64_t Vorgabe) {
  const char* W = std::getenv(Name);
  return W && *W ? std::strtoll(W, nullptr, 10) : Vorgabe;
}

// Mouse events on plain widgets are not accepted, and the offscreen platform
// cannot do all a desktop does; that is no news.
void Meldungsfilter(QtMsgType Typ, const QMessageLogContext&, const QString& Text) {
  if (Typ == QtWarningMsg && (Text.contains(QLatin1String("not accepted by receiving widget")) ||
                              Text.startsWith(QLatin1String("This plugin does not support"))))
    return;
  std::fprintf(stderr, "%s\n", Text.toLocal8Bit().constData());
}

TEST(Affentest, ZufaelligeBedienungLaesstDieFensterStimmig) {
  const uint64_t Saat = static_cast<uint64_t>(Umgebung(
      "AFFEN_SAAT", std::chrono::system_clock::now().time_since_epoch().count() % 1000000));
  const int64_t Anzahl = Umgebung("AFFEN_EREIGNISSE", 0);
  const double Sekunden = static_cast<double>(Umgebung("AFFEN_SEKUNDEN", Anzahl > 0 ? 0 : 25));
  const int Grenze = static_cast<int>(Umgebung("AFFEN_GRENZE_MS", 3000));
  std::printf("Affentest: Saat %llu, %s\n", static_cast<unsigned long long>(Saat),
              Anzahl > 0 ? qPrintable(QStringLiteral("%1 Ereignisse").arg(Anzahl))
                         : qPrintable(QStringLiteral("%1 s").arg(Sekunden)));
  std::fflush(stdout);

  // A working folder with files for the dialogs to find and to drop.
  TQOrdner Ordner;
  const QString Vorher = QDir::currentPath();
  QDir::setCurrent(Ordner.Weg());
  QDir().mkdir(QStringLiteral("sub"));
  for (const auto& D : Dateien) Ordner.Schreiben(D.Name, D.Inhalt);
  QFile::copy(QStringLiteral("klein.LSY"), QStringLiteral("sub/klein.LSY"));

  const QtMessageHandler Alt = qInstallMessageHandler(Meldungsfilter);
  TAffenbuch Buch(Saat);
  TAffe Affe(Buch, Anzahl, Sekunden, Grenze, Ordner.Weg());
  int Ergebnis = -1;
  {
    TWachhund Hund(Buch, 120);
    QTimer::singleShot(0, [&Affe] { Affe.Starten(); });
    // As the program entry does it; the about box is answered like any dialog.
    Ergebnis = Programmstart({}, ZeichenfensterAnschliessen);
  }
  qInstallMessageHandler(Alt);
  // Live redraws happen only where nothing holds them back: their number shows it.
  const int Nachzeichnungen = FZeichenform ? FZeichenform->Nachzeichnen().Nachzeichnungen() : 0;
  ZeichenfensterEntfernen();
  QDir::setCurrent(Vorher);

  std::printf("Affentest: %lld Ereignisse in %.1f s, Saat %llu\n",
              static_cast<long long>(Buch.Nummer), Affe.Dauer,
              static_cast<unsigned long long>(Saat));
  for (const QString& Zeile : Buch.Bericht()) std::printf("%s\n", qPrintable(Zeile));
  std::printf("Nachzeichnungen: %d\n", Nachzeichnungen);
  if (Umgebung("AFFEN_PROTOKOLL", 0) != 0)
    std::printf("Letzte Ereignisse:\n%s", Buch.Verlauf().c_str());
  EXPECT_EQ(Ergebnis, 0);
  EXPECT_TRUE(Buch.Fehler.isEmpty()) << Buch.Fehler.toStdString();
  // A control the monkey no longer reaches is a control it no longer tests.
  if (Umgebung("AFFEN_ALLE", 0) != 0 && Buch.Fehler.isEmpty()) {
    EXPECT_TRUE(Buch.Unberuehrt().isEmpty())
        << "Ohne Ereignis blieben: " << Buch.Unberuehrt().join(", ").toStdString();
  }
}

}  // namespace
