#include "engine/Zeichenzahl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "engine/Zeichenmaschine.h"
#include "rules/Regelsystem.h"
#include "turtle/Protokoll_test.h"
#include "turtle/turtleUnit.h"

namespace {

constexpr uint64_t Voll = std::numeric_limits<uint64_t>::max();

void RegelnSetzen(TRegelsystem& R, const std::vector<std::string>& Zeilen) {
  while (R.Count() > 0) R.Delete(0);
  for (const auto& Z : Zeilen) R.RegelHinzufuegen(Z);
}

TEST(Zeichenzahl, SaturatingArithmetic) {
  struct Fall {
    uint64_t a, b, Summe, Produkt;
  };
  const Fall Faelle[] = {
      {0, 0, 0, 0},
      {3, 4, 7, 12},
      {Voll, 0, Voll, 0},
      {0, Voll, Voll, 0},
      {Voll - 1, 1, Voll, Voll - 1},
      {Voll - 1, 2, Voll, Voll},
      {1ull << 32, 1ull << 32, (1ull << 33), Voll},
      {(1ull << 32) - 1, (1ull << 32) + 1, (1ull << 33), Voll},
      {Voll, Voll, Voll, Voll},
  };
  for (const Fall& F : Faelle) {
    EXPECT_EQ(SattSumme(F.a, F.b), F.Summe) << F.a << " + " << F.b;
    EXPECT_EQ(SattProdukt(F.a, F.b), F.Produkt) << F.a << " * " << F.b;
  }
}

// The count must be the length of the full derived string and its number of "F".
TEST(Zeichenzahl, MatchesTheDerivedString) {
  struct Fall {
    std::vector<std::string> Regeln;
    std::string Axiom;
    int Tiefen;
  };
  const Fall Faelle[] = {
      {{"F->FB", "B->F", "A->FF+[FA]--[FA]"}, "A", 7},
      {{"F->F+F"}, "F", 8},
      {{"A->A", "F->FA"}, "FAF", 6},          // a rule giving itself is no rule
      {{"X->", "F->FXF"}, "FXF", 6},          // empty replacement
      {{"F->FF", "F->F+F"}, "F", 8},          // the first rule of a head counts
      {{"F -> F f F", "f -> ff"}, "F F", 6},  // blanks; "f" draws no line
      {{"A->B", "B->FF"}, "AAB", 6},          // stops changing after two steps
      {{"A->FB", "B->A[+A]"}, "B", 10},
      {{"\xE4->F\xE4+F", "F->f"}, "\xE4\xE4", 6},
      {{"F->F"}, "", 3},
      {{"A->", "B->"}, "AB", 3},
  };
  for (const Fall& F : Faelle) {
    TRegelsystem R;
    RegelnSetzen(R, F.Regeln);
    R.Axiom = F.Axiom;
    for (int Tiefe = 0; Tiefe <= F.Tiefen; ++Tiefe) {
      const std::string s = R.Ableitung(Tiefe);
      const TZeichenzahl Z = ZeichenZaehlen(R, Tiefe, F.Axiom);
      EXPECT_EQ(Z.Zeichen, s.size()) << F.Axiom << " " << F.Regeln[0] << " " << Tiefe;
      EXPECT_EQ(Z.Linien, static_cast<uint64_t>(std::count(s.begin(), s.end(), 'F')))
          << F.Axiom << " " << F.Regeln[0] << " " << Tiefe;
    }
  }
}

TEST(Zeichenzahl, KnownCounts) {
  TRegelsystem R;
  RegelnSetzen(R, {"F->FF"});
  EXPECT_EQ(ZeichenZaehlen(R, 20, "F").Linien, 1048576u);
  EXPECT_EQ(ZeichenZaehlen(R, 20, "F+F").Zeichen, 2097153u);
  EXPECT_EQ(ZeichenZaehlen(R, -1, "F+F").Zeichen, 3u);  // no expansion
  EXPECT_EQ(ZeichenZaehlen(R, 30, "F").Linien, 1073741824u);
  RegelnSetzen(R, {"A->FA"});  // grows by one at every level, up to the last
  EXPECT_EQ(ZeichenZaehlen(R, 30, "A").Zeichen, 31u);
  EXPECT_EQ(ZeichenZaehlen(R, 30, "A").Linien, 30u);
  RegelnSetzen(R, {"F->F+F-F-F+F"});  // Koch: 5 lines, 9 characters per F
  EXPECT_EQ(ZeichenZaehlen(R, 3, "F").Linien, 125u);
  EXPECT_EQ(ZeichenZaehlen(R, 3, "F").Zeichen, 249u);
}

TEST(Zeichenzahl, SaturatesInsteadOfOverflowing) {
  TRegelsystem R;
  RegelnSetzen(R, {"F->FFFFFFFFFF"});
  TZeichenzahl Z = ZeichenZaehlen(R, 19, "F");
  EXPECT_EQ(Z.Linien, 10000000000000000000u);
  EXPECT_EQ(Z.Zeichen, 10000000000000000000u);
  EXPECT_EQ(ZeichenZaehlen(R, 19, "FF").Zeichen, Voll);  // the sum overflows
  EXPECT_EQ(ZeichenZaehlen(R, 19, "F+").Zeichen, 10000000000000000001u);
  for (int Tiefe : {20, 30}) {
    Z = ZeichenZaehlen(R, Tiefe, "F+F");
    EXPECT_EQ(Z.Zeichen, Voll) << Tiefe;
    EXPECT_EQ(Z.Linien, Voll) << Tiefe;
  }
  // Lines saturate with the characters, but a text without "F" draws none.
  RegelnSetzen(R, {"A->AAAAAAAAAA"});
  Z = ZeichenZaehlen(R, 30, "A");
  EXPECT_EQ(Z.Zeichen, Voll);
  EXPECT_EQ(Z.Linien, 0u);
}

// What the engine really draws at once, counted on the canvas.
TEST(Zeichenzahl, MatchesTheLinesDrawnAtOnce) {
  TZaehlLeinwand Leinwand;
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(Turtle, Ohne);
  TRegelsystem R;
  TLauf L;
  L.WinkelPlus = L.WinkelMinus = 25;
  L.Schrittweite = 2;
  TLaufart Art;
  Art.Regelsystem = &R;
  M.Einrichten(L, Art);
  Turtle.DickeSetzen(1);
  const std::vector<std::vector<std::string>> Systeme = {
      {"X->F+[[X]-X]-F[-X]+X", "F->FF"},
      {"F->F[+F]f[-F]F"},
      {"F->FB", "B->F", "A->FF+[FA]--[FA]"},
  };
  for (const auto& Regeln : Systeme) {
    RegelnSetzen(R, Regeln);
    for (const std::string Axiom : {"X", "F", "A"}) {
      for (int Tiefe = 0; Tiefe <= 5; ++Tiefe) {
        Leinwand.Anzahl = 0;
        Turtle.XSetzen(500);
        Turtle.YSetzen(340);
        M.zeichnenRek(Axiom, Tiefe);
        EXPECT_EQ(ZeichenZaehlen(R, Tiefe, Axiom).Linien, Leinwand.Anzahl)
            << Regeln[0] << " " << Axiom << " " << Tiefe;
      }
    }
  }
}

}  // namespace
