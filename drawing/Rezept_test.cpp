#include "drawing/Rezept.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

bool Gleich(double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; }

void ErwarteGleich(const TRezept& A, const TRezept& B) {
  EXPECT_EQ(A.Regelsystem, B.Regelsystem);
  const double TRezept::*Zahlen[] = {
      &TRezept::WinkelPlus,     &TRezept::WinkelMinus,    &TRezept::StartX,
      &TRezept::StartY,         &TRezept::Startwinkel,    &TRezept::Schrittweite,
      &TRezept::Anfangsdicke,   &TRezept::Schwundfaktor,  &TRezept::AbweichungSchritt,
      &TRezept::AbweichungPlus, &TRezept::AbweichungMinus};
  for (auto Feld : Zahlen) EXPECT_TRUE(Gleich(A.*Feld, B.*Feld)) << A.*Feld << " " << B.*Feld;
  EXPECT_EQ(A.Tiefe, B.Tiefe);
  EXPECT_EQ(A.SchrittweiteAnpassen, B.SchrittweiteAnpassen);
  EXPECT_EQ(A.Schrittmodus, B.Schrittmodus);
  EXPECT_EQ(A.Zufallsmodus, B.Zufallsmodus);
  EXPECT_EQ(A.Zentriert, B.Zentriert);
  EXPECT_EQ(A.Zeichenfarbe, B.Zeichenfarbe);
  EXPECT_EQ(A.Zufallszustand, B.Zufallszustand);
  EXPECT_EQ(A.Breite, B.Breite);
  EXPECT_EQ(A.Hoehe, B.Hoehe);
}

TEST(Rezept, TextKeepsEveryByteAndEveryBitAndIsPrintable) {
  TRezept R;
  // All 256 bytes in the axiom (Ctrl-Z ends what the loader reads), blanks,
  // lines ended by LF alone, a blank at the very end.
  for (int i = 0; i < 256; ++i) R.Regelsystem += static_cast<char>(i);
  R.Regelsystem += "\r\n 3.00000000000000E+0001\n30\r\n%41->F\n  B ->FF ";
  const double d = std::numeric_limits<double>::denorm_min();
  R.WinkelPlus = 100.0 / 3;
  R.WinkelMinus = -0.0;
  R.StartX = 1e308;
  R.StartY = -std::numeric_limits<double>::max();
  R.Startwinkel = d;
  R.Schrittweite = 0.1;
  R.Anfangsdicke = -d;
  R.Schwundfaktor = std::numeric_limits<double>::min();
  R.AbweichungSchritt = 1e-300;
  R.AbweichungPlus = 123456789.123456789;
  R.AbweichungMinus = -2.5e-10;
  R.Tiefe = 30;
  R.SchrittweiteAnpassen = false;
  R.Schrittmodus = true;
  R.Zufallsmodus = true;
  R.Zentriert = true;
  R.Zeichenfarbe = 0xFFFFFFFF;
  R.Zufallszustand = 4294967295u;
  R.Breite = 1;
  R.Hoehe = 2147483647;
  const std::string Text = RezeptAlsText(R);
  for (char c : Text) EXPECT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << int(c);
  EXPECT_EQ(Text.rfind("Rankenwerk-Rezept 1\n", 0), 0u);
  ErwarteGleich(RezeptAusText(Text), R);
  // Recipes from before centring have no "Zentriert": their start is the user's.
  std::string Alt = Text;
  Alt.erase(Alt.find("Zentriert: ja\n"), 14);
  EXPECT_FALSE(RezeptAusText(Alt).Zentriert);

  // Rules stay readable; CR LF line ends and unknown keys are fine.
  TRezept S;
  TRegelsystem Standard;
  Standard.RegelnHinzufuegen(StandardRegeln);
  RegelsystemErfassen(S, Standard);
  std::string Lesbar = RezeptAlsText(S);
  EXPECT_NE(Lesbar.find("Regelsystem: A%0D%0A 3.00000000000000E+0001%0D%0A 3.00000000000000E+"
                        "0001%0D%0AF->FB%0D%0AB->F%0D%0AA->FF+[FA]--[FA]%0D%0A\n"),
            std::string::npos)
      << Lesbar;
  std::string Windows;
  for (char c : Lesbar + "Zukunft: 7\n\n")
    Windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ErwarteGleich(RezeptAusText(Windows), S);
}

TEST(Rezept, MalformedTextsAreRefusedWithTheirReason) {
  const std::string Gut = RezeptAlsText(TRezept{.Regelsystem = "A\r\n30\r\n30\r\nA->F\r\n"});
  auto Ersetzt = [&Gut](const std::string& Alt, const std::string& Neu) {
    std::string T = Gut;
    const size_t p = T.find(Alt);
    EXPECT_NE(p, std::string::npos) << Alt;
    return T.replace(p, Alt.size(), Neu);
  };
  const std::pair<std::string, std::string> Faelle[] = {
      {"", "der Text ist leer"},
      {"\x89PNG\r\n", "die erste Zeile ist nicht \"Rankenwerk-Rezept 1\""},
      {Ersetzt("Rezept 1", "Rezept 2"), "Version \"2\" ist unbekannt (bekannt ist 1)"},
      {Ersetzt("Tiefe: 2\n", ""), "\"Tiefe\" fehlt"},
      {Ersetzt("Tiefe: 2\n", "Tiefe: 2\nTiefe: 3\n"), "\"Tiefe\" steht doppelt"},
      {Ersetzt("Tiefe: 2", "Tiefe: 31"), "\"Tiefe\" hat den falschen Wert \"31\""},
      {Ersetzt("Tiefe: 2", "Tiefe: -1"), "\"Tiefe\" hat den falschen Wert \"-1\""},
      {Ersetzt("StartX: 500", "StartX: 1e309"), "\"StartX\" hat den falschen Wert \"1e309\""},
      {Ersetzt("StartX: 500", "StartX: nan"), "\"StartX\" hat den falschen Wert \"nan\""},
      {Ersetzt("StartX: 500", "StartX: 500,5"), "\"StartX\" hat den falschen Wert \"500,5\""},
      {Ersetzt("StartX: 500", "StartX: "), "\"StartX\" hat den falschen Wert \"\""},
      {Ersetzt("Zufallsmodus: nein", "Zufallsmodus: 0"),
       "\"Zufallsmodus\" hat den falschen Wert \"0\""},
      {Ersetzt("0x008000", "008000"), "\"Zeichenfarbe\" hat den falschen Wert \"008000\""},
      {Ersetzt("Zufallszustand: 0", "Zufallszustand: 4294967296"),
       "\"Zufallszustand\" hat den falschen Wert \"4294967296\""},
      {Ersetzt("Breite: 1000", "Breite: 0"), "\"Breite\" hat den falschen Wert \"0\""},
      {Ersetzt("Tiefe: 2", "Tiefe 2"), "Zeile ohne Schlüssel: \"Tiefe 2\""},
      {Ersetzt("Regelsystem: A", "Regelsystem: %4"),
       "\"Regelsystem\" hat ein falsches %-Zeichen an Stelle 1"},
      {Ersetzt("Regelsystem: A", "Regelsystem: A\tB"),
       "\"Regelsystem\" hat ein unerlaubtes Zeichen an Stelle 2"},
      {Ersetzt("A->F", "A->["), "Regelsystem: Klammerfehler"},
      {Ersetzt("%0D%0A30", "%0D%0Adreissig"), "Regelsystem: Ungültige numerische Eingabe"},
  };
  for (const auto& [Text, Grund] : Faelle) {
    try {
      RezeptAusText(Text);
      ADD_FAILURE() << Grund;
    } catch (const std::runtime_error& E) {
      EXPECT_EQ(E.what(), "Bild enthält kein gültiges Rezept: " + Grund);
    }
  }
}

// Drawing a recipe taken from a run and passed through its text gives the
// run's picture again, also with random deviations, a fitted step size and
// an angle that the .LSY form would round; the settings come back afterwards.
TEST(Rezept, RedrawingTheRecipeOfARunGivesItsPicture) {
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  R.WinkelPlus = 100.0 / 3;
  SchrittweiteAnpassen = true;
  Schrittmodus = false;
  Zufallsmodus = true;
  Zufallszustand = 12345;
  Anfangsdicke = 7;
  Schwundfaktor = 0.7;
  TRezept Rezept;
  RegelsystemErfassen(Rezept, R);
  EinstellungenErfassen(Rezept);
  Rezept.Tiefe = 5;
  Rezept.Breite = 400;
  Rezept.Hoehe = 300;
  Rezept.StartX = 200;
  Rezept.StartY = 300;

  TSvgLeinwand Lauf(400, 300);
  TTurtle Turtle(Lauf);
  TOhneFenster Fenster(400, 300);
  TZeichenmaschine M(Turtle, Fenster);
  M.Regelsystem = &R;
  M.WinkelPlus = R.WinkelPlus;
  M.WinkelMinus = -R.WinkelMinus;
  M.Zeichenlauf(Rezept.Tiefe, Rezept.StartX, Rezept.StartY, Rezept.Startwinkel);
  Rezept.Schrittweite = M.Schrittweite;
  const uint32_t Danach = Zufallszustand;

  TRezept Gelesen = RezeptAusText(RezeptAlsText(Rezept));
  TSvgLeinwand Wieder(400, 300);
  RezeptZeichnen(Gelesen, Wieder);
  EXPECT_EQ(Wieder.Elemente(), Lauf.Elemente());
  EXPECT_GT(Lauf.Elemente().size(), 1000u);
  EXPECT_EQ(Zufallszustand, Danach);
  EXPECT_TRUE(Zufallsmodus);
  EXPECT_TRUE(SchrittweiteAnpassen);

  // Fitted afresh, the step size comes out the same and lands in the recipe.
  TSvgLeinwand Angepasst(400, 300);
  std::string Bereit;
  Gelesen.Schrittweite = 1;
  RezeptZeichnen(Gelesen, Angepasst, true, false,
                 [&](const TRezept& Z) { Bereit = RezeptAlsText(Z); });
  EXPECT_EQ(Angepasst.Elemente(), Lauf.Elemente());
  EXPECT_EQ(Gelesen.Schrittweite, M.Schrittweite);
  EXPECT_EQ(Bereit, RezeptAlsText(Gelesen));

  Zufallsmodus = false;
  Zufallszustand = 0;
  Anfangsdicke = 1;
  Schwundfaktor = 1;
}

}  // namespace
