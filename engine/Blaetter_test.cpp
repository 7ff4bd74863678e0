#include <gtest/gtest.h>

#include <string>

#include "engine/LaufTest.h"
#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "helpers/TestHilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/Protokoll_test.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

constexpr TZeichensatz Mit = TZeichensatz::MitBlaettern, Ohne = TZeichensatz::Klassisch;

struct TBlattfall {
  const char* Name;
  std::string Regel, Axiom;
  int32_t Tiefe;
  TZeichensatz Satz;
  std::string Aufrufe;  // on the canvas, "; " between them
  std::string Fehler = "(kein Fehler)";
  bool Schritte = false;  // step by step: the derived string's terminals
  std::string Svg = "";   // the elements, when drawn as SVG
};

// A run from (100, 100) heading right, step 10, both angles 90.
TLauf Blattlauf(const TBlattfall& F) {
  TLauf L = Regellauf(F.Axiom, F.Regel.empty() ? std::vector<std::string>{} : std::vector{F.Regel},
                      90, F.Tiefe);
  L.StartX = L.StartY = 100;
  L.Startwinkel = 0;
  L.Einstellungen.SchrittweiteAnpassen = false;
  L.Einstellungen.Zeichensatz = F.Satz;
  L.Einstellungen.Schrittmodus = F.Schritte;
  return L;
}

class Blaetter : public ::testing::TestWithParam<TBlattfall> {};

// What the canvas is given, and the lines "Aufbau" counts: a leaf as one.
TEST_P(Blaetter, FillTheirCornersAndCountAsALine) {
  const TBlattfall& F = GetParam();
  const TLauf L = Blattlauf(F);
  TProtokollLeinwand Leinwand;
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Beobachter;
  TZeichenmaschine M(Turtle, Beobachter);
  EXPECT_EQ(Fehlertext([&] { M.Zeichenlauf(L); }), F.Fehler);
  std::string Aufrufe;
  for (const std::string& A : Leinwand.Aufrufe) Aufrufe += (Aufrufe.empty() ? "" : "; ") + A;
  EXPECT_EQ(Aufrufe, F.Aufrufe);
  EXPECT_EQ(LinienZaehlen(L.Regeln->Ersetzungen(), F.Tiefe, F.Axiom, F.Satz),
            Leinwand.Aufrufe.size());
  EXPECT_EQ(Turtle.Blaetter(), 0);  // dropped at the run's end
  if (F.Svg.empty()) return;
  TSvgLeinwand Svg(200, 200);
  TTurtle SvgTurtle(Svg);
  TZeichenmaschine(SvgTurtle, Beobachter).Zeichenlauf(L);
  EXPECT_EQ(Svg.Elemente(), F.Svg);
}

INSTANTIATE_TEST_SUITE_P(
    Zeichensatz, Blaetter,
    ::testing::Values(
        TBlattfall{"Blatt", "", "F{F+F+F}", 0, Mit,
                   "Linie (100,100)-(110,100) b1; Blatt (110,100) (120,100) (120,90) (110,90)",
                   "(kein Fehler)", false,
                   R"(<line x1="100" y1="100" x2="110" y2="100" stroke="#008000" stroke-width="1"/>
<polygon fill-rule="nonzero" fill="#008000" points="110,100 120,100 120,90 110,90"/>
)"},
        TBlattfall{"Klassisch", "", "{F|F}", 0, Ohne,
                   "Linie (100,100)-(110,100) b1; Linie (110,100)-(120,100) b1"},
        TBlattfall{"Kehrt_loses_Ende_offen", "", "F}|F{FF", 0, Mit,
                   "Linie (100,100)-(110,100) b1; Linie (110,100)-(100,100) b1"},
        TBlattfall{
            "Klammer_verschachtelt", "", "{F[+F]F{+F}F}", 0, Mit,
            "Blatt (120,100) (120,90); Blatt (100,100) (110,100) (110,90) (120,100) (120,80)"},
        TBlattfall{"Schrittweise", "X->{F+F}X", "X", 2, Mit,
                   "Blatt (100,100) (110,100) (110,90); Blatt (110,90) (110,80) (100,80)",
                   "(kein Fehler)", true},
        TBlattfall{"Hundert_offen", "", std::string(100, '{') + "F", 0, Mit, ""},
        TBlattfall{"Hunderterstes", "", std::string(101, '{') + "}", 0, Mit, "",
                   "Zu viele offene Blätter"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
