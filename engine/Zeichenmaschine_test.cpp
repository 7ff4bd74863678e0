#include "engine/Zeichenmaschine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "helpers/Hilfen.h"
#include "helpers/TestHilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/Protokoll_test.h"
#include "turtle/turtleUnit.h"

namespace {

using Liste = std::vector<std::string>;

// What the engine reports, written down.
class TTestBeobachter : public TLaufbeobachter {
 public:
  bool Weiter() override {
    ++Pumpen;
    if (BeiPumpe) BeiPumpe(Pumpen);
    return true;
  }
  void Unterbrechbar(bool An) override {
    AbbrechenSichtbar = An;
    Ablauf.push_back(An ? "Abbrechen an" : "Abbrechen aus");
  }
  bool WeiterFragen() override {
    ++Fragen;
    Ablauf.push_back("Frage");
    if (Antworten.empty()) return true;
    bool A = Antworten.front();
    Antworten.erase(Antworten.begin());
    return A;
  }
  void SchrittmodusBeginnt(const std::string* Zeichenfolge) override {
    ZeichenSichtbar = true;
    StringSichtbar = Zeichenfolge != nullptr;
    Ablauf.push_back(Zeichenfolge ? "Schritte " + *Zeichenfolge : "Schritte ohne Zeichenfolge");
  }
  void ZeichenZeigen(char c, size_t Position) override {
    Zeichen = std::string(1, c);
    Ablauf.push_back("Zeichen " + Zeichen);
    if (Position != KeinePosition) Ablauf.push_back("Markieren " + std::to_string(Position));
  }
  void SchrittmodusEndet() override {
    ZeichenSichtbar = StringSichtbar = false;
    Ablauf.push_back("Ende");
  }
  void SchrittweiteGesetzt(double x) override { Angezeigt = KommazahlAlsText(3, x); }
  void Meldung(const std::string& T) override { Meldungen.push_back(T); }
  void Fortschritt(double Anteil) override { Anteile.push_back(Anteil); }
  void StartGesetzt(double X, double Y) override {
    Starts.push_back(TProtokollLeinwand::Punkt(static_cast<int>(X), static_cast<int>(Y)));
  }

  int Pumpen = 0;
  std::function<void(int)> BeiPumpe;
  int Fragen = 0;
  std::vector<bool> Antworten;  // then always OK
  Liste Ablauf;
  std::string Zeichen, Angezeigt;
  Liste Meldungen;
  Liste Starts;  // of centred runs
  std::vector<double> Anteile;
  bool AbbrechenSichtbar = false, ZeichenSichtbar = false, StringSichtbar = false;
  int Breite = 1000, Hoehe = 680;
};

class Zeichnen : public ::testing::Test {
 protected:
  // The engine reads the rule system and the settings live, as the window's does.
  Zeichnen() : Turtle(Leinwand), M(Turtle, Fenster) {
    Art.Regelsystem = &R;
    Art.Einstellungen = &E;
    M.Einrichten(TLauf(), Art);
    M.NachrichtenabstandSetzen(std::chrono::nanoseconds(0));  // every pass is real
    E.SchrittweiteAnpassen = false;
  }
  // A whole run of the rule system from this start, with the engine's angles and step.
  void Lauf(int32_t Tiefe, double X, double Y, double Startwinkel) {
    TLauf L;
    L.WinkelPlus = M.WinkelPlus();
    L.WinkelMinus = -M.WinkelMinus();
    L.Schrittweite = M.Schrittweite();
    L.Tiefe = Tiefe;
    L.StartX = X;
    L.StartY = Y;
    L.Startwinkel = Startwinkel;
    L.Breite = Fenster.Breite;
    L.Hoehe = Fenster.Hoehe;
    M.Zeichenlauf(L, Art);
  }
  void Winkel(double Plus, double Minus) { M.WinkelSetzen(Plus, Minus); }
  void Regeln(const Liste& Zeilen) {
    while (R.Count() > 0) R.Delete(0);
    for (const auto& Z : Zeilen) R.RegelHinzufuegen(Z);
  }
  void Start(double X, double Y, double Richtung, double Schritt) {
    Turtle.XSetzen(X);
    Turtle.YSetzen(Y);
    Turtle.RichtungSetzen(Richtung);
    M.SchrittweiteSetzen(Schritt);
  }
  void Ausfuehren(const std::string& s) {
    for (char c : s) M.ZeichenAusfuehren(c);
  }
  struct TStrecke {
    int X1, Y1, X2, Y2;
  };
  std::vector<TStrecke> Strecken() const {
    std::vector<TStrecke> S;
    for (const auto& L : Leinwand.Linien) {
      TStrecke T{};
      EXPECT_EQ(sscanf(L.c_str(), "(%d,%d)-(%d,%d)", &T.X1, &T.Y1, &T.X2, &T.Y2), 4) << L;
      S.push_back(T);
    }
    return S;
  }
  // The box of the lines drawn, in pixels.
  TStrecke Umfang() const {
    const auto S = Strecken();
    EXPECT_FALSE(S.empty());
    if (S.empty()) return {};
    TStrecke U{S[0].X1, S[0].Y1, S[0].X1, S[0].Y1};
    for (const TStrecke& T : S) {
      U.X1 = std::min({U.X1, T.X1, T.X2});
      U.X2 = std::max({U.X2, T.X1, T.X2});
      U.Y1 = std::min({U.Y1, T.Y1, T.Y2});
      U.Y2 = std::max({U.Y2, T.Y1, T.Y2});
    }
    return U;
  }
  void Mitte(double& X, double& Y) const {
    const TStrecke U = Umfang();
    X = (U.X1 + U.X2) / 2.0;
    Y = (U.Y1 + U.Y2) / 2.0;
  }
  TRegelsystem R;
  TProtokollLeinwand Leinwand;
  TTurtle Turtle;
  TTestBeobachter Fenster;
  TEinstellungen E;
  TLaufart Art;
  TZeichenmaschine M;
};

TEST_F(Zeichnen, AlphabetInExactMode) {
  struct Fall {
    std::string Text;
    double X, Y, Richtung, Schritt, Winkel;
    Liste Linien;
  };
  const Fall Faelle[] = {
      {"F+F", 100, 100, 90, 50, 90, {"(100,100)-(100,50)", "(100,50)-(50,50)"}},
      {"F-F", 100, 100, 90, 50, 90, {"(100,100)-(100,50)", "(100,50)-(150,50)"}},
      {"FfF", 0, 100, 0, 10, 90, {"(0,100)-(10,100)", "(20,100)-(30,100)"}},
      {"F[+F]F",
       100,
       100,
       90,
       10,
       90,
       {"(100,100)-(100,90)", "(100,90)-(90,90)", "(100,90)-(100,80)"}},
      {"AXYZgGb19 ", 100, 100, 90, 10, 90, {}},
  };
  for (const Fall& F : Faelle) {
    Leinwand.Linien.clear();
    Start(F.X, F.Y, F.Richtung, F.Schritt);
    Winkel(F.Winkel, F.Winkel);
    Ausfuehren(F.Text);
    EXPECT_EQ(Leinwand.Linien, F.Linien) << F.Text;
  }
  EXPECT_EQ(Turtle.Richtung, 90.0);  // F[+F]F ends with the start heading
  EXPECT_EQ(M.Zufallszustand(), 0u);
}

TEST(Zufall, GeneratorSequenceFromZero) {
  TZufall Z;
  EXPECT_EQ(Z.Zufallszahl(), 2.3283064365386963e-10);
  EXPECT_EQ(Z.Zufallszustand, 1u);
  EXPECT_EQ(Z.Zufallszahl(), 0.031379939522594213);
  EXPECT_EQ(Z.Zufallszahl(), 0.8610484672244638);
  EXPECT_EQ(Z.Zufallszustand, 3698175007u);
  EXPECT_EQ(Z.Zufallsfaktor(0.3), 0.20258096512407064 * 2 * 0.3 + 0.7);
  EXPECT_EQ(Z.Zufallsfaktor(0), 1.0);
  EXPECT_EQ(Z.Zufallszustand, 1172187917u);
}

TEST_F(Zeichnen, AlphabetInRandomMode) {
  E.Zufallsmodus = true;
  Start(500, 340, 90, 10);
  Ausfuehren("FAXF");
  // Factors 0.7000000001 and 0.7188.. of the first two numbers.
  EXPECT_EQ(Leinwand.Linien, (Liste{"(500,340)-(500,333)", "(500,333)-(500,326)"}));
  EXPECT_EQ(M.Zufallszustand(), 134775814u);
  Winkel(30, -M.WinkelMinus());
  Ausfuehren("+");  // 30 * (0.7 + 0.6 * 0.861..)
  EXPECT_DOUBLE_EQ(Turtle.Richtung, 90 + 30 * (0.7 + 0.6 * 0.8610484672244638));

  // Deviations 0: the exact picture, but one number per F, f, + and -.
  E.AbweichungPlus = E.AbweichungMinus = E.AbweichungSchritt = 0;
  E.Saat = 0;
  M.Einrichten(TLauf(), Art);  // the generator at the seed
  Leinwand.Linien.clear();
  Start(100, 100, 90, 50);
  Winkel(90, 90);
  Ausfuehren("F+fB-F[F]");
  EXPECT_EQ(Leinwand.Linien, (Liste{"(100,100)-(100,50)", "(50,50)-(50,0)", "(50,0)-(50,-50)"}));
  EXPECT_EQ(M.Zufallszustand(), 2884733762u);  // six numbers drawn
}

TEST_F(Zeichnen, ThicknessShrinksPerLevel) {
  E.Anfangsdicke = 10;
  E.Schwundfaktor = 0.8;
  Turtle.DickeSetzen(E.Anfangsdicke);
  Ausfuehren("F[F[F[F[F[F]]]]]");
  Liste Breiten;
  for (const auto& A : Leinwand.Aufrufe) Breiten.push_back(A.substr(A.rfind(' ') + 1));
  EXPECT_EQ(Breiten, (Liste{"b10", "b8", "b6", "b5", "b4", "b3"}));

  E.Schwundfaktor = 0.5;
  Turtle.DickeSetzen(4);
  Ausfuehren("[[[");
  EXPECT_EQ(Turtle.Dicke, 0.5);
  Ausfuehren("]]]");
  EXPECT_EQ(Turtle.Dicke, 4.0);
}

TEST_F(Zeichnen, BuiltInSystemAtDepthOne) {
  R.RegelnHinzufuegen(StandardRegeln);
  Start(500, 680, 90, 10);
  M.zeichnenRek(R.Axiom, 1);
  EXPECT_EQ(Leinwand.Linien, (Liste{"(500,680)-(500,670)", "(500,670)-(500,660)",
                                    "(500,660)-(495,651)", "(500,660)-(505,651)"}));
  EXPECT_EQ(Runden(Turtle.X), 500);
  EXPECT_EQ(Runden(Turtle.Y), 660);
  EXPECT_DOUBLE_EQ(Turtle.Richtung, 60.0);
  EXPECT_EQ(Fenster.Ablauf, (Liste{"Abbrechen an", "Abbrechen aus"}));
}

TEST_F(Zeichnen, ExpansionOrderAndMessagePasses) {
  struct Fall {
    Liste Regeln;
    std::string Axiom;
    int Tiefe;
    int Linien, Pumpen;
  };
  const Fall Faelle[] = {
      {{}, "F+F", 0, 2, 1},        // depth 0: the axiom itself, one pass
      {{"F->F+F"}, "F", 2, 4, 4},  // F+F+F+F; a pass per expanded rule
      {{"A->A"}, "FAF", 3, 2, 1},  // a rule giving itself is no rule
      {{"X->"}, "FXF", 1, 2, 2},   // empty replacement: X vanishes
      {{"F->FF"}, "F", 10, 1024, 1024},
  };
  for (const Fall& F : Faelle) {
    Regeln(F.Regeln);
    Leinwand.Linien.clear();
    Fenster.Pumpen = 0;
    Start(500, 340, 90, 1);
    M.zeichnenRek(F.Axiom, F.Tiefe);
    EXPECT_EQ(static_cast<int>(Leinwand.Linien.size()), F.Linien) << F.Axiom << F.Tiefe;
    EXPECT_EQ(Fenster.Pumpen, F.Pumpen) << F.Axiom << F.Tiefe;
  }
  Regeln({"F->F+F"});
  Leinwand.Linien.clear();
  Start(100, 100, 90, 10);
  Winkel(90, -M.WinkelMinus());
  M.zeichnenRek("F", 2);
  EXPECT_EQ(Leinwand.Linien, (Liste{"(100,100)-(100,90)", "(100,90)-(90,90)", "(90,90)-(90,100)",
                                    "(90,100)-(100,100)"}));
}

// The length limit of derived strings does not apply to drawing at once.
TEST_F(Zeichnen, DepthTwentyDrawsAMillionLines) {
  TZaehlLeinwand Z;
  TTurtle T(Z);
  TZeichenmaschine N(T, Fenster);
  Regeln({"F->FF"});
  R.Axiom = "F";
  TLauf L;
  L.Tiefe = 20;
  N.Zeichenlauf(L, Art);
  EXPECT_EQ(Z.Anzahl, 1048576u);
}

TEST_F(Zeichnen, AbbrechenStopsAtTheNextCheck) {
  Regeln({"F->FF"});
  // Pass 11 starts the first leaf, pass 12 the second: the first leaf's two
  // lines are drawn, nothing after the stop.
  Fenster.BeiPumpe = [&](int n) {
    if (n == 12) M.Abbrechen();
  };
  M.zeichnenRek("F", 10);
  EXPECT_EQ(Leinwand.Linien.size(), 2u);
  EXPECT_FALSE(Fenster.AbbrechenSichtbar);
  EXPECT_EQ(Fenster.Pumpen, 20);  // expansions still start, and return at once
  // The next drawing clears the flag and draws again from the start.
  Fenster.BeiPumpe = nullptr;
  Leinwand.Linien.clear();
  M.zeichnenRek("F", 3);
  EXPECT_EQ(Leinwand.Linien.size(), 8u);
}

// The window repaints in its message pass, so everything drawn must be out.
TEST_F(Zeichnen, CanvasIsFlushedBeforeEachMessagePass) {
  Regeln({"F->F[+F]F"});
  int Geprueft = 0;
  Fenster.BeiPumpe = [&](int) {
    EXPECT_EQ(Leinwand.Ausgegeben, Leinwand.Linien.size());
    ++Geprueft;
  };
  M.zeichnenRek("F", 4);
  EXPECT_EQ(Geprueft, 1 + 1 + 3 + 9 + 27);
  EXPECT_EQ(Leinwand.Ausgegeben, 81u);  // and at the end
}

TEST_F(Zeichnen, ThrottledMessagesRunAtStartOnly) {
  M.NachrichtenabstandSetzen(std::chrono::seconds(100));
  Regeln({"F->FF"});
  M.zeichnenRek("F", 12);
  EXPECT_EQ(Fenster.Pumpen, 1);
  EXPECT_EQ(M.Nachrichtenlaeufe(), 1u);
  EXPECT_EQ(Leinwand.Linien.size(), 4096u);
}

TEST_F(Zeichnen, RuleChangedDuringMessagesActsOnNextLookup) {
  Regeln({"F->FF"});
  Fenster.BeiPumpe = [&](int n) {
    if (n == 1) R.RegelErsetzen("F->FFF", 0);
  };
  M.zeichnenRek("F", 1);
  EXPECT_EQ(Leinwand.Linien.size(), 3u);
}

TEST_F(Zeichnen, StepByStepAsksBeforeEachCharacter) {
  Start(100, 100, 90, 50);
  Winkel(90, -M.WinkelMinus());
  Fenster.Antworten = {true};
  Fenster.BeiPumpe = nullptr;
  M.zeichnenSchritt("F+F");
  EXPECT_EQ(Fenster.Ablauf, (Liste{"Frage", "Zeichen F", "Markieren 0", "Frage", "Zeichen +",
                                   "Markieren 1", "Frage", "Zeichen F", "Markieren 2"}));
  EXPECT_EQ(Leinwand.Linien, (Liste{"(100,100)-(100,50)", "(100,50)-(50,50)"}));

  // Stop at the first prompt: nothing drawn, both fields hidden.
  Fenster.Ablauf.clear();
  Leinwand.Linien.clear();
  Fenster.Antworten = {false};
  M.zeichnenSchritt("F+F");
  EXPECT_EQ(Fenster.Ablauf, (Liste{"Frage", "Ende"}));
  EXPECT_TRUE(Leinwand.Linien.empty());

  Fenster.Ablauf.clear();
  M.zeichnenSchritt("");
  EXPECT_TRUE(Fenster.Ablauf.empty());
}

TEST_F(Zeichnen, StepByStepRunsOfTheBuiltInSystem) {
  R.RegelnHinzufuegen(StandardRegeln);
  R.Axiom = "A";
  E.Schrittmodus = true;
  Lauf(1, 500, 680, 90);
  EXPECT_EQ(Fenster.Fragen, 11);  // FF+[F]--[F]
  EXPECT_EQ(Leinwand.Linien, (Liste{"(500,680)-(500,670)", "(500,670)-(500,660)",
                                    "(500,660)-(495,651)", "(500,660)-(505,651)"}));
  EXPECT_EQ(Fenster.Ablauf[0], "Schritte FF+[F]--[F]");
  EXPECT_FALSE(Fenster.ZeichenSichtbar);
  EXPECT_FALSE(Fenster.StringSichtbar);

  // Expanding on the fly asks for the A that remain too, and draws nothing for them.
  Fenster.Fragen = 0;
  Leinwand.Linien.clear();
  Start(500, 680, 90, 10);
  M.zeichnenSchrittRek("A", 1);
  EXPECT_EQ(Fenster.Fragen, 13);  // FF+[FA]--[FA]
  EXPECT_EQ(Leinwand.Linien.size(), 4u);
}

TEST_F(Zeichnen, StoppingDeepInsideAsksNoMore) {
  Regeln({"F->F[+F]F"});
  Fenster.Antworten = {true, true, true, false};
  M.zeichnenSchrittRek("FF", 3);
  EXPECT_EQ(Fenster.Fragen, 4);
  EXPECT_EQ(Leinwand.Linien.size(), 1u);  // F, [, +: then stop before F
  EXPECT_EQ(Fenster.Ablauf.back(), "Ende");
}

TEST_F(Zeichnen, StepModeFallsBackWhenTheStringIsTooLong) {
  Regeln({"F->FF"});
  R.Axiom = "F";
  E.Schrittmodus = true;
  Fenster.Antworten = {true, true, true, false};
  Lauf(20, 500, 680, 90);
  EXPECT_EQ(Fenster.Fragen, 4);
  EXPECT_EQ(Leinwand.Linien.size(), 3u);
  EXPECT_EQ(Fenster.Ablauf[0], "Schritte ohne Zeichenfolge");  // never shown

  // 99 characters are shown, 100 are not.
  for (int Laenge : {99, 100}) {
    Regeln({});
    R.Axiom = std::string(Laenge, '+');
    Fenster.Ablauf.clear();
    Fenster.Antworten = {false};
    Lauf(0, 500, 680, 90);
    EXPECT_EQ(Fenster.Ablauf[0],
              Laenge == 99 ? "Schritte " + R.Axiom : "Schritte ohne Zeichenfolge");
  }
}

TEST_F(Zeichnen, StepSizeFit) {
  E.SchrittweiteAnpassen = true;
  Fenster.Breite = 800;
  Fenster.Hoehe = 600;
  R.Axiom = "F";
  Lauf(3, 400, 600, 90);
  EXPECT_EQ(Fenster.Angezeigt, "356.436");
  EXPECT_EQ(M.Schrittweite(), 600 / 1.01 * 0.6);
  EXPECT_EQ(Fenster.Ablauf[0], "Abbrechen an");

  R.Axiom = "+-AB";  // nothing moves: no limit on the result
  Lauf(3, 400, 600, 90);
  EXPECT_EQ(Fenster.Angezeigt, "36000.000");

  // The walk measures the extent of the drawing at heading 0.
  Regeln({"X->F+[[X]-X]-F[-X]+X", "F->FF"});
  R.Axiom = "X";
  Winkel(25, 25);
  double w, h;
  M.SchrittweiteBestimmen(4, w, h);
  Leinwand.Linien.clear();
  Start(0, 0, 0, 100);
  M.zeichnenRek("X", 4);
  const TStrecke U = Umfang();
  EXPECT_NEAR(w, (U.X2 - U.X1) / 100.0, 0.01);
  EXPECT_NEAR(h, (U.Y2 - U.Y1) / 100.0, 0.01);
  EXPECT_GT(h, 10.0);
}

TEST_F(Zeichnen, FitStackHolds101States) {
  E.SchrittweiteAnpassen = true;
  M.SchrittweiteSetzen(7);
  R.Axiom = std::string(101, '[') + "F" + std::string(101, ']');
  double w, h;
  M.SchrittweiteBestimmen(0, w, h);
  EXPECT_EQ(w, 1.0);
  R.Axiom = std::string(102, '[') + "F" + std::string(102, ']');
  EXPECT_EQ(Fehlertext([&] { Lauf(0, 500, 680, 90); }), "Stapelüberlauf");
  EXPECT_TRUE(Leinwand.Linien.empty());
  EXPECT_EQ(M.Schrittweite(), 7.0);
  EXPECT_FALSE(Fenster.AbbrechenSichtbar);
  R.Axiom = "]]F";  // passed over by the walk
  M.SchrittweiteBestimmen(0, w, h);
  EXPECT_EQ(w, 1.0);
}

TEST_F(Zeichnen, StoppedFitDrawsWithStepOneTenth) {
  M.JedesZeichen(true);  // a jump would pass over the walk's passes
  E.SchrittweiteAnpassen = true;
  Regeln({"F->FF"});
  R.Axiom = "F";
  Fenster.BeiPumpe = [&](int n) {
    if (n == 3) M.Abbrechen();
  };
  Lauf(4, 500, 680, 90);
  EXPECT_TRUE(M.BestimmungAbgebrochen());
  EXPECT_EQ(Fenster.Meldungen,
            Liste{"Bestimmung der Schrittweite abgebrochen.\r\nSchrittweite 0.1 gewählt"});
  EXPECT_EQ(M.Schrittweite(), 0.1);
  EXPECT_EQ(Leinwand.Linien.size(), 16u);  // the drawing still takes place
}

TEST_F(Zeichnen, TurtleStackErrorsEndTheRunOnly) {
  R.Axiom = "F]F";
  EXPECT_EQ(Fehlertext<ETurtleStapel>([&] { Lauf(0, 500, 680, 90); }),
            "Stapelfehler: Um mehr Positionen zurück als vorher gemerkt");
  EXPECT_EQ(Leinwand.Linien.size(), 1u);  // the partial picture stays
  EXPECT_FALSE(Fenster.AbbrechenSichtbar);

  R.Axiom = std::string(101, '[');
  EXPECT_EQ(Fehlertext([&] { Lauf(0, 500, 680, 90); }), "Zu viele gemerkte Turtle-Positionen");
  // Leftovers of that run don't count against the next one.
  R.Axiom = std::string(100, '[') + "F" + std::string(100, ']');
  Lauf(0, 500, 680, 90);
  EXPECT_EQ(Turtle.Gemerkt, 0);
}

TEST_F(Zeichnen, RunPutsTheTurtleOnItsStart) {
  E.Zeichenfarbe = 0x0000FF;
  E.Anfangsdicke = 3;
  Turtle.DickeSetzen(9);
  R.Axiom = "F";
  M.SchrittweiteSetzen(10);
  Lauf(0, 20.5, 30, 0);
  EXPECT_EQ(Leinwand.Aufrufe, Liste{"Linie (20,30)-(30,30) b3"});
  EXPECT_EQ(Leinwand.Farbe, 0x0000FFu);
  EXPECT_EQ(Fenster.Ablauf, (Liste{"Abbrechen an", "Abbrechen aus"}));
}

TEST_F(Zeichnen, FloatingPointFaultsEndTheRun) {
  R.Axiom = "FFF";
  M.SchrittweiteSetzen(1e308);  // far beyond the canvas before it overflows
  EXPECT_EQ(Fehlertext([&] { Lauf(0, 500, 680, 90); }), "Ungültige Gleitkommaoperation");
  M.SchrittweiteSetzen(10);
  E.Zufallsmodus = true;
  E.AbweichungSchritt = 1e308;
  EXPECT_EQ(Fehlertext([&] { Lauf(0, 500, 680, 90); }), "Gleitkommaüberlauf");
  E.Zufallsmodus = false;
  E.Schwundfaktor = 1e300;
  R.Axiom = "[[";
  E.Anfangsdicke = 1e10;
  EXPECT_EQ(Fehlertext([&] { Lauf(0, 500, 680, 90); }), "Gleitkommaüberlauf");
  // The walk does not normalise its heading.
  E.SchrittweiteAnpassen = true;
  Winkel(1e308, -M.WinkelMinus());
  R.Axiom = "++";
  EXPECT_EQ(Fehlertext([&] { Lauf(0, 500, 680, 90); }), "Gleitkommaüberlauf");
}

// A press of "Abbrechen" seen at the pass that ends the fitting stops the
// fitting, not the drawing after it; that drawing lets the messages in at its
// start and is complete. Passes are throttled by time here as in the window.
TEST_F(Zeichnen, LateStopBelongsToTheFittingNotTheDrawing) {
  Regeln({"F->FF"});
  R.Axiom = "F";
  E.SchrittweiteAnpassen = true;
  M.NachrichtenabstandSetzen(std::chrono::hours(1));
  size_t LinienBeimStart = 99;
  Fenster.BeiPumpe = [&](int n) {
    if (n == 2) M.Abbrechen();
    if (n == 3) LinienBeimStart = Leinwand.Linien.size();
  };
  Lauf(6, 500, 680, 90);
  EXPECT_EQ(Fenster.Meldungen,
            Liste{"Bestimmung der Schrittweite abgebrochen.\r\nSchrittweite 0.1 gewählt"});
  EXPECT_EQ(M.Schrittweite(), 0.1);
  EXPECT_EQ(Fenster.Pumpen, 3);
  EXPECT_EQ(LinienBeimStart, 0u);
  EXPECT_EQ(Leinwand.Linien.size(), 64u);
}

// The clock is read after a share of work, and thick lines are much work: a
// drawing of lines that each cover the picture looks at it every few lines,
// also within one long string, while thin lines leave it alone for long.
TEST_F(Zeichnen, ThickLinesBringTheClockCloser) {
  M.NachrichtenabstandSetzen(std::chrono::nanoseconds(1));  // every look at the clock is a pass
  E.SchrittweiteAnpassen = false;
  const struct {
    std::string Axiom;
    Liste Regeln;
    int Tiefe;
  } Faelle[] = {{"F", {"F->FFFFFFFFFFFFFFF"}, 4}, {std::string(3000, 'F'), {}, 0}};
  for (const auto& F : Faelle) {
    Regeln(F.Regeln);
    R.Axiom = F.Axiom;
    for (uint64_t Aufwand : {0, 2600}) {
      Leinwand.AufwandProLinie = Aufwand;
      Leinwand.Linien.clear();
      Fenster.Pumpen = 0;
      Lauf(F.Tiefe, 500, 680, 90);
      const size_t Linien = Leinwand.Linien.size();
      if (Aufwand == 0)
        EXPECT_LT(Fenster.Pumpen, 20) << F.Axiom.size();
      else
        EXPECT_GT(Fenster.Pumpen, static_cast<int>(Linien / 20)) << F.Axiom.size();
    }
  }
}

// Step by step, the string shown and the string walked come from the axiom the
// run started with, also when the fitting's messages changed the axiom.
TEST_F(Zeichnen, StepStringFromTheAxiomTheRunStartedWith) {
  R.Axiom = "F";
  E.SchrittweiteAnpassen = true;
  E.Schrittmodus = true;
  Fenster.BeiPumpe = [&](int n) {
    if (n == 1) R.Axiom = "F+F";
  };
  Lauf(0, 500, 680, 90);
  EXPECT_NE(std::find(Fenster.Ablauf.begin(), Fenster.Ablauf.end(), "Schritte F"),
            Fenster.Ablauf.end());
  EXPECT_EQ(Fenster.Fragen, 1);
}

// With every pass real, the share of characters done so far is reported at
// each pass: F->FF at depth 3 walks "F", "FF", 2 x "FF" and 4 x "FF" at the
// last level, each after a pass.
TEST_F(Zeichnen, ProgressOfTheDrawingAndTheWalk) {
  M.JedesZeichen(true);  // jumps would pass over the walk's passes
  Regeln({"F->FF"});
  R.Axiom = "F";
  const std::vector<double> Tiefe3 = {0, 0, 0, 0, 0, 0.25, 0.5, 0.5, 0.75, 1};
  M.zeichnenRek("F", 3);
  EXPECT_EQ(Fenster.Anteile, Tiefe3);

  Fenster.Anteile.clear();
  double w, h;
  M.SchrittweiteBestimmen(3, w, h);
  EXPECT_EQ(Fenster.Anteile, Tiefe3);

  // A whole run: the walk, then the drawing, each from 0 to 1.
  Fenster.Anteile.clear();
  E.SchrittweiteAnpassen = true;
  Lauf(3, 500, 680, 90);
  std::vector<double> Beide = Tiefe3;
  Beide.insert(Beide.end(), Tiefe3.begin(), Tiefe3.end());
  EXPECT_EQ(Fenster.Anteile, Beide);

  // Characters that act above the last level count where they act; the walk
  // has a pass before each of them too.
  Regeln({"A->F+A"});  // F+F+F+A at depth 3
  R.Axiom = "A";
  Fenster.Anteile.clear();
  M.zeichnenRek("A", 3);
  EXPECT_EQ(Fenster.Anteile, (std::vector<double>{0, 0, 0, 2 / 7.0, 4 / 7.0, 1}));
  Fenster.Anteile.clear();
  M.SchrittweiteBestimmen(3, w, h);
  EXPECT_EQ(Fenster.Anteile,
            (std::vector<double>{0, 0, 0, 0, 1 / 7.0, 2 / 7.0, 2 / 7.0, 3 / 7.0, 4 / 7.0, 1}));

  // Step mode reports none.
  Fenster.Anteile.clear();
  E.SchrittweiteAnpassen = false;
  E.Schrittmodus = true;
  Lauf(3, 500, 680, 90);
  EXPECT_TRUE(Fenster.Anteile.empty());
}

TEST_F(Zeichnen, ProgressRisesToOneOnlyWhenComplete) {
  const struct {
    Liste Regeln;
    std::string Axiom;
    int Tiefe;
  } Faelle[] = {
      {{"F->FB", "B->F", "A->FF+[FA]--[FA]"}, "A", 7},
      {{"X->F+[[X]-X]-F[-X]+X", "F->FF"}, "X", 5},
      {{"A->A", "X->", "F->FXF"}, "FAXF", 6},
  };
  for (const auto& F : Faelle) {
    Regeln(F.Regeln);
    R.Axiom = F.Axiom;
    for (bool Anpassen : {false, true}) {
      Fenster.Anteile.clear();
      E.SchrittweiteAnpassen = Anpassen;
      Lauf(F.Tiefe, 500, 680, 90);
      const auto& A = Fenster.Anteile;
      ASSERT_GT(A.size(), 3u) << F.Axiom;
      EXPECT_EQ(A.front(), 0.0) << F.Axiom;
      EXPECT_EQ(A.back(), 1.0) << F.Axiom;
      EXPECT_EQ(std::count(A.begin(), A.end(), 1.0), Anpassen ? 2 : 1) << F.Axiom;
      EXPECT_LE(A.back(), 1.0) << F.Axiom;
      // The walk's values, then the drawing's, each never falling.
      const auto Mitte = Anpassen ? std::find(A.begin(), A.end(), 1.0) + 1 : A.begin();
      EXPECT_TRUE(std::is_sorted(A.begin(), Mitte)) << F.Axiom;
      EXPECT_TRUE(std::is_sorted(Mitte, A.end())) << F.Axiom;
    }
  }

  // Stopped: the last value stays below 1.
  M.JedesZeichen(true);  // jumps would pass over the walk's passes
  Regeln({"F->FF"});
  Fenster.Anteile.clear();
  Fenster.Pumpen = 0;
  Fenster.BeiPumpe = [&](int n) {
    if (n == 12) M.Abbrechen();
  };
  M.zeichnenRek("F", 10);
  EXPECT_EQ(Fenster.Anteile.back(), 2 / 1024.0);
  Fenster.Anteile.clear();
  Fenster.Pumpen = 0;
  double w, h;
  R.Axiom = "F";
  M.SchrittweiteBestimmen(10, w, h);
  EXPECT_TRUE(M.BestimmungAbgebrochen());
  EXPECT_EQ(Fenster.Anteile.back(), 2 / 1024.0);
}

TEST_F(Zeichnen, ProgressSurvivesWrongTotals) {
  // Nothing to draw: no division by zero.
  M.zeichnenRek("", 5);
  EXPECT_EQ(Fenster.Anteile, (std::vector<double>{0, 1, 1}));

  // Rules that grow during the run: the count passes the total and stays at 1.
  Regeln({"F->FF"});
  Fenster.Anteile.clear();
  Fenster.Pumpen = 0;
  Fenster.BeiPumpe = [&](int n) {
    if (n == 1) R.RegelErsetzen("F->FFF", 0);
  };
  M.zeichnenRek("F", 3);
  EXPECT_EQ(Leinwand.Linien.size(), 27u);
  EXPECT_EQ(Fenster.Anteile,
            (std::vector<double>{0, 0, 0, 0, 0, 0.375, 0.75, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

  // Rules that shrink: it ends at 1 all the same.
  Regeln({"F->FF"});
  Fenster.Anteile.clear();
  Fenster.Pumpen = 0;
  Fenster.BeiPumpe = [&](int n) {
    if (n == 1) R.RegelErsetzen("F->", 0);
  };
  M.zeichnenRek("F", 3);
  EXPECT_EQ(Fenster.Anteile, (std::vector<double>{0, 0, 0, 1}));
}

// A drawing started from a message pass reports its own progress; the outer
// one then goes on with its own count.
TEST_F(Zeichnen, NestedDrawingHasItsOwnProgress) {
  Regeln({"F->FF"});
  Fenster.BeiPumpe = [&](int n) {
    if (n == 2) M.zeichnenRek("F", 1);
  };
  M.zeichnenRek("F", 2);
  EXPECT_EQ(Fenster.Anteile, (std::vector<double>{0, 0, 0,     // outer
                                                  0, 0, 0, 1,  // inner
                                                  0, 0.5, 1}));
  EXPECT_EQ(Leinwand.Linien.size(), 6u);
}

TEST_F(Zeichnen, StepModeMarksTheActingCharacter) {
  R.RegelnHinzufuegen(StandardRegeln);
  R.Axiom = "A";
  E.Schrittmodus = true;
  Fenster.Antworten = {true, true, true, true, true, false};
  Lauf(1, 500, 680, 90);
  Liste Marken;
  for (const auto& A : Fenster.Ablauf)
    if (A.rfind("Markieren", 0) == 0) Marken.push_back(A);
  EXPECT_EQ(Marken,
            (Liste{"Markieren 0", "Markieren 1", "Markieren 2", "Markieren 3", "Markieren 4"}));

  // Expanding on the fly shows no string, so nothing is marked.
  Fenster.Ablauf.clear();
  M.zeichnenSchrittRek("A", 1);
  EXPECT_EQ(std::count_if(Fenster.Ablauf.begin(), Fenster.Ablauf.end(),
                          [](const std::string& A) { return A.rfind("Markieren", 0) == 0; }),
            0);
  EXPECT_EQ(Fenster.Fragen, 6 + 13);
}

// Centred on the canvas (1000 x 680), not on the window (800 x 600): the box
// of the lines drawn has its middle on the canvas's middle, for any start
// angle, with the step fitted or not; the fitted step is the one without
// centring, and the run starts where it tells the window.
TEST_F(Zeichnen, CentredDrawingSitsInTheMiddleOfTheCanvas) {
  Regeln({"X->F+[[X]-X]-F[-X]+X", "F->FF"});
  R.Axiom = "X";
  Winkel(25, 25);
  Fenster.Breite = 800;
  Fenster.Hoehe = 600;
  E.SchrittweiteAnpassen = true;
  Lauf(4, 500, 680, 90);
  const double Angepasst = M.Schrittweite();
  E.Zentriert = true;
  for (double Winkel : {0.0, 90.0, 200.0}) {
    for (bool Anpassen : {false, true}) {
      E.SchrittweiteAnpassen = Anpassen;
      M.SchrittweiteSetzen(3);
      Leinwand.Linien.clear();
      Fenster.Starts.clear();
      Lauf(4, 10, 20, Winkel);
      double X, Y;
      Mitte(X, Y);
      EXPECT_NEAR(X, 499.5, 1) << Winkel << Anpassen;
      EXPECT_NEAR(Y, 339.5, 1) << Winkel << Anpassen;
      EXPECT_EQ(M.Schrittweite(), Anpassen ? Angepasst : 3);
      ASSERT_EQ(Fenster.Starts.size(), 1u);
      EXPECT_EQ(Leinwand.Linien[0].rfind(Fenster.Starts[0] + "-", 0), 0u) << Fenster.Starts[0];
    }
  }
}

// Random mode: the box is that of the random drawing itself, and centring
// draws no number: the run leaves the generator where an uncentred run does,
// and its picture is the uncentred one moved.
TEST_F(Zeichnen, CentredRandomDrawingIsTheSameDrawingMoved) {
  Regeln({"X->F+[[X]-X]-F[-X]+X", "F->FF"});
  R.Axiom = "X";
  Winkel(25, 25);
  E.Zufallsmodus = true;
  E.AbweichungPlus = E.AbweichungMinus = E.AbweichungSchritt = 0.6;
  M.SchrittweiteSetzen(3);
  E.Saat = 4711;
  Lauf(4, 500, 340, 90);
  const auto Frei = Strecken();
  const uint32_t Danach = M.Zufallszustand();

  Leinwand.Linien.clear();
  E.Saat = 4711;
  E.Zentriert = true;
  Lauf(4, 500, 340, 90);
  EXPECT_EQ(M.Zufallszustand(), Danach);
  double X, Y;
  Mitte(X, Y);
  EXPECT_NEAR(X, 499.5, 1);
  EXPECT_NEAR(Y, 339.5, 1);
  const auto Mittig = Strecken();
  ASSERT_EQ(Mittig.size(), Frei.size());
  const int DX = Mittig[0].X1 - 500, DY = Mittig[0].Y1 - 340;
  for (size_t i = 0; i < Frei.size(); ++i) {
    EXPECT_EQ(Mittig[i].X1 - Frei[i].X1, DX) << i;
    EXPECT_EQ(Mittig[i].Y2 - Frei[i].Y2, DY) << i;
  }
}

// Only lines count, not moves with "f"; a drawing without lines or with one
// point only puts its start (or that point) in the middle; extents beyond the
// numbers end the run with a floating-point error before anything is drawn.
TEST_F(Zeichnen, CentringOfEmptyAndHugeDrawings) {
  E.Zentriert = true;
  const struct {
    std::string Axiom;
    double Schritt, Winkel;
    std::string Start, Linie, Fehler;
  } Faelle[] = {
      {"+-", 10, 90, "(500,340)", "", "(kein Fehler)"},
      {"ffffF", 10, 0, "(454,340)", "(494,340)-(504,340)", "(kein Fehler)"},
      {"F", 1e-9, 90, "(500,340)", "(500,340)-(500,340)", "(kein Fehler)"},
      {"FFF", 1e308, 0, "", "", "Gleitkommaüberlauf"},
  };
  for (const auto& F : Faelle) {
    R.Axiom = F.Axiom;
    M.SchrittweiteSetzen(F.Schritt);
    Leinwand.Linien.clear();
    Fenster.Starts.clear();
    EXPECT_EQ(Fehlertext([&] { Lauf(0, 10, 20, F.Winkel); }), F.Fehler) << F.Axiom;
    EXPECT_EQ(Fenster.Starts, F.Start.empty() ? Liste{} : Liste{F.Start}) << F.Axiom;
    EXPECT_EQ(Leinwand.Linien, F.Linie.empty() ? Liste{} : Liste{F.Linie}) << F.Axiom;
  }
}

// A stop in the centring walk, also one seen only at its last pass, leaves
// the start as given, without a message, and the drawing is complete.
TEST_F(Zeichnen, StoppedCentringDrawsFromTheGivenStart) {
  Regeln({"F->FF"});
  R.Axiom = "F";
  E.Zentriert = true;
  M.SchrittweiteSetzen(1);
  M.NachrichtenabstandSetzen(std::chrono::hours(1));
  Fenster.BeiPumpe = [&](int n) {
    if (n == 2) M.Abbrechen();
  };
  Lauf(6, 500, 680, 90);
  EXPECT_TRUE(M.BestimmungAbgebrochen());
  EXPECT_TRUE(Fenster.Meldungen.empty());
  EXPECT_TRUE(Fenster.Starts.empty());
  ASSERT_EQ(Leinwand.Linien.size(), 64u);
  EXPECT_EQ(Leinwand.Linien[0], "(500,680)-(500,679)");
}

}  // namespace
