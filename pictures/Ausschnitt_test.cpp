#include "engine/Ausschnitt.h"

#include <gtest/gtest.h>

#include <QImage>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "engine/LaufTest.h"
#include "engine/Laufprotokoll.h"
#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "helpers/TestHilfen.h"
#include "pictures/BildLeinwand.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/SvgTestHilfen.h"
#include "turtle/turtleUnit.h"

namespace {

struct TSystem {
  std::string Axiom;
  std::vector<std::string> Regeln;
  double Winkel;
  TZeichensatz Satz = TZeichensatz::Klassisch;
};

const TSystem Pflanze{"X", {"X->F+[[X]-X]-F[-X]+X", "F->FF"}, 25};
const TSystem Drache{"FX", {"X->X+YF+", "Y->-FX-Y"}, 90};
const TSystem Hilbert{"A", {"A->-BF+AFA+FB-", "B->+AF-BFB-FA+"}, 90};
const TSystem Blattwerk{"X", {"X->F[+X]F[-X{F+F+F}]|F-X", "F->FF"}, 25, TZeichensatz::MitBlaettern};

// A recipe of the system on a 400 x 300 surface, exact, fitted, from the bottom centre.
TLauf Rezept(const TSystem& S, int32_t Tiefe) {
  TLauf Ergebnis = Regellauf(S.Axiom, S.Regeln, S.Winkel, Tiefe);
  Ergebnis.Einstellungen.Zeichensatz = S.Satz;
  Ergebnis.Breite = 400;
  Ergebnis.Hoehe = 300;
  Ergebnis.StartX = 200;
  Ergebnis.StartY = 300;
  return Ergebnis;
}

// How a run is drawn again: fitted and centred anew, through a view.
TNachzeichnung Wie(bool Anpassen, bool Zentrieren, std::optional<TAnsicht> Ansicht = {}) {
  TNachzeichnung W;
  W.SchrittweiteAnpassen = Anpassen;
  W.Zentrieren = Zentrieren;
  W.Ansicht = Ansicht;
  return W;
}

// The recipe as its run lays it out: the step fitted, the start maybe centred.
TLauf Angelegt(TLauf R, bool Zentriert) {
  TSvgLeinwand Leinwand(R.Breite, R.Hoehe);
  LaufZeichnen(R, Leinwand, Wie(true, Zentriert));
  R.Einstellungen.SchrittweiteAnpassen = false;
  R.Einstellungen.Zentriert = false;
  return R;
}

// The full walk at the view's scale: step and start scaled, no view.
TLauf Vergroessert(TLauf R, const TAnsicht& A) {
  R.Schrittweite = R.Schrittweite * A.Massstab;
  R.StartX = (R.StartX - A.X) * A.Massstab;
  R.StartY = (R.StartY - A.Y) * A.Massstab;
  return R;
}

QImage Weiss(int Breite, int Hoehe) {
  QImage Bild(Breite, Hoehe, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  return Bild;
}

struct TErgebnis {
  QImage Bild;
  std::string Fehler;
  uint64_t Ausgefuehrt = 0;
  uint64_t Gesprungen = 0;
  double X = 0, Y = 0, Dicke = 0;
};

// A run of the recipe as laid out (no fitting, no centring) on the engine
// itself, on a canvas of the surface's size unless Ausgabe is given.
TErgebnis Laufen(const TLauf& R, const TAnsicht* A, uint64_t Grenze = UINT64_MAX, int Stift = 1,
                 QSize Ausgabe = {}) {
  TErgebnis L;
  L.Bild = Ausgabe.isEmpty() ? Weiss(R.Breite, R.Hoehe) : Weiss(Ausgabe.width(), Ausgabe.height());
  TBildLeinwand Leinwand(L.Bild);
  Leinwand.StiftBreiteSetzen(Stift);
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Ohne;
  TLauf Z = R;
  Z.Einstellungen.SchrittweiteAnpassen = Z.Einstellungen.Zentriert = false;
  TZeichenmaschine M(Turtle, Ohne);
  TLaufart Art;
  if (A) Art.Ansicht = *A;
  Art.Zeichengrenze = Grenze;
  L.Fehler = Fehlertext([&] { M.Zeichenlauf(Z, Art); });
  Leinwand.Ausgeben();
  L.Ausgefuehrt = M.Ausgefuehrt();
  L.Gesprungen = M.Gesprungen();
  L.X = Turtle.X;
  L.Y = Turtle.Y;
  L.Dicke = Turtle.Dicke;
  return L;
}

int Farbig(const QImage& Bild) {
  int n = 0;
  for (int y = 0; y < Bild.height(); ++y)
    for (int x = 0; x < Bild.width(); ++x) n += Bild.pixel(x, y) != qRgb(255, 255, 255);
  return n;
}

// At most Hoechstens pixels differ, each with its colour within one pixel
// in the other picture: where a jump's summed move rounds otherwise.
void ErwarteNah(const QImage& A, const QImage& B, int Hoechstens) {
  auto Findet = [](const QImage& Bild, int x, int y, QRgb Farbe) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (Bild.valid(x + dx, y + dy) && Bild.pixel(x + dx, y + dy) == Farbe) return true;
    return false;
  };
  int n = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) {
      if (A.pixel(x, y) == B.pixel(x, y)) continue;
      ++n;
      EXPECT_TRUE(Findet(B, x, y, A.pixel(x, y)) && Findet(A, x, y, B.pixel(x, y)))
          << x << "," << y;
    }
  EXPECT_LE(n, Hoechstens);
}

// A replacement that closes what it did not open, or leaves open what it
// opened, gives no jump, nor do those it stands in.
TEST(Ausschnitt, UnbalancedReplacementsAreNotJumpedOver) {
  const std::string A = "F]+[", B = "AA", C = "F[+F]", D = "F[+F";
  std::array<const std::string*, 256> Rumpf{};
  Rumpf['A'] = &A;
  Rumpf['B'] = &B;
  Rumpf['C'] = &C;
  Rumpf['D'] = &D;
  const TTeilbilder T(Rumpf, 90, -90, 3);
  for (int32_t j = 0; j < 3; ++j) {
    EXPECT_FALSE(T.Teil('A', j).Springbar);
    EXPECT_EQ(T.Teil('B', j).Springbar, j == 0);  // with no level left, A is a mere letter
    EXPECT_TRUE(T.Teil('C', j).Springbar);
    EXPECT_FALSE(T.Teil('D', j).Springbar);
    EXPECT_EQ(T.Teil('B', j).Zeichen, j == 0 ? 2u : 8u);
  }
}

struct TBildfall {
  const char* Name;
  TSystem System;
  int32_t Tiefe;
  TRechteck Ausschnitt;  // of the 400 x 300 surface
  bool Zentriert = false;
  bool Zufall = false;
  double Dicke = 1;
  double Schwundfaktor = 1;
  bool Leer = false;  // the view shows nothing
};

void PrintTo(const TBildfall& F, std::ostream* Aus) { *Aus << F.Name; }

class Ausschnitte : public ::testing::TestWithParam<TBildfall> {};

// Through a view, a run is laid out on the surface as without it, shows what
// the full walk at the view's scale shows (a random one exactly, with the same
// numbers drawn), and hands the canvas no line that misses the output.
TEST_P(Ausschnitte, ShowWhatTheFullWalkAtTheirScaleShows) {
  const TBildfall& F = GetParam();
  const QSize Ausgabe(320, 240);  // smaller than the surface, of its shape
  TLauf R = Rezept(F.System, F.Tiefe);
  R.Einstellungen.Zufallsmodus = F.Zufall;
  R.Einstellungen.Saat = 4711;
  R.Einstellungen.Anfangsdicke = F.Dicke;
  R.Einstellungen.Schwundfaktor = F.Schwundfaktor;
  const TLauf Lage = Angelegt(R, F.Zentriert);
  const TAnsicht A = AnsichtAus(F.Ausschnitt, Ausgabe.width());

  QImage Bild = Weiss(Ausgabe.width(), Ausgabe.height());
  {
    TBildLeinwand Leinwand(Bild);
    LaufZeichnen(R, Leinwand, Wie(true, F.Zentriert, A));
  }
  EXPECT_EQ(R.Schrittweite, Lage.Schrittweite);
  EXPECT_EQ(R.StartX, Lage.StartX);
  EXPECT_EQ(R.StartY, Lage.StartY);

  const QImage Voll = Laufen(Vergroessert(Lage, A), nullptr, UINT64_MAX, 1, Ausgabe).Bild;
  EXPECT_EQ(Farbig(Voll) == 0, F.Leer);
  if (F.Zufall)
    EXPECT_TRUE(Bild == Voll);
  else
    ErwarteNah(Bild, Voll, Farbig(Voll) / 200 + 2);

  TSvgLeinwand Svg(Ausgabe.width(), Ausgabe.height());
  LaufZeichnen(R, Svg, Wie(false, false, A));
  for (const auto& L : SvgLinien(Svg.Elemente()))
    ASSERT_TRUE(Zeigt(L, Ausgabe.width(), Ausgabe.height())) << L;
}

INSTANTIATE_TEST_SUITE_P(
    Ausschnitt, Ausschnitte,
    ::testing::Values(
        TBildfall{"Pflanze_Mitte", Pflanze, 6, {150, 150, 100, 75}},
        TBildfall{"Pflanze_Spitzen", Pflanze, 7, {230, 120, 25, 18.75}},
        TBildfall{"Pflanze_halb_draussen", Pflanze, 7, {160, 250, 100, 75}},
        TBildfall{"Pflanze_draussen", Pflanze, 7, {-500, 400, 40, 30}, false, false, 1, 1, true},
        TBildfall{"Pflanze_verkleinert", Pflanze, 6, {-400, -300, 1600, 1200}},
        TBildfall{"Pflanze_dick", Pflanze, 6, {120, 140, 100, 75}, false, false, 12, 0.7},
        TBildfall{"Pflanze_dicker_klein", Pflanze, 6, {200, 0, 1600, 1200}, false, false, 2, 1.5},
        TBildfall{"Drache_8", Drache, 12, {120, 80, 50, 37.5}, true},
        TBildfall{"Drache_64", Drache, 12, {190, 150, 6.25, 4.6875}, true},
        TBildfall{"Hilbert_Ecke", Hilbert, 6, {80, 50, 40, 30}, true},
        TBildfall{"Zufall_Mitte", Pflanze, 6, {150, 150, 100, 75}, false, true},
        TBildfall{"Zufall_dick", Pflanze, 6, {180, 170, 50, 37.5}, false, true, 4, 0.8},
        TBildfall{"Blaetter", Blattwerk, 5, {150, 150, 100, 75}, true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// A part jumped over leaves the pen as the full walk leaves it, "[" by "]"
// (x.5 thicknesses round to even), and fails where it fails; random lines far
// longer than the view reach the canvas with the full walk's end points. Each
// picture is the full walk's at the view's scale, pixel for pixel.
TEST(Ausschnitt, ThicknessLongLinesAndErrorsAsInTheFullWalk) {
  const struct {
    const char* Name;
    TSystem System;
    TRechteck Ausschnitt;
    double Dicke, Schwundfaktor, Schritt, Abweichung;
    bool Zufall;
  } Faelle[] = {
      {"Dicke 1.5",
       {"BFFFF", {"B->[+fffffffffF]"}, 90},
       {150, 150, 100, 75},
       1.5,
       0.7,
       10,
       0,
       false},
      {"Dicke 2.5 tief",
       {"BFBF", {"B->[+ffffB]F"}, 90},
       {150, 150, 100, 75},
       2.5,
       0.65,
       10,
       0,
       false},
      {"Dicke 3.5 Baum", Pflanze, {180, 200, 40, 30}, 3.5, 0.65, 6, 0, false},
      {"Schwund scheitert",
       {"BF", {"B->[[fff]]"}, 90},
       {150, 150, 100, 75},
       1,
       -1e200,
       10,
       0,
       false},
      {"lange Linien", {"F", {"F->F-F++F-F"}, 33.3}, {0, 0, 400, 300}, 1, 1, 200, 9, true},
      {"lange Linien vergrößert",
       {"F", {"F->F-F++F-F"}, 33.3},
       {180, 120, 16, 12},
       1,
       1,
       200,
       9,
       true},
  };
  for (const auto& F : Faelle) {
    SCOPED_TRACE(F.Name);
    TLauf R = Rezept(F.System, 2);
    R.Einstellungen.SchrittweiteAnpassen = false;
    R.Schrittweite = F.Schritt;
    R.StartY = 250;
    R.Einstellungen.Anfangsdicke = F.Dicke;
    R.Einstellungen.Schwundfaktor = F.Schwundfaktor;
    R.Einstellungen.Zufallsmodus = F.Zufall;
    R.Einstellungen.AbweichungSchritt = F.Abweichung;
    const TAnsicht A = AnsichtAus(F.Ausschnitt, 400);
    const TErgebnis Durch = Laufen(R, &A);
    const TErgebnis Voll = Laufen(Vergroessert(R, A), nullptr);
    EXPECT_EQ(Durch.Fehler, Voll.Fehler);
    EXPECT_EQ(std::bit_cast<uint64_t>(Durch.Dicke), std::bit_cast<uint64_t>(Voll.Dicke));
    EXPECT_EQ(Farbig(Durch.Bild), Farbig(Voll.Bild));
    EXPECT_TRUE(Durch.Bild == Voll.Bild);
  }
}

// The whole surface at scale 1 is the surface itself, pixel for pixel.
TEST(Ausschnitt, WholeSurfaceAtScaleOneIsTheSurface) {
  const TAnsicht Ganz = AnsichtAus({0, 0, 400, 300}, 400);
  EXPECT_EQ(Ganz.Massstab, 1.0);
  for (const TSystem* S : {&Pflanze, &Drache}) {
    TLauf R = Angelegt(Rezept(*S, 7), S == &Drache);
    R.Einstellungen.Anfangsdicke = 3;
    const QImage Flaeche = Laufen(R, nullptr).Bild;
    EXPECT_GT(Farbig(Flaeche), 1000);
    EXPECT_TRUE(Laufen(R, &Ganz).Bild == Flaeche);
  }
}

// A small view of a deep curve jumps over nearly all of it, yet counts its
// characters as acted; a replayed run ends at the same character as the full
// walk, also where that lies in a part jumped over, and shows what it drew,
// also when the magnifier replays it from the run log.
TEST(Ausschnitt, RunsEndWhereTheFullWalkEnds) {
  const TLauf Lage = Angelegt(Rezept(Drache, 14), true);
  const TAnsicht A = AnsichtAus({150, 120, 40, 30}, 400);
  const uint64_t Alle =
      ZeichenZaehlen(Lage.Regeln->Ersetzungen(), 14, Lage.Regeln->Axiom()).Zeichen;
  int Gezeigt = 0;
  for (uint64_t Grenze = Alle / 9 + 1; Grenze <= Alle; Grenze += Alle / 9) {
    SCOPED_TRACE(Grenze);
    const TErgebnis Durch = Laufen(Lage, &A, Grenze);
    const TErgebnis Voll = Laufen(Vergroessert(Lage, A), nullptr, Grenze);
    EXPECT_EQ(Voll.Ausgefuehrt, Grenze);
    EXPECT_EQ(Durch.Ausgefuehrt, Grenze);
    // Parts that cross a power of two are walked: exact jumps stay in one binade.
    EXPECT_GT(Durch.Gesprungen, Grenze / 2);
    EXPECT_NEAR(Durch.X, Voll.X, 1e-6 * std::fabs(Voll.X) + 1e-6);
    EXPECT_NEAR(Durch.Y, Voll.Y, 1e-6 * std::fabs(Voll.Y) + 1e-6);
    TProtokolllauf Lauf;
    Lauf.Lauf = Lage;
    Lauf.Zeichen = Grenze;
    QImage Bild = Weiss(400, 300);
    {
      TBildLeinwand Leinwand(Bild);
      EXPECT_TRUE(Wiedergeben({Lauf}, Leinwand, {}, A));
    }
    Gezeigt += Farbig(Voll.Bild) > 200;
    ErwarteNah(Bild, Voll.Bild, 5);
  }
  EXPECT_GE(Gezeigt, 3);
}

// A stopped step-by-step run counted the characters of its derived string,
// not the letters that only expand: through a view it ends there too.
TEST(Ausschnitt, StepByStepRunReplayedThroughAView) {
  TLauf Lage = Angelegt(Rezept(Pflanze, 5), false);
  Lage.Einstellungen.Schrittmodus = true;
  const TAnsicht A = AnsichtAus({150, 150, 100, 75}, 400);
  TProtokolllauf Lauf;
  Lauf.Lauf = Lage;
  Lauf.Zeichen = Lage.Regeln->Regelsystem().TerminalAbleitung(5).size() / 2;
  TProtokolllauf Gross = Lauf;
  Gross.Lauf = Vergroessert(Lage, A);
  QImage Durch = Weiss(400, 300), Voll = Weiss(400, 300);
  {
    TBildLeinwand L1(Durch), L2(Voll);
    EXPECT_TRUE(Wiedergeben({Lauf}, L1, {}, A));
    EXPECT_TRUE(Wiedergeben({Gross}, L2));
  }
  EXPECT_GT(Farbig(Voll), 300);
  EXPECT_TRUE(Durch == Voll);
}

// A stack that overflows in a part far outside the view: the part is walked,
// and the run ends with the full walk's error at the same character.
TEST(Ausschnitt, StackOverflowOutsideTheViewComesAsInTheFullWalk) {
  TLauf R = Rezept({"F-fffffffffffffffA", {"A->F[[[[+A]]]]"}, 30}, 26);
  R.Schrittweite = 10;
  R.StartY = 150;
  const TAnsicht A = AnsichtAus({190, 135, 20, 15}, 400);
  const TErgebnis Durch = Laufen(R, &A);
  const TErgebnis Voll = Laufen(Vergroessert(R, A), nullptr);
  EXPECT_EQ(Voll.Fehler, "Zu viele gemerkte Turtle-Positionen");
  EXPECT_EQ(Durch.Fehler, Voll.Fehler);
  EXPECT_EQ(Durch.Ausgefuehrt, Voll.Ausgefuehrt);
  EXPECT_GT(Farbig(Voll.Bild), 100);
  EXPECT_TRUE(Durch.Bild == Voll.Bild);
}

// Parts outside whose nests thicken the pen still show where the pen reaches
// in; beneath a negative thickness, whose pen is that of the last line drawn,
// nothing is jumped over. The whole surface at scale 1 shows it.
TEST(Ausschnitt, PensReachInFromPartsOutside) {
  struct TFall {
    const char* Regel;
    double StartX, Dicke, Schwundfaktor;
    int Stift;  // of the canvas before the run
  };
  const TFall Faelle[] = {
      // Right of the surface: thin lines there hide, the thickened ones reach in.
      {"A->F[[[[[[F]]]]]]", 420, 1, 2, 1},
      // A line far below sets the pen of the lines that follow: width 0, not 10.
      {"A->ffffffffffffffffffff[F]", 300, -8, 0.05, 10},
  };
  const TAnsicht Ganz = AnsichtAus({0, 0, 400, 300}, 400);
  for (const TFall& F : Faelle) {
    SCOPED_TRACE(F.Regel);
    TLauf R = Rezept({"F[-A]F[-A]F", {F.Regel}, 90}, 1);
    R.Schrittweite = 10;
    R.StartX = F.StartX;
    R.StartY = 150;
    R.Startwinkel = 0;
    R.Einstellungen.Anfangsdicke = F.Dicke;
    R.Einstellungen.Schwundfaktor = F.Schwundfaktor;
    const QImage Flaeche = Laufen(R, nullptr, UINT64_MAX, F.Stift).Bild;
    EXPECT_GT(Farbig(Flaeche), 100);
    EXPECT_TRUE(Laufen(R, &Ganz, UINT64_MAX, F.Stift).Bild == Flaeche);
  }
}

// Far beyond the output, lines are cut before they are rounded: at scale
// 1,000,000 a line whose end lies beyond the range of an int still shows
// exactly where it runs.
TEST(Ausschnitt, LinesFarOutsideAreCutBeforeRounding) {
  TLauf R = Rezept({"F", {}, 90}, 0);
  R.Schrittweite = 5000;
  R.StartX = 0;
  R.StartY = 100;
  R.Startwinkel = 30;
  const double Steigung = std::tan(30 * M_PI / 180);
  const TAnsicht A = AnsichtAus({200, 100 - 200 * Steigung - 0.00015, 0.0004, 0.0003}, 400);
  EXPECT_EQ(A.Massstab, 1e6);
  const TErgebnis L = Laufen(R, &A);
  EXPECT_EQ(L.Fehler, "(kein Fehler)");
  // Through (0, 150) of the output, rising to the right at 30 degrees.
  for (int x : {0, 100, 200}) {
    const int y = static_cast<int>(std::lround(150 - x * Steigung));
    EXPECT_TRUE(L.Bild.pixel(x, y - 1) != qRgb(255, 255, 255) ||
                L.Bild.pixel(x, y) != qRgb(255, 255, 255) ||
                L.Bild.pixel(x, y + 1) != qRgb(255, 255, 255))
        << x;
  }
  EXPECT_LT(Farbig(L.Bild), 3 * 400);
}

}  // namespace
