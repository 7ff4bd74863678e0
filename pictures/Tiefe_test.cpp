// Drawings that jump over parts equal the walk of every character, pixel for
// pixel, on the surface and through views, laid out alike, the turtle left alike.
#include <gtest/gtest.h>

#include <QImage>

#include "engine/LaufTest.h"
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
  double Winkel, Schritt;  // step 0: fitted
  int32_t Tiefe;
  double Startwinkel = 90;
  bool Zentriert = false;
  double Dicke = 1, Schwund = 1;
  std::optional<TRechteck> Ausschnitt = std::nullopt;
};

// Picture, error, where the turtle ended and whether it jumped, of the run as laid out.
std::string Zeichnen(TLauf L, bool Voll, std::optional<TAnsicht> A = {},
                     int64_t Stuecke = 1 << 16) {
  QImage Bild(400, 300, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  TBildLeinwand Leinwand(Bild);
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(Turtle, Ohne);
  L.Einstellungen.SchrittweiteAnpassen = L.Einstellungen.Zentriert = false;
  std::string Text = Fehlertext(
      [&] { M.Zeichenlauf(L, {.Ansicht = A, .Vollstaendig = Voll, .Stueckgrenze = Stuecke}); });
  Leinwand.Ausgeben();
  char Lage[128];
  std::snprintf(Lage, sizeof Lage, "%a %a %a %a %d", Turtle.X, Turtle.Y, Turtle.Richtung,
                Turtle.Dicke, Voll == (M.Gesprungen() == 0));
  return Text + Lage +
         std::string(reinterpret_cast<const char*>(Bild.constBits()), Bild.sizeInBytes());
}

void PrintTo(const TFall& F, std::ostream* Aus) { *Aus << F.Name; }

class Tiefe : public ::testing::TestWithParam<TFall> {};

TEST_P(Tiefe, JumpsDrawWhatTheFullWalkDraws) {
  const TFall& F = GetParam();
  TLauf L = Regellauf(F.Axiom, F.Regeln, F.Winkel, F.Tiefe);
  L.Breite = 400, L.Hoehe = 300, L.StartX = 200.5, L.StartY = 150;
  L.Startwinkel = F.Startwinkel, L.Schrittweite = F.Schritt;
  L.Einstellungen.Anfangsdicke = F.Dicke, L.Einstellungen.Schwundfaktor = F.Schwund;
  const auto Angelegt = [&](bool Voll) {  // the step fitted, the start centred
    TLauf Z = L;
    QImage Probe(400, 300, QImage::Format_RGB32);
    TBildLeinwand Leinwand(Probe);
    TNachzeichnung Wie;
    Wie.SchrittweiteAnpassen = F.Schritt == 0;
    Wie.Zentrieren = F.Zentriert;
    Wie.Vollstaendig = Voll;
    LaufZeichnen(Z, Leinwand, Wie);
    return Z;
  };
  const TLauf Ohne = Angelegt(true);
  L = Angelegt(false);
  EXPECT_EQ(std::tie(L.Schrittweite, L.StartX, L.StartY),
            std::tie(Ohne.Schrittweite, Ohne.StartX, Ohne.StartY));
  const std::string Ganz = Zeichnen(L, true);
  EXPECT_TRUE(Ganz == Zeichnen(L, false));
  // Parts whose pieces run out are walked after all.
  EXPECT_TRUE(Ganz == Zeichnen(L, false, {}, 5));
  if (!F.Ausschnitt) return;
  const TAnsicht A = AnsichtAus(*F.Ausschnitt, 400);
  TLauf Gross = L;
  Gross.Schrittweite = L.Schrittweite * A.Massstab;
  Gross.StartX = (L.StartX - A.X) * A.Massstab, Gross.StartY = (L.StartY - A.Y) * A.Massstab;
  EXPECT_TRUE(Zeichnen(Gross, true) == Zeichnen(L, false, A));
}

const std::vector<std::string> Drache{"X->X+YF+", "Y->-FX-Y"},
    Farn{"X->F+[[X]-X]-F[-X]+X", "F->FF"}, Hilbert{"X->-YF+XFX+FY-", "Y->+XF-YFY-FX+"},
    Strauch{"F->F[+F]F[-F]F"}, Koch{"F->F+F--F+F"},
    Gosper{"X->X+YF++YF-FX--FXFX-YF+", "Y->-FX+YFYF++YF+FX--FX-Y"},
    Luecken{"F->F+f-FF+F+FF+Ff+FF-f+FF-F-FF-Ff-FFF", "f->ffffff"},
    DracheLuecken{"X->X+YF+", "Y->-fX-Y"}, Cantor{"F->FfF", "f->fff"};
const TRechteck Mitte{150, 100, 100, 75}, Winzig{201, 151, 4, 3};

INSTANTIATE_TEST_SUITE_P(
    Korpus, Tiefe,
    ::testing::Values(TFall{"Drache18", "FX", Drache, 90, 0, 18},
                      TFall{"DracheSchritt013", "FX", Drache, 90, 0.13, 18, 0, false, 1, 1, Mitte},
                      TFall{"DracheSchritt03Mittig", "FX", Drache, 90, 0.3, 17, 33.3, true},
                      TFall{"DracheStift3", "FX", Drache, 90, 3, 14, 90, false, 3, 1, Winzig},
                      TFall{"Hilbert9", "X", Hilbert, 90, 0, 9, 0, true, 1, 1, Mitte},
                      TFall{"Farn8", "X", Farn, 25, 0, 8, 90, false, 1, 1, Winzig},
                      TFall{"FarnSchwund", "X", Farn, 25.7, 3, 6, 90, false, 20, 0.8},
                      TFall{"FarnSchritt013", "X", Farn, 20, 0.13, 8, 90, true, 2, 0.9, Mitte},
                      TFall{"Gosper6", "XF", Gosper, 60, 0, 6, 0, false, 1, 1, Mitte},
                      TFall{"Strauch6", "F", Strauch, 25.7, 0, 6, 90, false, 0, 1, Winzig},
                      TFall{"Koch333", "F+F+F+F", Koch, 33.3, 0, 7, 90, false, 0, 1, Mitte},
                      TFall{"Schritt013", "F+F+F+F", Koch, 33.3, 0.13, 7, 12.5, false, 1, 1, Mitte},
                      TFall{"Luecken3", "F+F+F+F", Luecken, 90, 0.3, 3, 0, true, 1, 1, Winzig},
                      TFall{"Luecken4", "F+F+F+F", Luecken, 90, 0, 4, 0, true},
                      TFall{"DracheLuecken", "FX", DracheLuecken, 90, 0, 17, 90, true, 1, 1, Mitte},
                      TFall{"Cantor", "F", Cantor, 90, 0, 8, 0, true},
                      TFall{"LueckenMittig", "F+F", {"F->Ff", "f->ff"}, 90, 0, 9, 0, true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
