#include "drawing/Ausschnitt.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "drawing/Laufprotokoll.h"
#include "drawing/Rezept.h"
#include "drawing/Zeichenmaschine.h"
#include "drawing/Zeichenzahl.h"
#include "rules/Regelsystem.h"
#include "turtle/BildLeinwand.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/SvgTestHilfen.h"
#include "turtle/turtleUnit.h"

namespace {

using Liste = std::vector<std::string>;

struct TSystem {
  std::string Axiom;
  Liste Regeln;
  double Winkel;
};

const TSystem Pflanze{"X", {"X->F+[[X]-X]-F[-X]+X", "F->FF"}, 25};
const TSystem Drache{"FX", {"X->X+YF+", "Y->-FX-Y"}, 90};
const TSystem Hilbert{"A", {"A->-BF+AFA+FB-", "B->+AF-BFB-FA+"}, 90};

// A recipe of the system on a 400 x 300 surface, exact, fitted, green.
TRezept Rezept(const TSystem& S, int32_t Tiefe) {
  TRegelsystem R;
  R.Axiom = S.Axiom;
  for (const std::string& Z : S.Regeln) R.RegelHinzufuegen(Z);
  R.WinkelPlus = R.WinkelMinus = S.Winkel;
  TRezept Ergebnis;
  RegelsystemErfassen(Ergebnis, R);
  Ergebnis.Tiefe = Tiefe;
  Ergebnis.Breite = 400;
  Ergebnis.Hoehe = 300;
  Ergebnis.StartX = 200;
  Ergebnis.StartY = 300;
  return Ergebnis;
}

QImage Weiss(int Breite, int Hoehe) {
  QImage Bild(Breite, Hoehe, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  return Bild;
}

struct TBild {
  QImage Bild;
  std::string Fehler;
};

// The output of the views below: smaller than the surface, of its shape.
constexpr int AusgabeBreite = 320, AusgabeHoehe = 240;

// The recipe drawn as it is (its step and start taken), or through a view,
// on a canvas of the output's size (none: the surface's).
TBild Gezeichnet(TRezept R, const TAnsicht* Ansicht = nullptr, int Breite = 0, int Hoehe = 0) {
  TBild Ergebnis{Weiss(Breite ? Breite : R.Breite, Hoehe ? Hoehe : R.Hoehe), {}};
  TBildLeinwand Leinwand(Ergebnis.Bild);
  try {
    RezeptZeichnen(R, Leinwand, false, false, {}, nullptr, Ansicht);
  } catch (const std::exception& E) {
    Ergebnis.Fehler = E.what();
  }
  Leinwand.Ausgeben();
  return Ergebnis;
}

// The recipe as its run lays it out: the step fitted, the start centred.
TRezept Angelegt(TRezept R, bool Zentriert) {
  TSvgLeinwand Leinwand(R.Breite, R.Hoehe);
  RezeptZeichnen(R, Leinwand, true, Zentriert);
  R.SchrittweiteAnpassen = false;
  R.Zentriert = false;
  return R;
}

// The full walk at the view's scale: step and start scaled, no view.
TRezept Vergroessert(TRezept R, const TAnsicht& A) {
  R.Schrittweite = R.Schrittweite * A.Massstab;
  R.StartX = (R.StartX - A.X) * A.Massstab;
  R.StartY = (R.StartY - A.Y) * A.Massstab;
  return R;
}

int Farbig(const QImage& Bild) {
  int n = 0;
  for (int y = 0; y < Bild.height(); ++y)
    for (int x = 0; x < Bild.width(); ++x) n += Bild.pixel(x, y) != qRgb(255, 255, 255);
  return n;
}

// Pixels in which the pictures differ; Nah is false when one of them has no
// pixel of its colour within one pixel in the other picture.
int Unterschiede(const QImage& A, const QImage& B, bool& Nah) {
  Nah = true;
  int n = 0;
  auto Findet = [](const QImage& Bild, int x, int y, QRgb Farbe) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (Bild.valid(x + dx, y + dy) && Bild.pixel(x + dx, y + dy) == Farbe) return true;
    return false;
  };
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) {
      if (A.pixel(x, y) == B.pixel(x, y)) continue;
      ++n;
      Nah = Nah && Findet(B, x, y, A.pixel(x, y)) && Findet(A, x, y, B.pixel(x, y));
    }
  return n;
}

// ---- the summaries against the derived strings they stand for

struct TTabellenfall {
  const char* Name;
  std::string Kopf;  // the characters whose replacement is summed up
  Liste Regeln;
  double Plus, Minus;  // turns of "+" and "-"
  bool Springbar;
};

void PrintTo(const TTabellenfall& F, std::ostream* Aus) { *Aus << F.Name; }

class Teilbilder : public ::testing::TestWithParam<TTabellenfall> {};

// Walks the string in unit steps as the summary's frame has it.
struct TEinfacheTurtle {
  double X = 0, Y = 0, Phi = 0;
  int64_t Ebene = 0, Tiefste = 0;
  std::vector<std::array<double, 3>> Stapel;
  std::vector<std::array<double, 2>> Punkte;
  void Gehen(const std::string& s, double Plus, double Minus) {
    for (char c : s) {
      const double C = CosGrad(Phi), S = SinGrad(Phi);
      switch (c) {
        case 'F':
          Punkte.push_back({X, Y});
          Punkte.push_back({X + C, Y + S});
          [[fallthrough]];
        case 'f':
          X += C;
          Y += S;
          break;
        case '+':
          Phi = RichtungNormieren(Phi + Plus);
          break;
        case '-':
          Phi = RichtungNormieren(Phi + Minus);
          break;
        case '[':
          Stapel.push_back({X, Y, Phi});
          Tiefste = std::max(Tiefste, ++Ebene);
          break;
        case ']':
          X = Stapel.back()[0];
          Y = Stapel.back()[1];
          Phi = Stapel.back()[2];
          Stapel.pop_back();
          --Ebene;
          break;
        default:
          break;
      }
    }
  }
};

TEST_P(Teilbilder, SumUpWhatTheDerivedStringDoes) {
  const TTabellenfall& F = GetParam();
  TRegelsystem R;
  for (const std::string& Z : F.Regeln) R.RegelHinzufuegen(Z);
  std::array<const std::string*, 256> Rumpf{};
  std::array<std::string, 256> Texte;
  for (int c = 0; c < 256; ++c) {
    Texte[c] = R.Ersetzung(static_cast<char>(c));
    if (Texte[c] != std::string(1, static_cast<char>(c))) Rumpf[c] = &Texte[c];
  }
  constexpr int32_t Tiefe = 6;
  const TTeilbilder T(Rumpf, F.Plus, F.Minus, Tiefe);
  for (const char Kopf : F.Kopf) {
    std::string s = Texte[static_cast<unsigned char>(Kopf)];
    for (int32_t j = 0; j < Tiefe; ++j) {
      SCOPED_TRACE(std::string(1, Kopf) + " mit " + std::to_string(j) + " Stufen");
      const TTeilbild& B = T.Teil(static_cast<unsigned char>(Kopf), j);
      EXPECT_EQ(B.Zeichen, s.size());
      ASSERT_EQ(B.Springbar, F.Springbar);
      if (F.Springbar) {
        TEinfacheTurtle W;
        W.Gehen(s, F.Plus, F.Minus);
        const double Genau = 1e-9 * (1 + static_cast<double>(s.size()));
        EXPECT_NEAR(B.DX, W.X, Genau);
        EXPECT_NEAR(B.DY, W.Y, Genau);
        EXPECT_NEAR(std::remainder(B.Drehung - W.Phi, 360.0), 0.0, 1e-9);
        EXPECT_EQ(B.Verschachtelung, W.Tiefste);
        EXPECT_EQ(B.Linien, !W.Punkte.empty());
        double Weiteste = 0;
        for (const auto& P : W.Punkte)
          Weiteste = std::max(Weiteste, std::hypot(P[0] - B.MX, P[1] - B.MY));
        EXPECT_LE(Weiteste, B.Radius + Genau);
      }
      std::string Weiter;
      for (char c : s) Weiter += Texte[static_cast<unsigned char>(c)];
      s = Weiter;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ausschnitt, Teilbilder,
    ::testing::Values(TTabellenfall{"Pflanze", "XF", Pflanze.Regeln, 25, -25, true},
                      TTabellenfall{"Drache", "XY", Drache.Regeln, 90, -90, true},
                      TTabellenfall{
                          "Schief", "AB", {"A->F+fB[--F]F", "B->FA-f[+A[-F]]"}, 33.5, -71.25, true},
                      TTabellenfall{"Nur Wege", "A", {"A->f+fA-"}, 60, -60, true},
                      TTabellenfall{"Ohne Zeichen", "A", {"A->", "B->A"}, 30, -30, true},
                      TTabellenfall{"Drehung ueber 360", "A", {"A->++A+F"}, 170, -10, true}),
    [](const auto& Info) {
      std::string Name = Info.param.Name;
      std::replace(Name.begin(), Name.end(), ' ', '_');
      return Name;
    });

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

// ---- pictures through a view against the full walk at the view's scale

struct TBildfall {
  const char* Name;
  TSystem System;
  int32_t Tiefe;
  TRechteck Ausschnitt;  // on the 400 x 300 surface
  bool Zentriert = false;
  bool Zufall = false;
  double Dicke = 1;
  double Schwundfaktor = 1;
  bool Leer = false;  // the view shows nothing
};

void PrintTo(const TBildfall& F, std::ostream* Aus) { *Aus << F.Name; }

class Ausschnitte : public ::testing::TestWithParam<TBildfall> {};

TEST_P(Ausschnitte, ShowWhatTheFullWalkAtTheirScaleShows) {
  const TBildfall& F = GetParam();
  TRezept R = Rezept(F.System, F.Tiefe);
  R.Zufallsmodus = F.Zufall;
  R.Saat = 4711;
  R.Anfangsdicke = F.Dicke;
  R.Schwundfaktor = F.Schwundfaktor;
  const TRezept Lage = Angelegt(R, F.Zentriert);
  const TAnsicht A = AnsichtAus(F.Ausschnitt, AusgabeBreite);

  // Laid out on the surface as without the view, whatever the output's size.
  TRezept MitAnsicht = R;
  QImage Bild = Weiss(AusgabeBreite, AusgabeHoehe);
  {
    TBildLeinwand Leinwand(Bild);
    RezeptZeichnen(MitAnsicht, Leinwand, true, F.Zentriert, {}, nullptr, &A);
  }
  EXPECT_EQ(MitAnsicht.Schrittweite, Lage.Schrittweite);
  EXPECT_EQ(MitAnsicht.StartX, Lage.StartX);
  EXPECT_EQ(MitAnsicht.StartY, Lage.StartY);

  // Lines that miss the output are left out.
  TSvgLeinwand Svg(AusgabeBreite, AusgabeHoehe);
  TRezept FuerSvg = Lage;
  RezeptZeichnen(FuerSvg, Svg, false, false, {}, nullptr, &A);
  for (const auto& L : SvgLinien(Svg.Elemente()))
    ASSERT_TRUE(Zeigt(L, AusgabeBreite, AusgabeHoehe))
        << L[0] << "," << L[1] << " " << L[2] << "," << L[3];

  const QImage Voll = Gezeichnet(Vergroessert(Lage, A), nullptr, AusgabeBreite, AusgabeHoehe).Bild;
  EXPECT_EQ(Farbig(Voll) == 0, F.Leer);
  bool Nah = false;
  const int n = Unterschiede(Bild, Voll, Nah);
  if (F.Zufall) {
    EXPECT_EQ(n, 0);
  } else {
    // Where a jump's summed move rounds otherwise than the steps one by one.
    EXPECT_LE(n, Farbig(Voll) / 200 + 2);
    EXPECT_TRUE(Nah);
  }
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
        TBildfall{"Pflanze_dicker", Pflanze, 6, {190, 150, 50, 37.5}, false, false, 2, 1.2},
        TBildfall{"Pflanze_dick_klein", Pflanze, 6, {200, 0, 1600, 1200}, false, false, 30, 0.9},
        TBildfall{"Pflanze_dicker_klein", Pflanze, 6, {200, 0, 1600, 1200}, false, false, 2, 1.5},
        TBildfall{"Drache_8", Drache, 12, {120, 80, 50, 37.5}, true},
        TBildfall{"Drache_64", Drache, 12, {190, 150, 6.25, 4.6875}, true},
        TBildfall{"Hilbert_Ecke", Hilbert, 6, {80, 50, 40, 30}, true},
        TBildfall{"Zufall_Mitte", Pflanze, 6, {150, 150, 100, 75}, false, true},
        TBildfall{"Zufall_dick", Pflanze, 6, {180, 170, 50, 37.5}, false, true, 4, 0.8}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// The whole surface at scale 1 is the surface itself, pixel for pixel.
TEST(Ausschnitt, WholeSurfaceAtScaleOneIsTheSurface) {
  for (const TSystem* S : {&Pflanze, &Drache}) {
    TRezept R = Rezept(*S, 7);
    R.Zentriert = S == &Drache;
    R.Anfangsdicke = 3;
    const TRezept Lage = Angelegt(R, R.Zentriert);
    const TAnsicht Ganz = AnsichtAus({0, 0, 400, 300}, 400);
    EXPECT_EQ(Ganz.Massstab, 1.0);
    const QImage Flaeche = Gezeichnet(Lage).Bild;
    EXPECT_GT(Farbig(Flaeche), 1000);
    EXPECT_TRUE(Gezeichnet(Lage, &Ganz).Bild == Flaeche);
  }
}

// ---- the engine's counts, its stack error and the end of replayed runs

struct TLauf {
  QImage Bild;
  std::string Fehler;
  uint64_t Ausgefuehrt = 0;
  uint64_t Gesprungen = 0;
  double X = 0, Y = 0;
};

TLauf Laufen(const TRezept& R, const TAnsicht* A, uint64_t Grenze = UINT64_MAX) {
  TRegelsystem Regeln;
  RegelsystemAusRezept(R, Regeln);
  TLauf L;
  L.Bild = Weiss(R.Breite, R.Hoehe);
  TBildLeinwand Leinwand(L.Bild);
  TTurtle Turtle(Leinwand);
  TOhneFenster Fenster(R.Breite, R.Hoehe);
  TZeichenmaschine M(Turtle, Fenster, R);
  M.Regelsystem = &Regeln;
  M.WinkelPlus = Regeln.WinkelPlus;
  M.WinkelMinus = -Regeln.WinkelMinus;
  M.Schrittweite = R.Schrittweite;
  M.Ansicht = A;
  M.Zeichengrenze = Grenze;
  try {
    M.Zeichenlauf(R, R.Tiefe, R.StartX, R.StartY, R.Startwinkel);
  } catch (const std::exception& E) {
    L.Fehler = E.what();
  }
  Leinwand.Ausgeben();
  L.Ausgefuehrt = M.Ausgefuehrt;
  L.Gesprungen = M.Gesprungen;
  L.X = Turtle.X;
  L.Y = Turtle.Y;
  return L;
}

// Nearly all of a deep curve lies outside a small view and is jumped over;
// the characters count as acted all the same.
TEST(Ausschnitt, JumpsOverWhatLiesOutside) {
  const TRezept Lage = Angelegt(Rezept(Drache, 16), true);
  const TAnsicht A = AnsichtAus({200, 150, 10, 7.5}, 400);
  const TLauf Durch = Laufen(Lage, &A);
  const TLauf Voll = Laufen(Vergroessert(Lage, A), nullptr);
  TRegelsystem R;
  RegelsystemAusRezept(Lage, R);
  const uint64_t Alle = ZeichenZaehlen(R, 16, R.Axiom).Zeichen;
  EXPECT_EQ(Durch.Ausgefuehrt, Alle);
  EXPECT_EQ(Voll.Ausgefuehrt, Alle);
  EXPECT_GT(Durch.Gesprungen, Alle / 100 * 99);
  EXPECT_NEAR(Durch.X, Voll.X, 1e-6 * std::fabs(Voll.X) + 1e-6);
  EXPECT_NEAR(Durch.Y, Voll.Y, 1e-6 * std::fabs(Voll.Y) + 1e-6);
  EXPECT_GT(Farbig(Voll.Bild), 500);
  bool Nah = false;
  EXPECT_LE(Unterschiede(Durch.Bild, Voll.Bild, Nah), 5);
  EXPECT_TRUE(Nah);
}

// A stack that overflows in a part far outside the view: the part is walked,
// and the run ends with the full walk's error at the same character.
TEST(Ausschnitt, StackOverflowOutsideTheViewComesAsInTheFullWalk) {
  TSystem Turm{"F-fffffffffffffffA", {"A->F[[[[+A]]]]"}, 30};
  TRezept R = Rezept(Turm, 26);
  R.SchrittweiteAnpassen = false;
  R.Schrittweite = 10;
  R.StartY = 150;
  const TAnsicht A = AnsichtAus({190, 135, 20, 15}, 400);
  const TLauf Durch = Laufen(R, &A);
  const TLauf Voll = Laufen(Vergroessert(R, A), nullptr);
  EXPECT_EQ(Voll.Fehler, "Zu viele gemerkte Turtle-Positionen");
  EXPECT_EQ(Durch.Fehler, Voll.Fehler);
  EXPECT_EQ(Durch.Ausgefuehrt, Voll.Ausgefuehrt);
  EXPECT_GT(Farbig(Voll.Bild), 100);
  EXPECT_TRUE(Durch.Bild == Voll.Bild);
}

// A run replayed as far as it came: it ends at the same character, also
// where that lies inside a part outside the view, and shows what it drew.
TEST(Ausschnitt, ReplayedRunEndsWhereItEnded) {
  const TRezept Lage = Angelegt(Rezept(Drache, 14), true);
  const TAnsicht A = AnsichtAus({150, 120, 40, 30}, 400);
  TRegelsystem R;
  RegelsystemAusRezept(Lage, R);
  const uint64_t Alle = ZeichenZaehlen(R, 14, R.Axiom).Zeichen;
  int Gezeigt = 0;
  for (uint64_t Grenze = Alle / 9 + 1; Grenze < Alle; Grenze += Alle / 9) {
    SCOPED_TRACE(Grenze);
    const TLauf Durch = Laufen(Lage, &A, Grenze);
    const TLauf Voll = Laufen(Vergroessert(Lage, A), nullptr, Grenze);
    EXPECT_EQ(Voll.Ausgefuehrt, Grenze);
    EXPECT_EQ(Durch.Ausgefuehrt, Grenze);
    EXPECT_NEAR(Durch.X, Voll.X, 1e-6 * std::fabs(Voll.X) + 1e-6);
    EXPECT_NEAR(Durch.Y, Voll.Y, 1e-6 * std::fabs(Voll.Y) + 1e-6);

    // Through the run log, as the magnifier replays it.
    TProtokolllauf Lauf;
    Lauf.Rezept = Lage;
    Lauf.Zeichen = Grenze;
    QImage Bild = Weiss(400, 300);
    {
      TBildLeinwand Leinwand(Bild);
      EXPECT_TRUE(Wiedergeben({Lauf}, Leinwand, {}, &A));
    }
    Gezeigt += Farbig(Voll.Bild) > 200;
    bool Nah = false;
    EXPECT_LE(Unterschiede(Bild, Voll.Bild, Nah), 5);
    EXPECT_TRUE(Nah);
  }
  EXPECT_GE(Gezeigt, 3);
}

// A stopped step-by-step run counted the characters of its derived string,
// without the letters that only expand: through a view it ends there too.
TEST(Ausschnitt, StepByStepRunReplayedThroughAView) {
  TRezept Lage = Angelegt(Rezept(Pflanze, 5), false);
  Lage.Schrittmodus = true;
  const TAnsicht A = AnsichtAus({150, 150, 100, 75}, 400);
  TRegelsystem R;
  RegelsystemAusRezept(Lage, R);
  const std::string Kette = R.TerminalAbleitung(5);
  TProtokolllauf Lauf;
  Lauf.Rezept = Lage;
  Lauf.Zeichen = Kette.size() / 2;
  TProtokolllauf Gross = Lauf;
  Gross.Rezept = Vergroessert(Lage, A);
  QImage Durch = Weiss(400, 300), Voll = Weiss(400, 300);
  {
    TBildLeinwand L1(Durch), L2(Voll);
    EXPECT_TRUE(Wiedergeben({Lauf}, L1, {}, &A));
    EXPECT_TRUE(Wiedergeben({Gross}, L2));
  }
  EXPECT_GT(Farbig(Voll), 300);
  EXPECT_TRUE(Durch == Voll);
}

// A part outside whose nests thicken the pen still shows where its pen
// reaches in; beneath a negative thickness, whose pen is that of the last
// line drawn, nothing is jumped over.
TEST(Ausschnitt, PensReachInFromPartsOutside) {
  struct TFall {
    const char* Regel;
    double StartX, Dicke, Schwundfaktor;
    int Stift;  // of the canvas before the run
    int Pixel;  // at least this many show
  };
  const TFall Faelle[] = {
      // Right of the surface: thin lines there hide, the thickened ones reach in.
      {"A->F[[[[[[F]]]]]]", 420, 1, 2, 1, 2000},
      // A line far below sets the pen of the lines that follow: width 0, not 10.
      {"A->ffffffffffffffffffff[F]", 300, -8, 0.05, 10, 100},
  };
  for (const TFall& F : Faelle) {
    SCOPED_TRACE(F.Regel);
    TRezept R = Rezept({"F[-A]F[-A]F", {F.Regel}, 90}, 1);
    R.SchrittweiteAnpassen = false;
    R.Schrittweite = 10;
    R.StartX = F.StartX;
    R.StartY = 150;
    R.Startwinkel = 0;
    R.Anfangsdicke = F.Dicke;
    R.Schwundfaktor = F.Schwundfaktor;
    auto Bild = [&](const TAnsicht* A) {
      QImage B = Weiss(400, 300);
      TBildLeinwand Leinwand(B);
      Leinwand.StiftBreiteSetzen(F.Stift);
      TRezept Kopie = R;
      RezeptZeichnen(Kopie, Leinwand, false, false, {}, nullptr, A);
      Leinwand.Ausgeben();
      return B;
    };
    const TAnsicht Ganz = AnsichtAus({0, 0, 400, 300}, 400);
    const QImage Flaeche = Bild(nullptr);
    EXPECT_GT(Farbig(Flaeche), F.Pixel);
    EXPECT_TRUE(Bild(&Ganz) == Flaeche);
  }
}

// Far beyond the output, lines are cut before they are rounded: at scale
// 1,000,000 a long line still shows exactly where it runs.
TEST(Ausschnitt, LinesFarOutsideAreCutBeforeRounding) {
  TSystem Strich{"F", {}, 90};
  TRezept R = Rezept(Strich, 0);
  R.SchrittweiteAnpassen = false;
  R.Schrittweite = 5000;  // at the scale, its end lies beyond the range of an int
  R.StartX = 0;
  R.StartY = 100;
  R.Startwinkel = 30;  // rises by 0.57735 per pixel to the right
  const double X = 200, Y = 100 - 200 * std::tan(30 * M_PI / 180);
  const TAnsicht A = AnsichtAus({X, Y - 0.00015, 0.0004, 0.0003}, 400);
  EXPECT_EQ(A.Massstab, 1e6);
  const TBild Bild = Gezeichnet(R, &A);
  EXPECT_EQ(Bild.Fehler, "");
  // Through the middle at 30 degrees: in column x, row 150 - (x - 0) * tan 30.
  for (int x : {0, 100, 200, 399}) {
    const int y = static_cast<int>(std::lround(150 - x * std::tan(30 * M_PI / 180)));
    if (y < 0 || y >= 300) continue;
    bool Gefunden = false;
    for (int dy = -1; dy <= 1; ++dy)
      Gefunden = Gefunden || Bild.Bild.pixel(x, y + dy) != qRgb(255, 255, 255);
    EXPECT_TRUE(Gefunden) << x;
  }
  EXPECT_LT(Farbig(Bild.Bild), 3 * 400);
}

}  // namespace
