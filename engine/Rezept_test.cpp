#include "engine/Rezept.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "engine/EinstellungenTest.h"
#include "engine/Rezeptfelder.h"
#include "engine/Zeichenmaschine.h"
#include "helpers/TestHilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

// Every value, bit for bit: the text form writes each so that it reads back exactly.
void ErwarteGleich(const TLauf& A, const TLauf& B) {
  EXPECT_EQ(RezeptAlsText(A), RezeptAlsText(B));
}

// A run of the rule system of this .LSY text.
TLauf MitRegeln(const std::string& Text) {
  TLauf L;
  L.Regeln = TRegelstand::AusText(Text);
  return L;
}

TEST(Rezept, TextKeepsEveryByteAndEveryBitAndIsPrintable) {
  // All 256 bytes in the axiom (Ctrl-Z ends what the loader reads), blanks,
  // lines ended by LF alone, a blank at the very end.
  std::string Regeltext;
  for (int i = 0; i < 256; ++i) Regeltext += static_cast<char>(i);
  Regeltext += "\r\n 3.00000000000000E+0001\n30\r\n%41->F\n  B ->FF ";
  TLauf R = MitRegeln(Regeltext);
  const double d = std::numeric_limits<double>::denorm_min();
  R.WinkelPlus = 100.0 / 3;
  R.WinkelMinus = -0.0;
  R.StartX = -1e9;  // a centred start may lie far off the surface
  R.StartY = d;
  R.Startwinkel = -std::numeric_limits<double>::max();
  R.Schrittweite = 0.1;
  R.Einstellungen.Anfangsdicke = -d;
  R.Einstellungen.Schwundfaktor = 1e300;
  R.Einstellungen.AbweichungSchritt = 1e-300;
  R.Einstellungen.AbweichungPlus = 123456789.123456789;
  R.Einstellungen.AbweichungMinus = -2.5e-10;
  R.Tiefe = 30;
  R.Einstellungen.SchrittweiteAnpassen = false;
  R.Einstellungen.Schrittmodus = true;
  R.Einstellungen.Zufallsmodus = true;
  R.Einstellungen.Zentriert = true;
  R.Einstellungen.Zeichenfarbe = 0xFFFFFF;
  R.Einstellungen.Saat = 4294967295u;
  R.Breite = 1;
  R.Hoehe = 10000;
  const std::string Text = RezeptAlsText(R);
  for (char c : Text) EXPECT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << int(c);
  EXPECT_EQ(Text.rfind("Rankenwerk-Rezept 1\n", 0), 0u);
  ErwarteGleich(RezeptAusText(Text), R);

  // Rules stay readable; CR LF line ends and unknown keys are fine.
  TLauf S;
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

  // Recipes from before centring have no "Zentriert": their start is the user's.
  S.Einstellungen.Zentriert = true;
  std::string Alt = RezeptAlsText(S);
  Alt.erase(Alt.find("Zentriert: ja\n"), 14);
  EXPECT_FALSE(RezeptAusText(Alt).Einstellungen.Zentriert);
}

TEST(Rezept, MalformedTextsAreRefusedWithTheirReason) {
  const std::string Gut = RezeptAlsText(MitRegeln("A\r\n30\r\n30\r\nA->F\r\n"));
  auto Ersetzt = [&Gut](const std::string& Alt, const std::string& Neu) {
    std::string T = Gut;
    const size_t p = T.find(Alt);
    EXPECT_NE(p, std::string::npos) << Alt;
    return T.replace(p, Alt.size(), Neu);
  };
  const std::pair<std::string, std::string> Faelle[] = {
      {"", "der Text ist leer"},
      {"\x89PNG\r\n", "die erste Zeile ist nicht \"Rankenwerk-Rezept 1\""},
      {Ersetzt("Rezept 1", "Rezept 3"), "Version \"3\" ist unbekannt (bekannt sind 1 und 2)"},
      {Ersetzt("Tiefe: 2\n", ""), "\"Tiefe\" fehlt"},
      {Ersetzt("Tiefe: 2\n", "Tiefe: 2\nTiefe: 3\n"), "\"Tiefe\" steht doppelt"},
      {Ersetzt("Tiefe: 2", "Tiefe: 2.5"), "\"Tiefe\" hat den falschen Wert \"2.5\""},
      {Ersetzt("StartX: 500", "StartX: 1e309"), "\"StartX\" hat den falschen Wert \"1e309\""},
      {Ersetzt("StartX: 500", "StartX: nan"), "\"StartX\" hat den falschen Wert \"nan\""},
      {Ersetzt("StartX: 500", "StartX: 500,5"), "\"StartX\" hat den falschen Wert \"500,5\""},
      {Ersetzt("StartX: 500", "StartX: "), "\"StartX\" hat den falschen Wert \"\""},
      {Ersetzt("Zufallsmodus: nein", "Zufallsmodus: 0"),
       "\"Zufallsmodus\" hat den falschen Wert \"0\""},
      {Ersetzt("0x008000", "008000"), "\"Zeichenfarbe\" hat den falschen Wert \"008000\""},
      {Ersetzt("Zufallszustand: 0", "Zufallszustand: 4294967296"),
       "\"Zufallszustand\" hat den falschen Wert \"4294967296\""},
      {Ersetzt("Tiefe: 2", "Tiefe 2"), "Zeile ohne Schlüssel: \"Tiefe 2\""},
      {Ersetzt("Regelsystem: A", "Regelsystem: %4"),
       "\"Regelsystem\" hat ein falsches %-Zeichen an Stelle 1"},
      {Ersetzt("Regelsystem: A", "Regelsystem: A\tB"),
       "\"Regelsystem\" hat ein unerlaubtes Zeichen an Stelle 2"},
      {Ersetzt("A->F", "A->["), "Regelsystem: Klammerfehler"},
      {Ersetzt("%0D%0A30", "%0D%0Adreissig"), "Regelsystem: Ungültige numerische Eingabe"},
  };
  for (const auto& Fall : Faelle)
    EXPECT_EQ(Fehlertext<std::runtime_error>([&] { RezeptAusText(Fall.first); }),
              "Bild enthält kein gültiges Rezept: " + Fall.second);
}

// Every value must pass the check of the field it fills, with that field's
// message; a fitted step may be as large as the fit makes it, a centred start
// lie off the surface.
TEST(Rezept, ValuesOutOfTheirFieldsRangeAreRefused) {
  TLauf Basis = MitRegeln("F\r\n90\r\n90\r\n");
  Basis.Einstellungen.SchrittweiteAnpassen = false;
  const std::string Gut = RezeptAlsText(Basis);
  auto Mit = [&Gut](std::initializer_list<std::pair<std::string, std::string>> Werte) {
    std::string T = Gut;
    for (const auto& [Schluessel, Wert] : Werte) {
      const size_t Anfang = T.find("\n" + Schluessel + ": ") + Schluessel.size() + 3;
      T.replace(Anfang, T.find('\n', Anfang) - Anfang, Wert);
    }
    return T;
  };
  const std::string XBereich =
      "x hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 1000";
  const std::string Schritt =
      "Schrittweite falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis ";
  const struct {
    std::string Text, Meldung;  // empty: it loads
  } Faelle[] = {
      {Mit({{"StartX", "1e19"}}), XBereich},
      {Mit({{"StartX", "-0.5"}}), XBereich},
      {Mit({{"StartX", "1000"}}), ""},
      {Mit({{"StartY", "681"}}),
       "y hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 680"},
      {Mit({{"Breite", "500"}, {"StartX", "501"}}),
       "x hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 500"},
      {Mit({{"Zentriert", "ja"}, {"StartX", "-1e9"}, {"StartY", "1e9"}}), ""},
      {Mit({{"Zentriert", "ja"}, {"StartX", "1000000001"}}),
       "x hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von -1000000000 bis "
       "1000000000"},
      {Mit({{"Tiefe", "31"}}), "Tiefe außerhalb des zulässigen Bereichs von 0 bis 30"},
      {Mit({{"Tiefe", "-1"}}), "Tiefe außerhalb des zulässigen Bereichs von 0 bis 30"},
      {Mit({{"Schrittweite", "1000.5"}}), Schritt + "1000.00"},
      {Mit({{"Schrittweite", "0"}}), Schritt + "1000.00"},
      {Mit({{"SchrittweiteAnpassen", "ja"}, {"Schrittweite", "40800"}}), ""},
      {Mit({{"SchrittweiteAnpassen", "ja"}, {"Schrittweite", "40800.001"}}), Schritt + "40800.00"},
      {Mit({{"Schwundfaktor", "0.0099"}}), "Schwund hat falsches Format "},
      {Mit({{"Schwundfaktor", "1.5"}}), ""},
      {Mit({{"Zeichenfarbe", "0x1000000"}}), "Farbe hat falsches Format (RRGGBB erwartet)"},
      {Mit({{"Breite", "0"}}), "Breite außerhalb des zulässigen Bereichs von 1 bis 10000"},
      {Mit({{"Hoehe", "10001"}}), "Höhe außerhalb des zulässigen Bereichs von 1 bis 10000"},
  };
  for (const auto& F : Faelle)
    EXPECT_EQ(
        Fehlertext<std::runtime_error>([&] { RezeptAusText(F.Text); }),
        F.Meldung.empty() ? "(kein Fehler)" : "Bild enthält kein gültiges Rezept: " + F.Meldung)
        << F.Text;
}

// A view is written only when a picture shows one, reads back bit for bit,
// and must fit the surface: width above 0, scale from 1/4 to 1,000,000, the
// height of the surface's shape.
TEST(Rezept, ViewIsOptionalAndChecked) {
  TLauf Basis = MitRegeln("F\r\n90\r\n90\r\n");
  const std::string Ohne = RezeptAlsText(Basis);
  EXPECT_EQ(Ohne.find("Ausschnitt"), std::string::npos);
  EXPECT_FALSE(RezeptAusText(Ohne).Ausschnitt);

  TLauf Mit = Basis;
  Mit.Ausschnitt = TRechteck{-1e9, 5e-324, 1000.0 / 3, 680.0 / 3};
  const std::string Text = RezeptAlsText(Mit);
  EXPECT_NE(Text.find("\nHoehe: 680\nAusschnitt: -1e+09,5e-324,333.3333333333333,"
                      "226.66666666666666\n"),
            std::string::npos)
      << Text;
  EXPECT_EQ(RezeptAusText(Text).Ausschnitt, Mit.Ausschnitt);

  const std::string Massstab =
      "Maßstab des Ausschnitts (Breite/B) außerhalb des zulässigen Bereichs von 0.25 bis 1000000";
  const std::pair<std::string, std::string> Faelle[] = {
      {"250,340,500,340", ""},
      {"0,0,4000,2720", ""},
      {"0,0,0.001,0.00068", ""},
      {"0,0,100,68.06", ""},
      {"1,2,3", "\"Ausschnitt\" hat den falschen Wert \"1,2,3\""},
      {"1,2,3,4,5", "\"Ausschnitt\" hat den falschen Wert \"1,2,3,4,5\""},
      {"1,2,nan,4", "\"Ausschnitt\" hat den falschen Wert \"1,2,nan,4\""},
      {"1,2,1e400,4", "\"Ausschnitt\" hat den falschen Wert \"1,2,1e400,4\""},
      {"0,0,0,0", "Ausschnittsbreite muss größer als 0 sein"},
      {"-1000000000,1e9,100,68", ""},
      {"-1000000001,0,100,68",
       "X des Ausschnitts außerhalb des zulässigen Bereichs von -1000000000 bis 1000000000"},
      {"0,-1e307,0.001,0.00068",
       "Y des Ausschnitts außerhalb des zulässigen Bereichs von -1000000000 bis 1000000000"},
      {"0,0,5000,3400", Massstab},
      {"0,0,0.0009,0.000612", Massstab},
      {"0,0,100,68.07", "Ausschnittshöhe passt nicht zur Fläche: 68 (B * Höhe / Breite) erwartet"},
  };
  for (const auto& [Wert, Meldung] : Faelle) {
    std::string Text = Ohne;
    Text.append("Ausschnitt: ").append(Wert).append("\n");
    EXPECT_EQ(Fehlertext<std::runtime_error>([&Text] { RezeptAusText(Text); }),
              Meldung.empty() ? "(kein Fehler)" : "Bild enthält kein gültiges Rezept: " + Meldung)
        << Wert;
  }
}

// The plant settings: taken as their options give them, written only off
// their defaults and then as version 2, read back as they were; a word the
// option does not know is refused with its message.
TEST(Rezept, PlantSettingsNeedVersionTwoAndRoundTrip) {
  const TLauf Basis = MitRegeln("F\r\n90\r\n90\r\n");
  const std::string Vorher = RezeptAlsText(Basis);
  EXPECT_EQ(Vorher.rfind("Rankenwerk-Rezept 1\n", 0), 0U);
  const struct {
    const char *Option, *Wert, *Zeile;  // Zeile empty: refused with Meldung
    const char* Meldung;
  } Faelle[] = {
      {"--regelwahl", "zufall", "Regelwahl: zufall", ""},
      {"--faerbung", "alter", "Faerbung: alter", ""},
      {"--faerbung", "regel", "Faerbung: regel", ""},
      {"--endfarbe", "102030", "Endfarbe: 0x302010", ""},
      {"--hintergrund", "#000000", "Hintergrund: 0x000000", ""},
      {"--zeichensatz", "blaetter", "Zeichensatz: blaetter", ""},
      {"--regelwahl", "erste", "", ""},  // the default: nothing new is written
      {"--regelwahl", "Zufall", nullptr, "Regelwahl erwartet „erste“ oder „zufall“"},
      {"--faerbung", "bunt", nullptr,
       "Färbung erwartet „einfarbig“, „verzweigung“, „alter“ oder „regel“"},
      {"--hintergrund", "FFF", nullptr, "Hintergrund hat falsches Format (RRGGBB erwartet)"},
  };
  for (const auto& F : Faelle) {
    TLauf R = Basis;
    const std::string Fehler =
        Fehlertext<EFeldfehler>([&] { FeldEingeben(*FeldZuOption(F.Option), R, F.Wert); });
    if (!F.Zeile) {
      EXPECT_EQ(Fehler, F.Meldung) << F.Option << " " << F.Wert;
      continue;
    }
    EXPECT_EQ(Fehler, "(kein Fehler)");
    const std::string Text = RezeptAlsText(R);
    if (!*F.Zeile) {
      EXPECT_EQ(Text, Vorher);
      continue;
    }
    EXPECT_EQ(Text.rfind("Rankenwerk-Rezept 2\n", 0), 0U) << Text;
    EXPECT_NE(Text.find(std::string("\n") + F.Zeile + "\n"), std::string::npos) << Text;
    EXPECT_EQ(RezeptAusText(Text).Einstellungen, R.Einstellungen) << Text;
  }
}

// A run's own recipe always loads: a shrink the field let through, a start
// placed with the mouse on the surface, a fitted step.
TEST(Rezept, RecipesOfTheFieldsValuesLoad) {
  for (double Schwund : {99.0, 98.99999999999999, 98.7654321, -1e6, 0.0}) {
    TLauf R = MitRegeln("F\r\n90\r\n90\r\n");
    R.Einstellungen.Schwundfaktor = 1 - Schwund / 100;
    EXPECT_NO_THROW(RezeptAusText(RezeptAlsText(R))) << Schwund;
  }
}

// Drawing a recipe taken from a run and passed through its text gives the
// run's picture again, also with random deviations, a fitted step size and
// an angle that the .LSY form would round; the settings come back afterwards.
TEST(Rezept, RedrawingTheRecipeOfARunGivesItsPicture) {
  const TEinstellungenWache Wache;
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  R.WinkelPlus = 100.0 / 3;
  TLauf Rezept;
  Rezept.Einstellungen.Zufallsmodus = true;
  Rezept.Einstellungen.Saat = 12345;
  Rezept.Einstellungen.Anfangsdicke = 7;
  Rezept.Einstellungen.Schwundfaktor = 0.7;
  RegelsystemErfassen(Rezept, R);
  Rezept.Tiefe = 5;
  Rezept.Breite = 400;
  Rezept.Hoehe = 300;
  Rezept.StartX = 200;
  Rezept.StartY = 300;

  // The run of the window: the rule system read live.
  TSvgLeinwand Lauf(400, 300);
  TTurtle Turtle(Lauf);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(Turtle, Ohne);
  TLaufart Live;
  Live.Regelsystem = &R;
  M.Zeichenlauf(Rezept, Live);
  Rezept.Schrittweite = M.Schrittweite();
  const TEinstellungen InKraft = Einstellungen;

  TLauf Gelesen = RezeptAusText(RezeptAlsText(Rezept));
  TSvgLeinwand Wieder(400, 300);
  LaufZeichnen(Gelesen, Wieder);
  EXPECT_EQ(Wieder.Elemente(), Lauf.Elemente());
  EXPECT_GT(Lauf.Elemente().size(), 1000u);
  // The replay read its own settings: those in force are untouched.
  EXPECT_EQ(Einstellungen, InKraft);

  // Fitted afresh, the step size comes out the same and lands in the recipe.
  TSvgLeinwand Angepasst(400, 300);
  std::string Bereit;
  Gelesen.Schrittweite = 1;
  TNachzeichnung Wie;
  Wie.SchrittweiteAnpassen = true;
  Wie.Bereit = [&](const TLauf& Z) { Bereit = RezeptAlsText(Z); };
  LaufZeichnen(Gelesen, Angepasst, Wie);
  EXPECT_EQ(Angepasst.Elemente(), Lauf.Elemente());
  EXPECT_EQ(Gelesen.Schrittweite, M.Schrittweite());
  EXPECT_EQ(Bereit, RezeptAlsText(Gelesen));
}

}  // namespace
