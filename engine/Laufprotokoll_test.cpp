#include "engine/Laufprotokoll.h"

#include <gtest/gtest.h>

#include "engine/Zeichenmaschine.h"
#include "turtle/Protokoll_test.h"
#include "turtle/turtleUnit.h"

namespace {

// A run of this rule system as the window would log it.
TLauf Rezept(const std::string& Datei, int32_t Tiefe, bool Schrittmodus = false) {
  TLauf Z;
  Z.Regeln = TRegelstand::AusText(Datei);
  Z.WinkelPlus = Z.WinkelMinus = 90;
  Z.Tiefe = Tiefe;
  Z.Einstellungen.SchrittweiteAnpassen = false;
  Z.Schrittweite = 2;
  Z.Einstellungen.Schrittmodus = Schrittmodus;
  return Z;
}

const std::string Vier = "F\r\n90\r\n90\r\nF->FFFF\r\n";

// A stopped step-by-step run of a string too long to derive is drawn again as
// far as it came, at the cost of what it drew: the walk does not go on
// through the rest of the expansion (4^16 characters here).
TEST(Laufprotokoll, ReplayEndsWhereTheRunStopped) {
  for (const bool Schrittmodus : {true, false}) {
    TLaufprotokoll P;
    P.Beginnen(Rezept(Vier, 16, Schrittmodus));
    P.Beenden(3, 2);
    TProtokollLeinwand Leinwand;
    int Weiter = 0;
    EXPECT_TRUE(Wiedergeben(P.Abschrift(), Leinwand, [&](double) { return ++Weiter < 1000; }))
        << Schrittmodus;
    EXPECT_EQ(Leinwand.Linien.size(), 3u) << Schrittmodus;
  }
}

// The step-by-step walk asks for no further character once the replay has
// reached the run's count; before, it asked for every one of 4^16.
TEST(Laufprotokoll, StepWalkAsksNoMoreBeyondTheLimit) {
  struct TFragen : TLaufbeobachter {
    bool WeiterFragen() override {
      if (++Fragen > 100) throw std::runtime_error("zu viele Fragen");
      return true;
    }
    int Fragen = 0;
  } Fenster;
  TProtokollLeinwand Leinwand;
  TTurtle Turtle(Leinwand);
  TZeichenmaschine M(Turtle, Fenster);
  TLaufart Art;
  Art.Zeichengrenze = 3;
  M.Einrichten(Rezept(Vier, 16), Art);
  M.zeichnenSchrittRek("F", 16);
  EXPECT_EQ(Fenster.Fragen, 3);
  EXPECT_EQ(Leinwand.Linien.size(), 3u);
}

// Runs of one rule system share its text; the log is bounded, and past the
// bound it says why it cannot be drawn again.
TEST(Laufprotokoll, TextsSharedAndLogBounded) {
  TLaufprotokoll P;
  for (int i = 0; i < 3; ++i) {
    P.Beginnen(Rezept(Vier, 1));
    P.Beenden(4, 2);
  }
  P.Beginnen(Rezept("F\r\n90\r\n90\r\n", 1));
  P.Beenden(1, 2);
  const std::vector<TProtokolllauf> L = P.Abschrift();
  ASSERT_EQ(L.size(), 4u);
  EXPECT_EQ(L[0].Lauf.Regeln, L[2].Lauf.Regeln);
  EXPECT_NE(L[0].Lauf.Regeln, L[3].Lauf.Regeln);
  EXPECT_EQ(L[1].Lauf.Regeln->Text(), Vier);
  ASSERT_TRUE(P.LetzterLauf());
  EXPECT_EQ(P.LetzterLauf()->Regeln->Text(), "F\r\n90\r\n90\r\n");
  EXPECT_EQ(P.Hindernis(), "");

  for (size_t i = 0; i < TLaufprotokoll::MaxLaeufe; ++i) {
    P.Beginnen(Rezept(Vier, 1));
    P.Beenden(4, 2);
  }
  EXPECT_EQ(P.Hindernis(),
            "seit dem letzten „Löschen“ wurden zu viele Läufe gezeichnet, um sie festzuhalten");
  EXPECT_EQ(P.Anzahl(), 0u);
  P.Leeren();
  EXPECT_EQ(P.Hindernis(), "");
}

// "Löschen" during a run leaves the run with only its rest on the surface.
TEST(Laufprotokoll, LoeschenCutsTheRunUnderWay) {
  TLaufprotokoll P;
  P.Beginnen(Rezept(Vier, 1));
  EXPECT_EQ(P.Hindernis(), "die Zeichnung ist noch nicht fertig");
  P.Leeren();
  P.Beenden(4, 2);
  EXPECT_EQ(P.Hindernis(), "„Löschen“ hat einen Lauf unterbrochen");
}

}  // namespace
