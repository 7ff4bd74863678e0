#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "helpers/TestHilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/Protokoll_test.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

using Liste = std::vector<std::string>;
constexpr TZeichensatz Mit = TZeichensatz::MitBlaettern, Ohne = TZeichensatz::Klassisch;

struct TBlattfall {
  const char* Name;
  Liste Regeln;
  std::string Axiom;
  int32_t Tiefe;
  TZeichensatz Satz;
  Liste Aufrufe;  // on the canvas
  std::string Fehler = "(kein Fehler)";
  bool Schritte = false;  // step by step, the derived string with its terminals
};

void PrintTo(const TBlattfall& F, std::ostream* Aus) { *Aus << F.Name; }

// A run from (100, 100) heading right, step 10, both angles 90.
TLauf Blattlauf(const TBlattfall& F) {
  TRegelsystem R;
  R.Axiom = F.Axiom;
  for (const std::string& Z : F.Regeln) R.RegelHinzufuegen(Z);
  TLauf L;
  L.Regeln = TRegelstand::Aus(R);
  L.Tiefe = F.Tiefe;
  L.StartX = L.StartY = 100;
  L.Startwinkel = 0;
  L.WinkelPlus = L.WinkelMinus = 90;
  L.Einstellungen.SchrittweiteAnpassen = false;
  L.Einstellungen.Zeichensatz = F.Satz;
  L.Einstellungen.Schrittmodus = F.Schritte;
  return L;
}

class Blaetter : public ::testing::TestWithParam<TBlattfall> {};

// What the canvas is given, and the count of lines that "Aufbau" expects: a
// leaf counts as one.
TEST_P(Blaetter, FillTheirCornersAndCountAsALine) {
  const TBlattfall& F = GetParam();
  const TLauf L = Blattlauf(F);
  TProtokollLeinwand Leinwand;
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Beobachter;
  TZeichenmaschine M(Turtle, Beobachter);
  EXPECT_EQ(Fehlertext([&] { M.Zeichenlauf(L); }), F.Fehler);
  EXPECT_EQ(Leinwand.Aufrufe, F.Aufrufe);
  EXPECT_EQ(LinienZaehlen(L.Regeln->Ersetzungen(), F.Tiefe, F.Axiom, F.Satz), F.Aufrufe.size());
  EXPECT_EQ(Turtle.Blaetter(), 0);  // dropped at the run's end
}

const char* const Gruen = " 008000";

INSTANTIATE_TEST_SUITE_P(
    Zeichensatz, Blaetter,
    ::testing::Values(
        TBlattfall{"Blatt",
                   {},
                   "{F+F+F}",
                   0,
                   Mit,
                   {std::string("Blatt (100,100) (110,100) (110,90) (100,90)") + Gruen}},
        TBlattfall{"Klassisch",
                   {},
                   "{F+F|F}",
                   0,
                   Ohne,
                   {"Linie (100,100)-(110,100) b1", "Linie (110,100)-(110,90) b1",
                    "Linie (110,90)-(110,80) b1"}},
        TBlattfall{"Kehrt_und_loses_Ende",
                   {},
                   "F}|F",
                   0,
                   Mit,
                   {"Linie (100,100)-(110,100) b1", "Linie (110,100)-(100,100) b1"}},
        TBlattfall{"Klammer_ohne_Ecke",
                   {},
                   "{F[+F]F}",
                   0,
                   Mit,
                   {std::string("Blatt (100,100) (110,100) (110,90) (120,100)") + Gruen}},
        TBlattfall{"Verschachtelt",
                   {},
                   "{F{+F}F}",
                   0,
                   Mit,
                   {std::string("Blatt (110,100) (110,90)") + Gruen,
                    std::string("Blatt (100,100) (110,100) (110,80)") + Gruen}},
        TBlattfall{"Offen_verworfen", {}, "F{FF", 0, Mit, {"Linie (100,100)-(110,100) b1"}},
        TBlattfall{"Aus_Regeln",
                   {"X->{F+F}X"},
                   "X",
                   2,
                   Mit,
                   {std::string("Blatt (100,100) (110,100) (110,90)") + Gruen,
                    std::string("Blatt (110,90) (110,80) (100,80)") + Gruen}},
        TBlattfall{"Schrittweise",
                   {"A->{F+F}"},
                   "A",
                   1,
                   Mit,
                   {std::string("Blatt (100,100) (110,100) (110,90)") + Gruen},
                   "(kein Fehler)",
                   true},
        TBlattfall{"Hundert_offen", {}, std::string(100, '{') + "F", 0, Mit, {}},
        TBlattfall{"Hunderterstes",
                   {},
                   std::string(101, '{') + "}",
                   0,
                   Mit,
                   {},
                   "Zu viele offene Blätter"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Blaetter, InSvgAsPolygons) {
  TSvgLeinwand Svg(200, 200);
  TTurtle Turtle(Svg);
  TLaufbeobachter Beobachter;
  TZeichenmaschine M(Turtle, Beobachter);
  M.Zeichenlauf(Blattlauf({"", {}, "{F+F+F}", 0, Mit, {}}));
  EXPECT_EQ(Svg.Elemente(),
            "<polygon fill-rule=\"nonzero\" fill=\"#008000\" "
            "points=\"100,100 110,100 110,90 100,90\"/>\n");
}

}  // namespace
