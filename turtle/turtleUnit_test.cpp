#include "turtle/turtleUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "helpers/TestHilfen.h"
#include "turtle/Protokoll_test.h"

namespace {

using Liste = std::vector<std::string>;

TEST(Turtle, StartsInTheMiddleHeadingUp) {
  TProtokollLeinwand L(1000, 680), U(999, 681);
  TTurtle T(L), V(U);
  EXPECT_EQ(T.X, 500.0);
  EXPECT_EQ(T.Y, 340.0);
  EXPECT_EQ(T.Richtung, 90.0);
  EXPECT_EQ(V.X, 499.0);
  EXPECT_EQ(V.Y, 340.0);
  EXPECT_EQ(T.Dicke, 1.0);
  EXPECT_FALSE(T.Sichtbar);
  EXPECT_TRUE(L.Aufrufe.empty());
}

TEST(Turtle, RoundsHalvesToEven) {
  const std::vector<std::pair<double, int64_t>> Faelle = {{2.5, 2},
                                                          {3.5, 4},
                                                          {-2.5, -2},
                                                          {-3.5, -4},
                                                          {0.5, 0},
                                                          {1.5, 2},
                                                          {2.4999, 2},
                                                          {-0.4, 0},
                                                          {7.5000001, 8},
                                                          {4503599627370497.0, 4503599627370497},
                                                          {-1e18, -1000000000000000000}};
  for (auto [x, Erwartet] : Faelle) EXPECT_EQ(Runden(x), Erwartet) << x;
  for (double x : {9223372036854775808.0, -9223372036854775808.0, 1e300})
    EXPECT_EQ(Fehlertext([&] { Runden(x); }), "Ungültige Gleitkommaoperation") << x;
}

TEST(Turtle, FractionalStepsKeepTheirFractions) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.XSetzen(0);
  T.YSetzen(100);
  T.RichtungSetzen(0);
  for (int i = 0; i < 10; ++i) T.Vorwaerts(0.4);
  EXPECT_NEAR(T.X, 4.0, 1e-12);
  Liste Erwartet;
  const int Enden[][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 2},
                          {2, 2}, {2, 3}, {3, 3}, {3, 4}, {4, 4}};
  for (auto& E : Enden)
    Erwartet.push_back(TProtokollLeinwand::Punkt(E[0], 100) + "-" +
                       TProtokollLeinwand::Punkt(E[1], 100));
  EXPECT_EQ(L.Linien, Erwartet);
}

TEST(Turtle, StepsFollowTheHeading) {
  const std::vector<std::pair<double, std::string>> Faelle = {{90, "(500,340)-(500,240)"},
                                                              {0, "(500,340)-(600,340)"},
                                                              {180, "(500,340)-(400,340)"},
                                                              {270, "(500,340)-(500,440)"},
                                                              {400, "(500,340)-(577,276)"}};
  for (auto& [Richtung, Linie] : Faelle) {
    TProtokollLeinwand L;
    TTurtle T(L);
    T.RichtungSetzen(Richtung);
    T.Vorwaerts(100);
    EXPECT_EQ(L.Linien, Liste{Linie}) << Richtung;
    EXPECT_EQ(T.Richtung, Richtung);
  }
  TProtokollLeinwand L;
  TTurtle T(L);
  T.Vorwaerts(-10);  // backwards
  EXPECT_EQ(L.Linien, Liste{"(500,340)-(500,350)"});
}

TEST(Turtle, TurnsIntoZeroTo360) {
  struct Fall {
    double Von, Um, Ergebnis;
  };
  const Fall Faelle[] = {{350, 30, 20},    {10, -30, 340}, {90, 720, 90},
                         {0, -360, 0},     {0, 360, 0},    {359.5, 0.5, 0},
                         {0, -0.1, 359.9}, {0, -1e-20, 0}, {90, -1e6, 170}};
  for (const Fall& F : Faelle) {
    TProtokollLeinwand L;
    TTurtle T(L);
    T.RichtungSetzen(F.Von);
    T.Drehen(F.Um);
    EXPECT_EQ(T.Richtung, F.Ergebnis) << F.Von << " + " << F.Um;
    EXPECT_FALSE(std::signbit(T.Richtung)) << F.Von << " + " << F.Um;
  }
  // The same value as turning 360 at a time, for ordinary angles.
  for (double Von : {0.0, 17.3, 359.99})
    for (double Um = -2000.0; Um <= 2000.0; Um += 13.37) {
      double a = Von + Um;
      while (a >= 360) a -= 360;
      while (a < 0) a += 360;
      TProtokollLeinwand L;
      TTurtle T(L);
      T.RichtungSetzen(Von);
      T.Drehen(Um);
      ASSERT_EQ(T.Richtung, a) << Von << " + " << Um;
    }
  // Huge angles end at once; 360 no longer changes them.
  for (double Um : {1e300, -1e300, 1e17, -4.5e15}) {
    TProtokollLeinwand L;
    TTurtle T(L);
    T.Drehen(Um);
    EXPECT_GE(T.Richtung, 0.0) << Um;
    EXPECT_LT(T.Richtung, 360.0) << Um;
  }
  TProtokollLeinwand L;
  TTurtle T(L);
  T.RichtungSetzen(1.7e308);
  EXPECT_EQ(Fehlertext([&] { T.Drehen(1.7e308); }), "Gleitkommaüberlauf");
}

TEST(Turtle, PenWidthIsTheRoundedThickness) {
  TProtokollLeinwand L;
  TTurtle T(L);
  const std::vector<std::pair<double, std::string>> Faelle = {
      {2.5, " b2"}, {3.5, " b4"}, {0.4, " b0"}, {-0.6, " b0"}, {6.4, " b6"}};
  for (auto& [Dicke, Breite] : Faelle) {
    T.DickeSetzen(Dicke);
    T.Vorwaerts(1);
    ASSERT_FALSE(L.Aufrufe.empty());
    EXPECT_EQ(L.Aufrufe.back().substr(L.Aufrufe.back().rfind(' ')), Breite) << Dicke;
  }
  T.FarbeSetzen(0x0000FF);
  T.Vorwaerts(1);
  EXPECT_EQ(L.Farbe, 0x0000FFu);
}

TEST(Turtle, LiftedPenMovesWithoutDrawing) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.StiftHeben();
  T.Vorwaerts(50);
  EXPECT_TRUE(L.Linien.empty());
  EXPECT_EQ(T.Y, 290.0);
  T.StiftSenken();
  T.Vorwaerts(10);
  EXPECT_EQ(L.Linien, Liste{"(500,290)-(500,280)"});
}

TEST(Turtle, FloatingPointFaultsAreErrors) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.RichtungSetzen(0);
  T.XSetzen(1.5e308);
  EXPECT_EQ(Fehlertext([&] { T.Vorwaerts(1.5e308); }), "Gleitkommaüberlauf");
  T.XSetzen(0);
  EXPECT_EQ(Fehlertext([&] { T.Vorwaerts(1e19); }), "Ungültige Gleitkommaoperation");
  EXPECT_EQ(Fehlertext([&] { T.Vorwaerts(std::numeric_limits<double>::infinity()); }),
            "Gleitkommaüberlauf");
  T.XSetzen(0);
  T.DickeSetzen(1e19);
  EXPECT_EQ(Fehlertext([&] { T.Vorwaerts(1); }), "Ungültige Gleitkommaoperation");
}

TEST(Turtle, FarLinesAreClippedKeepingTheirDirection) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.RichtungSetzen(0);
  T.Vorwaerts(5e9);  // beyond int, below 2^63
  EXPECT_EQ(L.Linien, Liste{"(500,340)-(1073741824,340)"});
  T.RichtungSetzen(45);
  T.XSetzen(0);
  T.YSetzen(0);
  T.Vorwaerts(1e10);
  EXPECT_EQ(L.Linien.back(), "(0,0)-(1073741824,-1073741824)");
}

TEST(TurtleStapel, HoldsOneHundredStates) {
  TProtokollLeinwand L;
  TTurtle T(L);
  for (int i = 0; i < 100; ++i) T.PositionMerken();
  EXPECT_EQ(T.Gemerkt, 100);
  EXPECT_EQ(Fehlertext<ETurtleStapel>([&] { T.PositionMerken(); }),
            "Zu viele gemerkte Turtle-Positionen");
  EXPECT_EQ(T.Gemerkt, 100);
  T.StapelLeeren();
  EXPECT_EQ(T.Gemerkt, 0);
  T.PositionMerken();
  EXPECT_EQ(T.Gemerkt, 1);
}

TEST(TurtleStapel, RestoresLastInFirstOutWithoutLines) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.XSetzen(10.4);
  T.YSetzen(20.6);
  T.RichtungSetzen(45);
  T.PositionMerken();  // A
  T.Vorwaerts(30);
  T.Drehen(100);
  T.PositionMerken();  // B
  const double BX = T.X, BY = T.Y;
  T.Vorwaerts(30);
  T.DickeSetzen(7);
  const size_t Linien = L.Linien.size();
  T.PositionZurueck();
  EXPECT_EQ(T.X, BX);
  EXPECT_EQ(T.Y, BY);
  EXPECT_EQ(T.Richtung, 145.0);
  T.PositionZurueck();
  EXPECT_EQ(T.X, 10.4);
  EXPECT_EQ(T.Y, 20.6);
  EXPECT_EQ(T.Richtung, 45.0);
  EXPECT_EQ(T.Dicke, 7.0);  // not part of the saved state
  EXPECT_EQ(L.Linien.size(), Linien);
  EXPECT_EQ(T.Gemerkt, 0);
}

TEST(TurtleStapel, RestoreWithNothingSavedFails) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.XSetzen(3);
  EXPECT_EQ(Fehlertext<ETurtleStapel>([&] { T.PositionZurueck(); }),
            "Stapelfehler: Um mehr Positionen zurück als vorher gemerkt");
  EXPECT_EQ(T.X, 3.0);
  EXPECT_EQ(T.Gemerkt, 0);
}

TEST(TurtleSymbol, FivePointsInInvertingMode) {
  struct Fall {
    double Richtung;
    std::string Punkte;
  };
  const Fall Faelle[] = {{90, "Polylinie (500,340) (504,340) (500,325) (496,340) (500,340) nx"},
                         {0, "Polylinie (500,340) (500,344) (515,340) (500,336) (500,340) nx"}};
  for (const Fall& F : Faelle) {
    TProtokollLeinwand L;
    TTurtle T(L);
    T.SymbolGroesseSetzen(15);
    T.RichtungSetzen(F.Richtung);
    T.SymbolZeichnen();
    EXPECT_EQ(L.Aufrufe, Liste{F.Punkte}) << F.Richtung;
    EXPECT_EQ(L.Modus, TRastermodus::Kopieren);  // restored
    EXPECT_EQ(L.Farbe, 0u);
  }
}

TEST(TurtleSymbol, FollowsTheTurtleAndIsRemovedExactly) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.FarbeSetzen(0x008000);
  T.Zeigen(true);
  T.Zeigen(true);
  EXPECT_EQ(L.Aufrufe.size(), 1u);
  T.FarbeSetzen(0x0000FF);  // removed and drawn again at the same place
  ASSERT_EQ(L.Aufrufe.size(), 3u);
  EXPECT_EQ(L.Aufrufe[1], L.Aufrufe[0]);
  EXPECT_EQ(L.Aufrufe[2], L.Aufrufe[0]);
  L.Aufrufe.clear();
  T.Vorwaerts(10);  // off, line, on
  ASSERT_EQ(L.Aufrufe.size(), 3u);
  EXPECT_EQ(L.Aufrufe[0].substr(0, 9), "Polylinie");
  EXPECT_EQ(L.Aufrufe[1], "Linie (500,340)-(500,330) b1");
  EXPECT_EQ(L.Aufrufe[2], "Polylinie (500,330) (502,330) (500,320) (498,330) (500,330) nx");
  EXPECT_EQ(L.Farbe, 0x0000FFu);
  L.Aufrufe.clear();
  T.PositionMerken();
  T.StiftHeben();
  EXPECT_TRUE(L.Aufrufe.empty());
  T.PositionZurueck();  // three setters, each off and on
  EXPECT_EQ(L.Aufrufe.size(), 6u);
  L.Aufrufe.clear();
  T.Zeigen(false);
  T.Zeigen(false);
  EXPECT_EQ(L.Aufrufe.size(), 1u);
  EXPECT_FALSE(T.Sichtbar);
}

TEST(Turtle, HomeSetsPositionAndHeading) {
  TProtokollLeinwand L;
  TTurtle T(L);
  T.XSetzen(1);
  T.YSetzen(2);
  T.RichtungSetzen(3);
  T.Grundstellung();
  EXPECT_EQ(T.X, 500.0);
  EXPECT_EQ(T.Y, 340.0);
  EXPECT_EQ(T.Richtung, 90.0);
  EXPECT_EQ(CosGrad(60), std::cos(60 * 0.017453292519943295));
  EXPECT_EQ(SinGrad(30), std::sin(30 * 0.017453292519943295));
}

}  // namespace
