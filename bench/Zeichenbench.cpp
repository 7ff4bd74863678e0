// Draws two figures with the engine on a 1000 x 680 QImage and the very same
// segments with one QPainter::drawLine each, and prints the time ratios and
// the speed of the measuring walk. Run through scripts/bench.sh.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "pictures/BildLeinwand.h"
#include "rules/Regelsystem.h"
#include "turtle/turtleUnit.h"

namespace {

using Uhr = std::chrono::steady_clock;
constexpr int BildBreite = 1000, BildHoehe = 680;

// The window as it would be: a real event pass each time the engine asks.
class TBenchFenster : public TLaufbeobachter {
 public:
  bool Weiter() override {
    QCoreApplication::processEvents();
    ++Laeufe;
    return true;
  }
  long Laeufe = 0;
};

// Writes down the segments the engine hands over.
class TSammelLeinwand : public TLeinwand {
 public:
  int Breite() const override { return BildBreite; }
  int Hoehe() const override { return BildHoehe; }
  void StiftFarbeSetzen(uint32_t W) override { Farbe = W; }
  void StiftBreiteSetzen(int W) override {
    if (W >= 0) Dicke = W;
  }
  void RastermodusSetzen(TRastermodus) override {}
  uint32_t StiftFarbe() const override { return Farbe; }
  int StiftBreite() const override { return Dicke; }
  TRastermodus Rastermodus() const override { return TRastermodus::Kopieren; }
  void PinselFarbeSetzen(uint32_t) override {}
  void Bewegen(int X, int Y) override { Akt = QPoint(X, Y); }
  void LinieNach(int X, int Y) override {
    Linien.emplace_back(Akt, QPoint(X, Y));
    Akt = QPoint(X, Y);
  }
  void Polylinie(const TPunkt*, int) override {}
  void Ellipse(int, int, int, int) override {}
  void RechteckFuellen(int, int, int, int) override {}
  void VieleckFuellen(const TPunkt*, int) override {}
  std::vector<QLine> Linien;
  QPoint Akt;
  uint32_t Farbe = 0;
  int Dicke = 1;
};

struct TFigur {
  const char* Name;
  std::vector<const char*> Regeln;
  std::string Axiom;
  double Winkel;
  int Tiefe;
};

double Sekunden(const std::function<void()>& f) {
  auto A = Uhr::now();
  f();
  return std::chrono::duration<double>(Uhr::now() - A).count();
}

QImage Weiss() {
  QImage Bild(BildBreite, BildHoehe, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  return Bild;
}

// Length of the derived string of the depth, counted without building it.
double Laenge(const TRegelsystem& R, const std::string& s, int n) {
  double Summe = 0;
  for (char c : s) {
    std::string E = R.Ersetzung(c);
    Summe += (n > 0 && E != std::string(1, c)) ? Laenge(R, E, n - 1) : 1;
  }
  return Summe;
}

// The same segments on the image canvas in one colour, and with the colour
// changing at every line among a few, as a colouring by level draws them.
void FarbenMessen(const std::vector<QLine>& Linien, int Runden) {
  constexpr uint32_t Stufen[] = {0x008000, 0x1A9A1A, 0x34B434, 0x4ECE4E, 0x68E868, 0x90EE90};
  std::vector<double> Einfarbig, Bunt;
  for (int r = 0; r < Runden; ++r)
    for (bool Wechsel : {false, true}) {
      QImage Bild = Weiss();
      TBildLeinwand Leinwand(Bild);
      size_t i = 0;
      (Wechsel ? Bunt : Einfarbig).push_back(Sekunden([&] {
        for (const QLine& L : Linien) {
          Leinwand.StiftFarbeSetzen(Wechsel ? Stufen[i++ % std::size(Stufen)] : Stufen[0]);
          Leinwand.Linie(L.x1(), L.y1(), L.x2(), L.y2());
        }
        Leinwand.Ausgeben();
      }));
    }
  std::sort(Einfarbig.begin(), Einfarbig.end());
  std::sort(Bunt.begin(), Bunt.end());
  const double e = Einfarbig[Einfarbig.size() / 2], b = Bunt[Bunt.size() / 2];
  const double n = static_cast<double>(std::max<size_t>(Linien.size(), 1));
  std::printf("  Bildleinwand einfarbig     %8.2f ms  %6.1f ns/Linie\n", e * 1e3, e / n * 1e9);
  std::printf("  Bildleinwand Farbe je Linie %7.2f ms  %6.1f ns/Linie  Verhältnis %.2f\n", b * 1e3,
              b / n * 1e9, b / e);
}

void Messen(const TFigur& F, int Runden) {
  TRegelsystem R;
  for (const char* Z : F.Regeln) R.RegelHinzufuegen(Z);
  R.Axiom = F.Axiom;
  R.WinkelPlus = R.WinkelMinus = F.Winkel;
  TLauf Angepasst;  // the defaults: exact, green, fitted
  RegelsystemErfassen(Angepasst, R);
  Angepasst.Tiefe = F.Tiefe;
  Angepasst.StartX = BildBreite / 2;
  Angepasst.StartY = BildHoehe;
  Angepasst.Breite = BildBreite;
  Angepasst.Hoehe = BildHoehe;
  TLauf Fest = Angepasst;
  Fest.Einstellungen.SchrittweiteAnpassen = false;

  // The fitted step and the segments, computed beforehand.
  TSammelLeinwand Sammler;
  TTurtle SammelTurtle(Sammler);
  TBenchFenster Fenster;
  TZeichenmaschine Vorlauf(SammelTurtle, Fenster);
  Vorlauf.Zeichenlauf(Angepasst);
  const double Schritt = Vorlauf.Schrittweite();
  Fest.Schrittweite = Schritt;
  const std::vector<QLine>& Linien = Sammler.Linien;

  std::vector<double> Blank, Stapel, Maschine, Leer, Lauf, Walk, Lagewalk;
  QImage BildBlank, BildMaschine;
  long Laeufe = 0;
  for (int r = 0; r < Runden; ++r) {
    BildBlank = Weiss();
    Blank.push_back(Sekunden([&] {
      QPainter P(&BildBlank);
      P.setPen(QPen(QColor(0, 128, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      for (const QLine& L : Linien) P.drawLine(L);
    }));

    QImage BildStapel = Weiss();
    Stapel.push_back(Sekunden([&] {
      QPainter P(&BildStapel);
      P.setPen(QPen(QColor(0, 128, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      for (size_t i = 0; i < Linien.size(); i += 2048)
        P.drawLines(Linien.data() + i, static_cast<int>(std::min<size_t>(2048, Linien.size() - i)));
    }));

    BildMaschine = Weiss();
    {
      TBildLeinwand Leinwand(BildMaschine);
      TTurtle Turtle(Leinwand);
      TBenchFenster Fenster;
      TZeichenmaschine M(Turtle, Fenster);
      Maschine.push_back(Sekunden([&] { M.Zeichenlauf(Fest); }));
      Laeufe = Fenster.Laeufe;

      QImage Bild2 = Weiss();
      TBildLeinwand Leinwand2(Bild2);
      TTurtle Turtle2(Leinwand2);
      TZeichenmaschine M2(Turtle2, Fenster);
      Lauf.push_back(Sekunden([&] { M2.Zeichenlauf(Angepasst); }));

      TSammelLeinwand Nichts;
      Nichts.Linien.reserve(Linien.size());
      TTurtle Turtle3(Nichts);
      TZeichenmaschine M3(Turtle3, Fenster);
      Leer.push_back(Sekunden([&] { M3.Zeichenlauf(Fest); }));

      double w, h;
      Walk.push_back(Sekunden([&] { M2.SchrittweiteBestimmen(F.Tiefe, w, h); }));
      TUmriss Umriss;
      Lagewalk.push_back(Sekunden([&] { M2.Vermessen(F.Tiefe, w, h, &Umriss, 90); }));
    }
  }
  auto Median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  const double st = Median(Stapel), le = Median(Leer);
  const double b = Median(Blank), m = Median(Maschine), l = Median(Lauf), w = Median(Walk);
  const double wl = Median(Lagewalk);
  const double n = static_cast<double>(Linien.size());
  std::printf("%s: %zu Linien, Schrittweite %.6f, %ld Nachrichtenläufe\n", F.Name, Linien.size(),
              Schritt, Laeufe);
  std::printf("  bloße drawLine-Schleife   %8.2f ms  %6.1f ns/Linie\n", b * 1e3, b / n * 1e9);
  std::printf("  drawLines in Stapeln       %8.2f ms  %6.1f ns/Linie  Verhältnis %.2f\n", st * 1e3,
              st / n * 1e9, st / b);
  std::printf("  Maschine (zeichnenRek)    %8.2f ms  %6.1f ns/Linie  Verhältnis %.2f\n", m * 1e3,
              m / n * 1e9, m / b);
  std::printf("    davon erster Durchgang  %8.2f ms (Linienmuster noch nicht bekannt)\n",
              Maschine.front() * 1e3);
  std::printf("  Maschine ohne Rastern      %8.2f ms  %6.1f ns/Linie\n", le * 1e3, le / n * 1e9);
  std::printf("  ganzer Lauf mit Anpassen  %8.2f ms  %6.1f ns/Linie  Verhältnis %.2f\n", l * 1e3,
              l / n * 1e9, l / b);
  std::printf("  Messlauf                  %8.2f ms  %6.1f Mio. Zeichen/s\n", w * 1e3,
              Laenge(R, F.Axiom, F.Tiefe) / w / 1e6);
  std::printf("  Messlauf mit Zentrieren   %8.2f ms  %6.1f Mio. Zeichen/s\n", wl * 1e3,
              Laenge(R, F.Axiom, F.Tiefe) / wl / 1e6);
  std::printf("  Bilder gleich: %s\n", BildBlank == BildMaschine ? "ja" : "NEIN");
  FarbenMessen(Linien, Runden);
}

// A coloured plant with the random choice against the same system in one
// colour with the first rules: the cost per line of each, drawn on a picture.
void Pflanzenvergleich(int Runden) {
  TRegelsystem R;
  for (const char* Z : {"X->F[+X]F[-X]+X", "X->F[+X][-X]FX", "X->F[-X]FX", "F->FF"})
    R.RegelHinzufuegen(Z);
  R.Axiom = "X";
  R.WinkelPlus = R.WinkelMinus = 25;
  TLauf Einfach;
  RegelsystemErfassen(Einfach, R);
  Einfach.Tiefe = 10;
  Einfach.StartX = BildBreite / 2;
  Einfach.StartY = BildHoehe;
  Einfach.Einstellungen.SchrittweiteAnpassen = false;
  Einfach.Schrittweite = 0.4;
  // On a picture, and without rastering: what the walk itself costs.
  auto ProLinie = [&](const TLauf& L, size_t& Anzahl, double& OhneRastern) {
    TBenchFenster Fenster;
    std::vector<double> Zeiten, Ohne;
    for (int r = 0; r < Runden; ++r) {
      TSammelLeinwand Sammler;
      TTurtle T(Sammler);
      TZeichenmaschine Walk(T, Fenster);
      Ohne.push_back(Sekunden([&] { Walk.Zeichenlauf(L); }));
      Anzahl = Sammler.Linien.size();
      QImage Bild = Weiss();
      TBildLeinwand Leinwand(Bild);
      TTurtle Turtle(Leinwand);
      TZeichenmaschine M(Turtle, Fenster);
      Zeiten.push_back(Sekunden([&] { M.Zeichenlauf(L); }));
    }
    std::sort(Zeiten.begin(), Zeiten.end());
    std::sort(Ohne.begin(), Ohne.end());
    OhneRastern = Ohne[Ohne.size() / 2] / static_cast<double>(Anzahl) * 1e9;
    return Zeiten[Zeiten.size() / 2] / static_cast<double>(Anzahl) * 1e9;
  };
  double Erste = 0, ErsteOhne = 0;
  for (const auto& [Faerbung, Wahl, Name] :
       {std::tuple{TFaerbung::Einfarbig, TRegelwahl::ErsteRegel, "einfarbig, erste Regel"},
        std::tuple{TFaerbung::Einfarbig, TRegelwahl::Zufaellig, "einfarbig, zufällig    "},
        std::tuple{TFaerbung::Alter, TRegelwahl::ErsteRegel, "nach Alter, erste Regel"},
        std::tuple{TFaerbung::Alter, TRegelwahl::Zufaellig, "nach Alter, zufällig   "}}) {
    TLauf L = Einfach;
    L.Einstellungen.Faerbung = Faerbung;
    L.Einstellungen.Regelwahl = Wahl;
    L.Einstellungen.Saat = 7;
    size_t N = 0;
    double o = 0;
    const double t = ProLinie(L, N, o);
    if (Erste == 0) Erste = t, ErsteOhne = o;
    std::printf(
        "Pflanze %s: %6zu Linien  %6.1f ns/Linie (%.2f), ohne Rastern %6.1f ns/Linie (%.2f)\n",
        Name, N, t, t / Erste, o, o / ErsteOhne);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication App(argc, argv);
  const int Runden = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  Messen({"F->FF, Tiefe 20", {"F->FF"}, "F", 0, 20}, Runden);
  Messen({"Pflanze, Tiefe 7", {"X->F+[[X]-X]-F[-X]+X", "F->FF"}, "X", 25, 7}, Runden);
  Pflanzenvergleich(Runden);
  return 0;
}
