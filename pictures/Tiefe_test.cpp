// Drawings that jump over parts equal the walk of every character, pixel for
// pixel, on the surface and through views, and leave the turtle alike.
#include <gtest/gtest.h>

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "helpers/TestHilfen.h"
#include "pictures/BildLeinwand.h"
#include "rules/Regelsystem.h"
#include "turtle/turtleUnit.h"

namespace {

struct TFall {
  const char* Name;
  std::string Axiom;
  std::vector<std::string> Regeln;
  double Winkel;
  int32_t Tiefe;
  double Schritt;  // 0: fitted
  double Startwinkel = 90;
  bool Zentriert = false;
  double Dicke = 1;
  double Schwund = 1;
  std::optional<TRechteck> Ausschnitt = std::nullopt;
};

void PrintTo(const TFall& F, std::ostream* Aus) { *Aus << F.Name; }

struct TBild {
  QImage Bild;
  std::string Fehler;
  double X, Y, Richtung, Dicke;
  uint64_t Gesprungen;
};

// The run on a 400 x 300 picture, laid out as given (no fitting, no centring).
TBild Zeichnen(TLauf L, bool Vollstaendig, std::optional<TAnsicht> Ansicht = {}) {
  TBild B{QImage(400, 300, QImage::Format_RGB32), "", 0, 0, 0, 0, 0};
  B.Bild.fill(Qt::white);
  TBildLeinwand Leinwand(B.Bild);
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(Turtle, Ohne);
  TLaufart Art;
  Art.Vollstaendig = Vollstaendig;
  Art.Ansicht = Ansicht;
  L.Einstellungen.SchrittweiteAnpassen = L.Einstellungen.Zentriert = false;
  B.Fehler = Fehlertext([&] { M.Zeichenlauf(L, Art); });
  Leinwand.Ausgeben();
  B = {B.Bild, B.Fehler, Turtle.X, Turtle.Y, Turtle.Richtung, Turtle.Dicke, M.Gesprungen()};
  return B;
}

void ErwarteGleich(const TBild& A, const TBild& B) {
  EXPECT_EQ(A.Fehler, B.Fehler);
  EXPECT_EQ(A.X, B.X);
  EXPECT_EQ(A.Y, B.Y);
  EXPECT_EQ(A.Richtung, B.Richtung);
  EXPECT_EQ(A.Dicke, B.Dicke);
  int Anders = 0;
  for (int y = 0; y < A.Bild.height(); ++y)
    for (int x = 0; x < A.Bild.width(); ++x) Anders += A.Bild.pixel(x, y) != B.Bild.pixel(x, y);
  EXPECT_EQ(Anders, 0);
}

class Tiefe : public ::testing::TestWithParam<TFall> {};

TEST_P(Tiefe, JumpsDrawWhatTheFullWalkDraws) {
  const TFall& F = GetParam();
  TRegelsystem R;
  R.Axiom = F.Axiom;
  for (const std::string& Z : F.Regeln) R.RegelHinzufuegen(Z);
  R.WinkelPlus = R.WinkelMinus = F.Winkel;
  TLauf L;
  RegelsystemErfassen(L, R);
  L.Tiefe = F.Tiefe;
  L.Breite = 400;
  L.Hoehe = 300;
  L.StartX = 200.5;
  L.StartY = 150;
  L.Startwinkel = F.Startwinkel;
  L.Schrittweite = F.Schritt;
  L.Einstellungen.Anfangsdicke = F.Dicke;
  L.Einstellungen.Schwundfaktor = F.Schwund;
  // Laid out as its run lays it out, the step fitted, the start centred:
  // with jumps as without.
  const auto Angelegt = [&](bool Vollstaendig) {
    TLauf Z = L;
    QImage Probe(400, 300, QImage::Format_RGB32);
    TBildLeinwand Leinwand(Probe);
    TNachzeichnung Wie;
    Wie.SchrittweiteAnpassen = F.Schritt == 0;
    Wie.Zentrieren = F.Zentriert;
    Wie.Vollstaendig = Vollstaendig;
    LaufZeichnen(Z, Leinwand, Wie);
    return Z;
  };
  const TLauf Ohne = Angelegt(true);
  L = Angelegt(false);
  EXPECT_EQ(L.Schrittweite, Ohne.Schrittweite);
  EXPECT_EQ(L.StartX, Ohne.StartX);
  EXPECT_EQ(L.StartY, Ohne.StartY);
  const TBild Voll = Zeichnen(L, true);
  const TBild Mit = Zeichnen(L, false);
  ErwarteGleich(Voll, Mit);
  EXPECT_EQ(Voll.Gesprungen, 0u);
  EXPECT_GT(Mit.Gesprungen, 0u);
  if (!F.Ausschnitt) return;
  const TAnsicht A = AnsichtAus(*F.Ausschnitt, 400);
  TLauf Gross = L;
  Gross.Schrittweite = L.Schrittweite * A.Massstab;
  Gross.StartX = (L.StartX - A.X) * A.Massstab;
  Gross.StartY = (L.StartY - A.Y) * A.Massstab;
  ErwarteGleich(Zeichnen(Gross, true), Zeichnen(L, false, A));
}

const std::vector<std::string> Drache{"X->X+YF+", "Y->-FX-Y"};
const std::vector<std::string> Farn{"X->F+[[X]-X]-F[-X]+X", "F->FF"};
const std::vector<std::string> Hilbert{"X->-YF+XFX+FY-", "Y->+XF-YFY-FX+"};
const std::vector<std::string> Gosper{"X->X+YF++YF-FX--FXFX-YF+", "Y->-FX+YFYF++YF+FX--FX-Y"};
const std::vector<std::string> Strauch{"F->F[+F]F[-F]F"};
const std::vector<std::string> Koch{"F->F+F--F+F"};
const std::vector<std::string> Kraut{"X->F[+X]F[-X]+X", "F->FF"};
const std::vector<std::string> Busch{"F->FF-[-F+F+F]+[+F-F-F]"};
const std::vector<std::string> Luecken{"F->F+f-FF+F+FF+Ff+FF-f+FF-F-FF-Ff-FFF", "f->ffffff"};
const TRechteck Mitte{150, 100, 100, 75};
const TRechteck Winzig{201, 151, 4, 3};

INSTANTIATE_TEST_SUITE_P(
    Korpus, Tiefe,
    ::testing::Values(
        TFall{"Drache18", "FX", Drache, 90, 18, 0},
        TFall{"DracheStufe013", "FX", Drache, 90, 18, 0.13, 0, false, 1, 1, Mitte},
        TFall{"DracheStufe03Mittig", "FX", Drache, 90, 17, 0.3, 33.3, true},
        TFall{"DracheStift3", "FX", Drache, 90, 14, 3, 90, false, 3, 1, Winzig},
        TFall{"Hilbert9", "X", Hilbert, 90, 9, 0, 0, true, 1, 1, Mitte},
        TFall{"Farn8", "X", Farn, 25, 8, 0, 90, false, 1, 1, Winzig},
        TFall{"FarnSchwund", "X", Farn, 25.7, 6, 3, 90, false, 20, 0.8},
        TFall{"Kraut8", "X", Kraut, 20, 8, 0.13, 90, true, 2, 0.9, Mitte},
        TFall{"Gosper6", "XF", Gosper, 60, 6, 0, 0, false, 1, 1, Mitte},
        TFall{"Strauch6", "F", Strauch, 25.7, 6, 0, 90, false, 0, 1, Winzig},
        TFall{"Busch5", "F", Busch, 22.5, 5, 3, 90, false, 5, 1.1},
        TFall{"Schneeflocke7", "F--F--F", Koch, 60, 7, 0, 90, true, 1, 1, Mitte},
        TFall{"Koch333Angepasst", "F+F+F+F", Koch, 33.3, 7, 0, 90, false, 0, 1, Mitte},
        TFall{"Schritte333", "F+F+F+F", Koch, 33.3, 7, 0.13, 12.5, false, 1, 1, Mitte},
        TFall{"Luecken3", "F+F+F+F", Luecken, 90, 3, 0.3, 0, true, 1, 1, Winzig}),
    [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
