// Times one drawing run in the real drawing window (for scripts/bench-fenster.sh):
//   zeichenfenster_zeit DATEI.LSY TIEFE [BILD.png]  prints the seconds of the run
//   zeichenfenster_zeit --abbrechen [--dicke D] DATEI.LSY TIEFE
//        prints how long "Abbrechen" takes to stop the drawing (fixed step, no
//        fitting; with --dicke the lines start with thickness D and keep it)
//   zeichenfenster_zeit --nachzeichnen DATEI.LSY TIEFE
//        with "Nachzeichnen: sofort", prints the milliseconds from an accepted
//        change of the angle to the finished redraw (median of 21)
//   zeichenfenster_zeit --lupe DATEI.LSY TIEFE SCHRITT X Y
//        draws once with this fixed step from (X, Y), then prints the
//        milliseconds from a turn of the wheel in the magnifier (scale 1000
//        about the start, reached by a last notch) to its finished view (median of 5)
// Put first, --jedes-zeichen lets every character of every run act one by
// one, without jumps: the walk whose cost the others are compared with.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "drawing/LSystemZeichnen.h"
#include "drawing/Lupe.h"
#include "gui/Anwendung.h"
#include "gui/Radiogruppe.h"
#include "helpers/Hilfen.h"
#include "rules/Regelsystem.h"

namespace {

// Time from a change of the angle, as the main window reports it, to the end
// of the redraw it starts (the short wait that gathers bursts included).
int NachzeichnenMessen(TFZeichenform* F, TRegelsystem& R) {
  F->RGNachzeichnen->Items[1]->click();
  const auto Fertig = [&](int n) {
    return QTest::qWaitFor(
        [&] { return F->Nachzeichnen().Nachzeichnungen() == n && !F->ZeichnungLaeuft(); }, 60000);
  };
  if (!Fertig(1)) return 1;
  std::vector<double> Zeiten;
  for (int i = 0; i < 21; ++i) {
    R.WinkelPlus += 0.5;
    QElapsedTimer Uhr;
    Uhr.start();
    F->RegelsystemGeaendert();
    if (!Fertig(i + 2)) return 1;
    Zeiten.push_back(Uhr.nsecsElapsed() / 1e6);
  }
  std::sort(Zeiten.begin(), Zeiten.end());
  std::printf("%.1f\n", Zeiten[Zeiten.size() / 2]);
  return 0;
}

// The wheel's last notch, from scale 1000 / 1.5 to 1000 about (X, Y), to the
// magnifier's finished view.
int LupeMessen(TFZeichenform* F, double X, double Y) {
  const double S = 1000 / 1.5;
  std::vector<double> Zeiten;
  for (int i = 0; i < 5; ++i) {
    F->LupeOeffnen(TAnsicht{X - 500 / S, Y - 340 / S, S});
    TLupe* L = F->Lupe();
    if (!QTest::qWaitFor([L] { return L->Fertig(); }, 120000)) return 1;
    QElapsedTimer Uhr;
    Uhr.start();
    const QPointF Ort(500, 340);
    QWheelEvent E(Ort, L->Ansichtsflaeche->mapToGlobal(Ort), {}, {0, 120}, Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(L->Ansichtsflaeche, &E);
    if (!QTest::qWaitFor([L] { return L->Fertig(); }, 120000)) return 1;
    Zeiten.push_back(Uhr.nsecsElapsed() / 1e6);
  }
  std::sort(Zeiten.begin(), Zeiten.end());
  std::printf("%.1f\n", Zeiten[Zeiten.size() / 2]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TAnwendung App(argc, argv);
  const bool Jedes = argc > 1 && std::strcmp(argv[1], "--jedes-zeichen") == 0;
  if (Jedes) {
    --argc;
    ++argv;
  }
  const bool Nachzeichnen = argc > 1 && std::strcmp(argv[1], "--nachzeichnen") == 0;
  const bool Abbrechen = argc > 1 && std::strcmp(argv[1], "--abbrechen") == 0;
  const bool Lupe = argc > 6 && std::strcmp(argv[1], "--lupe") == 0;
  int Erstes = Abbrechen || Nachzeichnen || Lupe ? 2 : 1;
  if (Abbrechen && argc > 3 && std::strcmp(argv[2], "--dicke") == 0) {
    Einstellungen.Anfangsdicke = TextAlsKommazahl(argv[3]);
    Einstellungen.Schwundfaktor = 1.0;
    Erstes += 2;
  }
  if (argc < Erstes + 2) {
    std::fprintf(stderr, "Aufruf: %s [--abbrechen [--dicke D]] DATEI.LSY TIEFE [BILD.png]\n",
                 argv[0]);
    return 2;
  }
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  R.Laden(argv[Erstes]);
  ZeichenfensterErzeugen();
  TFZeichenform* F = FZeichenform;
  F->show();
  F->activateWindow();
  if (!QTest::qWaitForWindowExposed(F)) return 1;
  F->RegelsystemUebergeben(R);
  F->TiefeSetzen(GanzzahlWert(argv[Erstes + 1]));
  F->Maschine().JedesZeichen(Jedes);

  if (Nachzeichnen) return NachzeichnenMessen(F, R);
  if (Lupe) {
    F->RGSchrittweite->Items[0]->click();
    F->SchrittweiteSetzen(TextAlsKommazahl(argv[Erstes + 2]));
    F->StartXSetzen(TextAlsKommazahl(argv[Erstes + 3]));
    F->StartYSetzen(TextAlsKommazahl(argv[Erstes + 4]));
    F->BZeichnen->click();
    return LupeMessen(F, F->Vorgaben().StartX, F->Vorgaben().StartY);
  }
  if (Abbrechen) F->RGSchrittweite->Items[0]->click();

  QElapsedTimer Uhr;
  // The press is due 300 ms into the run; it is seen at the run's next message
  // pass, and that wait belongs to the time the user waits.
  const qint64 Faellig = 300'000'000;
  qint64 Gedrueckt = -1;
  // The run starts from the event loop, as after a real click.
  QTimer::singleShot(0, F, [&] {
    if (Abbrechen) {
      QTimer::singleShot(Faellig / 1'000'000, Qt::PreciseTimer, F, [&] {
        Gedrueckt = Uhr.nsecsElapsed();
        F->BAbbrechen->click();
      });
    }
    Uhr.start();
    F->BZeichnen->click();
    const qint64 Ende = Uhr.nsecsElapsed();
    if (Abbrechen) {
      if (Gedrueckt < 0) {
        std::printf("nicht abgebrochen: Lauf endete nach %.3f s\n", Ende / 1e9);
      } else {
        std::printf("%.1f\n", (Ende - Faellig) / 1e6);
      }
    } else {
      std::printf("%.4f\n", Ende / 1e9);
      if (argc > Erstes + 2) F->zeichenflaeche->Bitmap().save(argv[Erstes + 2], "PNG");
    }
    QApplication::quit();
  });
  return QApplication::exec();
}
