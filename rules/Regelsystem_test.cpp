#include "rules/Regelsystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "rules/RegelTestHilfen.h"

namespace {

TEST(Regelsystem, NeuesSystem) {
  TRegelsystem R;
  EXPECT_EQ(R.Count(), 0);
  EXPECT_EQ(R.Axiom, "A");
  EXPECT_EQ(R.WinkelPlus, 30.0);
  EXPECT_EQ(R.WinkelMinus, 30.0);
  EXPECT_EQ(R.Tiefe, 0);
  std::string Terminale;
  for (int c = 0; c < 256; ++c)
    if (R.Terminalzeichen.test(static_cast<size_t>(c))) Terminale += static_cast<char>(c);
  EXPECT_EQ(Terminale, "+-F[]f");
}

TEST(Regelsystem, StandardRegelnUndSortieren) {
  EXPECT_STREQ(StandardRegeln[0], "F->FB");
  EXPECT_STREQ(StandardRegeln[1], "B ->F");
  EXPECT_STREQ(StandardRegeln[2], " A -> FF+[FA]--[FA]");
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  EXPECT_EQ(Regeln(R), "F->FB;B->F;A->FF+[FA]--[FA];");
  R.Sortieren();
  EXPECT_EQ(Regeln(R), "A->FF+[FA]--[FA];B->F;F->FB;");
}

TEST(Regelsystem, SortierenNachZeichencode) {
  TRegelsystem R;
  for (const char* Zeile : {"f->1", "\xE4->2", "F->3", "A->4", "+->5", "A->6", "\x01->7"})
    R.RegelHinzufuegen(Zeile);
  R.Sortieren();
  // Codes above 127 sort last; rules of one head keep their order.
  EXPECT_EQ(Regeln(R), "\x01->7;+->5;A->4;A->6;F->3;f->1;\xE4->2;");
  EXPECT_EQ(KopfVergleich(TRegel{'A', ""}, TRegel{'\xE4', ""}), -1);
  EXPECT_EQ(KopfVergleich(TRegel{'f', ""}, TRegel{'F', ""}), 1);
  EXPECT_EQ(KopfVergleich(TRegel{'F', "x"}, TRegel{'F', "y"}), 0);
}

TEST(Regelsystem, RegelZerlegen) {
  const struct {
    const char* Zeile;
    const char* Meldung;  // "" for a valid line
    char Kopf;
    const char* Rumpf;
  } Faelle[] = {
      {"B ->F", "", 'B', "F"},
      {" A -> FF+[FA]--[FA]", "", 'A', "FF+[FA]--[FA]"},
      {"A->", "", 'A', ""},
      {"A - >", "", 'A', ""},
      {"-->F", "", '-', "F"},
      {"[->]", "Klammerfehler", 0, nullptr},
      {"[->[]", "", '[', "[]"},
      {"+->+", "", '+', "+"},
      {" X -> Y Z ", "", 'X', "YZ"},
      {"A->[[F]+[F]]", "", 'A', "[[F]+[F]]"},
      {"A->\tB", "", 'A', "\tB"},
      {"\xE4->\xF6\xFC", "", '\xE4', "\xF6\xFC"},
      {"", "leer", 0, nullptr},
      {"     ", "leer", 0, nullptr},
      {"A", "leer", 0, nullptr},
      {"A-", "leer", 0, nullptr},
      {" A - ", "leer", 0, nullptr},
      {"A=>B", "Regelkopf falsch", 0, nullptr},
      {"AB->F", "Regelkopf falsch", 0, nullptr},
      {"->F", "Regelkopf falsch", 0, nullptr},
      {"A\t->F", "Regelkopf falsch", 0, nullptr},
      {"A>-F", "Regelkopf falsch", 0, nullptr},
      {"A->F]F[", "Klammerfehler", 0, nullptr},
      {"A->[F", "Klammerfehler", 0, nullptr},
      {"A->]", "Klammerfehler", 0, nullptr},
      // The head is checked before the brackets.
      {"A=>[F", "Regelkopf falsch", 0, nullptr},
      {"[[]", "Regelkopf falsch", 0, nullptr},
      // Short lines are "leer" whatever they hold.
      {"]]", "leer", 0, nullptr},
  };
  for (const auto& F : Faelle) {
    std::string Meldung = "alt", Rumpf = "alt";
    char Kopf = '?';
    const bool Gueltig = TRegelsystem::RegelZerlegen(F.Zeile, Meldung, Rumpf, Kopf);
    EXPECT_EQ(Meldung, F.Meldung) << '"' << F.Zeile << '"';
    EXPECT_EQ(Gueltig, *F.Meldung == 0) << '"' << F.Zeile << '"';
    if (Gueltig) {
      EXPECT_EQ(Kopf, F.Kopf) << '"' << F.Zeile << '"';
      EXPECT_EQ(Rumpf, F.Rumpf) << '"' << F.Zeile << '"';
    }
    // The same message reaches callers of RegelHinzufuegen, and nothing is stored.
    TRegelsystem R;
    const uint64_t Stand = R.Stand();
    EXPECT_EQ(Fehlertext([&] { R.RegelHinzufuegen(F.Zeile); }),
              Gueltig ? "(kein Fehler)" : F.Meldung)
        << '"' << F.Zeile << '"';
    EXPECT_EQ(R.Count(), Gueltig ? 1 : 0);
    EXPECT_EQ(R.Stand() != Stand, Gueltig);
  }
}

TEST(Regelsystem, Hilfsfunktionen) {
  std::string Text = " a b\tc  ";
  LeerzeichenEntfernen(Text);
  EXPECT_EQ(Text, "ab\tc");
  EXPECT_EQ(KlammernPruefen(""), 0);
  EXPECT_EQ(KlammernPruefen("[[]]"), 0);
  EXPECT_EQ(KlammernPruefen("]["), -1);
  EXPECT_EQ(KlammernPruefen("[[]"), 1);
  EXPECT_EQ(KlammernPruefen("[]]["), -1);
  EXPECT_EQ(TRegelsystem::RegelAlsText(TRegel{'X', "YZ"}), "X->YZ");
  EXPECT_EQ(TRegelsystem::RegelAlsText(TRegel{'A', ""}), "A->");
}

TEST(Regelsystem, ListenoperationenUndIndexfehler) {
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  EXPECT_EQ(Fehlertext([&] { R.Items(3); }), "Listenindex überschreitet das Maximum (3)");
  EXPECT_EQ(Fehlertext([&] { R.Items(-1); }), "Listenindex überschreitet das Maximum (-1)");
  EXPECT_EQ(Fehlertext([&] { R.Delete(7); }), "Listenindex überschreitet das Maximum (7)");
  EXPECT_EQ(Fehlertext([&] { R.RegelSetzen(3, 'X', "Y"); }),
            "Listenindex überschreitet das Maximum (3)");
  // Index before the line's own error.
  EXPECT_EQ(Fehlertext([&] { R.RegelErsetzen("", 3); }),
            "Listenindex überschreitet das Maximum (3)");
  EXPECT_EQ(Fehlertext([&] { R.RegelErsetzen("A=>B", 1); }), "Regelkopf falsch");
  EXPECT_EQ(Regeln(R), "F->FB;B->F;A->FF+[FA]--[FA];");

  R.RegelErsetzen(" Q -> [q] ", 1);
  EXPECT_EQ(Regeln(R), "F->FB;Q->[q];A->FF+[FA]--[FA];");
  R.Delete(0);
  EXPECT_EQ(Regeln(R), "Q->[q];A->FF+[FA]--[FA];");
  R.RegelSetzen(1, 'Z', "zz");
  EXPECT_EQ(Regeln(R), "Q->[q];Z->zz;");
  EXPECT_EQ(R.Ersetzung('A'), "A");
  EXPECT_EQ(R.Ersetzung('Z'), "zz");
}

TEST(Regelsystem, RegelnHinzufuegenBrichtBeimErstenFehlerAb) {
  const char* const Zeilen[3] = {"A->B", "kaputt", "C->D"};
  TRegelsystem R;
  EXPECT_EQ(Fehlertext([&] { R.RegelnHinzufuegen(Zeilen); }), "Regelkopf falsch");
  EXPECT_EQ(Regeln(R), "A->B;");
}

TEST(Regelsystem, StandWaechstBeiJederAenderung) {
  TRegelsystem R;
  uint64_t Stand = R.Stand();
  auto Gewachsen = [&] {
    const bool Ja = R.Stand() > Stand;
    Stand = R.Stand();
    return Ja;
  };
  R.RegelHinzufuegen("A->B");
  EXPECT_TRUE(Gewachsen());
  R.RegelErsetzen("A->C", 0);
  EXPECT_TRUE(Gewachsen());
  R.RegelSetzen(0, 'A', "D");
  EXPECT_TRUE(Gewachsen());
  R.Sortieren();
  EXPECT_TRUE(Gewachsen());
  R.Delete(0);
  EXPECT_TRUE(Gewachsen());
  EXPECT_THROW(R.RegelHinzufuegen("x"), std::runtime_error);
  EXPECT_FALSE(Gewachsen());
  R.Ableitung(3);
  EXPECT_FALSE(Gewachsen());
  // Two systems with the same history still differ, so a cache can't mix them up.
  TRegelsystem A, B;
  EXPECT_NE(A.Stand(), B.Stand());
  A.RegelHinzufuegen("X->Y");
  B.RegelHinzufuegen("X->Z");
  EXPECT_NE(A.Stand(), B.Stand());
}

TEST(Regelsystem, ErsetzungUndRegelIndex) {
  TRegelsystem R;
  R.RegelHinzufuegen("A->1");
  R.RegelHinzufuegen("B->");
  R.RegelHinzufuegen("A->2");
  EXPECT_EQ(R.Ersetzung('A'), "1");
  EXPECT_EQ(R.Ersetzung('B'), "");
  EXPECT_EQ(R.Ersetzung('C'), "C");
  EXPECT_EQ(R.Ersetzung('\xFF'), "\xFF");
  EXPECT_EQ(R.RegelIndex('A'), 0);
  EXPECT_EQ(R.RegelIndex('B'), 1);
  EXPECT_EQ(R.RegelIndex('C'), -1);
  R.Delete(0);
  EXPECT_EQ(R.Ersetzung('A'), "2");
  EXPECT_EQ(R.RegelIndex('A'), 1);
  R.Sortieren();
  EXPECT_EQ(R.RegelIndex('A'), 0);
  EXPECT_EQ(R.RegelIndex('B'), 1);
  R.RegelSetzen(0, '\xFF', "x");
  EXPECT_EQ(R.RegelIndex('A'), -1);
  EXPECT_EQ(R.Ersetzung('\xFF'), "x");
  // A derived string uses the first rule of a head; the later one is kept.
  R.RegelHinzufuegen("\xFF->y");
  R.Axiom =
      "\xFF"
      "AB";
  EXPECT_EQ(R.Ableitung(1), "xA");
}

TEST(Ableitung, StandardSystem) {
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  R.Sortieren();
  EXPECT_EQ(R.Ableitung(0), "A");
  EXPECT_EQ(R.Ableitung(-5), "A");
  EXPECT_EQ(R.TerminalAbleitung(0), "");
  EXPECT_EQ(R.Ableitung(1), "FF+[FA]--[FA]");
  EXPECT_EQ(R.TerminalAbleitung(1), "FF+[F]--[F]");
  EXPECT_EQ(R.Ableitung(2), "FBFB+[FBFF+[FA]--[FA]]--[FBFF+[FA]--[FA]]");
  EXPECT_EQ(R.TerminalAbleitung(2), "FF+[FFF+[F]--[F]]--[FFF+[F]--[F]]");
  const struct {
    int Tiefe;
    size_t Laenge;
  } Tabelle[] = {{0, 1}, {1, 13}, {2, 41}, {3, 101}, {4, 229}, {5, 497}, {10, 18965}, {11, 38513}};
  for (const auto& T : Tabelle) EXPECT_EQ(R.Ableitung(T.Tiefe).size(), T.Laenge) << T.Tiefe;
  EXPECT_EQ(Fehlertext([&] { R.Ableitung(12); }), "Stringlaenge ist zu groß:  50001");
  EXPECT_THROW(R.TerminalAbleitung(12), EZulang);
  EXPECT_THROW(R.Ableitung(2000000000), EZulang);
}

TEST(Ableitung, GrenzeVon50000Zeichen) {
  TRegelsystem R;
  R.RegelHinzufuegen("A->AA");
  std::string Text(25000, 'A');
  R.Ableitungsschritt(Text);
  EXPECT_EQ(Text.size(), 50000u);
  // The length in the message is the partial one right after the crossing.
  std::string Zuviel(25001, 'A');
  EXPECT_EQ(Fehlertext([&] { R.Ableitungsschritt(Zuviel); }), "Stringlaenge ist zu groß:  50002");
  EXPECT_EQ(Zuviel, std::string(25001, 'A'));
  std::string Knapp = std::string(25000, 'A') + "B";
  EXPECT_EQ(Fehlertext([&] { R.Ableitungsschritt(Knapp); }), "Stringlaenge ist zu groß:  50001");
  // Later characters that would vanish don't matter: the check is per character.
  R.RegelHinzufuegen("C->");
  std::string Spaeter = std::string(25001, 'A') + "CCC";
  EXPECT_THROW(R.Ableitungsschritt(Spaeter), EZulang);
  // An axiom over the limit is fine at depth 0 and also stays when nothing grows.
  R.Axiom = std::string(60000, 'x');
  EXPECT_EQ(R.Ableitung(0).size(), 60000u);
  EXPECT_EQ(Fehlertext([&] { R.Ableitung(1); }), "Stringlaenge ist zu groß:  50001");
  R.Axiom = std::string(50000, 'x');
  EXPECT_EQ(R.Ableitung(3).size(), 50000u);
}

// Systems that stop growing repeat; huge depths must still give the exact string.
TEST(Ableitung, WiederkehrendeZeichenketten) {
  TRegelsystem R;
  R.Axiom = "F";
  EXPECT_EQ(R.Ableitung(INT32_MAX), "F");
  R.RegelHinzufuegen("A->B");
  R.RegelHinzufuegen("B->CC");
  R.RegelHinzufuegen("C->");
  R.RegelHinzufuegen("D->A");
  // Period 1 after a lead-in: DA, AB, BCC, CC, "" ...
  R.Axiom = "DA";
  const char* Erwartet[] = {"DA", "AB", "BCC", "CC", "", ""};
  for (int t = 0; t < 6; ++t) EXPECT_EQ(R.Ableitung(t), Erwartet[t]) << t;
  EXPECT_EQ(R.Ableitung(INT32_MAX), "");
  // Period 3 with a lead-in of 2.
  TRegelsystem Z;
  for (const char* Zeile : {"S->T", "T->X", "X->Y", "Y->W", "W->X"}) Z.RegelHinzufuegen(Zeile);
  Z.Axiom = "S+S";
  const char* Folge[] = {"S+S", "T+T", "X+X", "Y+Y", "W+W", "X+X", "Y+Y", "W+W"};
  for (int t = 0; t < 8; ++t) EXPECT_EQ(Z.Ableitung(t), Folge[t]) << t;
  for (int32_t t : {1000, 1001, 1002, 1003, INT32_MAX - 2, INT32_MAX - 1, INT32_MAX})
    EXPECT_EQ(Z.Ableitung(t), Folge[2 + (t - 2) % 3]) << t;
  EXPECT_EQ(Z.TerminalAbleitung(INT32_MAX), "+");
}

TEST(Ableitung, GleichWieSchrittFuerSchritt) {
  std::mt19937 Zufall(4711);
  const std::string Zeichen = "ABCD+";
  for (int Versuch = 0; Versuch < 300; ++Versuch) {
    TRegelsystem R;
    for (char Kopf : std::string("ABCD")) {
      if (Zufall() % 4 == 0) continue;
      std::string Rumpf;
      for (unsigned n = Zufall() % 3; n > 0; --n) Rumpf += Zeichen[Zufall() % Zeichen.size()];
      R.RegelHinzufuegen(std::string(1, Kopf) + "->" + Rumpf);
    }
    R.Axiom = Zeichen.substr(Zufall() % 4, 2);
    std::string Text = R.Axiom;
    for (int t = 0; t <= 40; ++t) {
      if (t > 0) {
        try {
          R.Ableitungsschritt(Text);
        } catch (const EZulang& Fehler) {
          EXPECT_EQ(Fehlertext([&] { R.Ableitung(t); }), Fehler.what()) << Versuch;
          break;
        }
      }
      ASSERT_EQ(R.Ableitung(t), Text) << Versuch << " Tiefe " << t;
    }
  }
}

// A string that grows slowly reaches the limit only after tens of thousands
// of steps: the derivation still ends at once, with the length where it crossed,
// and a depth just below the limit gives the whole string.
TEST(Ableitung, LangsamWachsendeZeichenketten) {
  TRegelsystem R;
  R.RegelHinzufuegen("F->[F]");
  R.Axiom = "F";
  EXPECT_EQ(Fehlertext([&] { R.Ableitung(99999); }), "Stringlaenge ist zu groß:  50001");
  EXPECT_EQ(Fehlertext([&] { R.Ableitung(INT32_MAX); }), "Stringlaenge ist zu groß:  50001");
  EXPECT_EQ(R.Ableitung(24999), std::string(24999, '[') + "F" + std::string(24999, ']'));
  // Growth only every other step, by a character without a rule.
  TRegelsystem Z;
  Z.RegelHinzufuegen("A->B");
  Z.RegelHinzufuegen("B->Ax");
  Z.Axiom = "A";
  EXPECT_EQ(Z.Ableitung(99997).size(), 49999u);
  EXPECT_EQ(Z.Ableitung(99999).size(), 50000u);
  EXPECT_EQ(Fehlertext([&] { Z.Ableitung(100001); }), "Stringlaenge ist zu groß:  50001");
}

TEST(Ableitung, Randfaelle) {
  TRegelsystem R;
  R.RegelHinzufuegen("A->F A");
  R.RegelHinzufuegen("B->");
  R.RegelHinzufuegen("A->X");
  R.Axiom = " AB ";
  EXPECT_EQ(R.Ableitung(1), " FA ");
  EXPECT_EQ(R.Ableitung(2), " FFA ");
  EXPECT_EQ(R.TerminalAbleitung(2), "FF");
  R.Axiom = "";
  EXPECT_EQ(R.Ableitung(5), "");
  EXPECT_EQ(R.TerminalAbleitung(5), "");
  std::string Text = "+-F[]f ABCx\xE4";
  R.NichtterminaleEntfernen(Text);
  EXPECT_EQ(Text, "+-F[]f");
}

}  // namespace
