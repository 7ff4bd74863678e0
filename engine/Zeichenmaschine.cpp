#include "engine/Zeichenmaschine.h"

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

#include "engine/Ausschnitt.h"
#include "engine/Laufrahmen.h"
#include "engine/Pflanzenlauf.h"
#include "engine/Zeichenzahl.h"
#include "helpers/Gleitkomma.h"
#include "helpers/Hilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/Winkelcache.h"
#include "turtle/turtleUnit.h"

namespace {
// Work units between two looks at the clock: a clock read costs as much as
// drawing a line, a unit is one worker call or 16 characters.
constexpr int32_t Uhrabstand = 512;
// Canvas work after which a string being drawn stops for a look at the clock:
// thick lines can make one string cost more than a whole thin drawing.
constexpr uint64_t Zwischenaufwand = Uhrabstand * LinienProEinheit;
}  // namespace

TZeichenmaschine::TZeichenmaschine(TTurtle& Turtle, TLaufbeobachter& Beobachter)
    : Turtle(Turtle),
      Beobachter(Beobachter),
      E(&Lauf.Einstellungen),
      Messung(std::make_unique<TMessung>()) {}

TZeichenmaschine::~TZeichenmaschine() = default;

void TZeichenmaschine::Einrichten(const TLauf& Neu, const TLaufart& Wie) {
  Lauf = Neu;
  Art = Wie;
  Art.Vollstaendig = Art.Vollstaendig || ImmerVollstaendig;
  // A run without rules draws its axiom of an empty rule system: nothing.
  if (!Lauf.Regeln) Lauf.Regeln = TRegelstand::AusText("");
  E = Art.Einstellungen ? Art.Einstellungen : &Lauf.Einstellungen;
  Zufall.Zufallszustand = E->Saat;
  Axiom = Art.Regelsystem ? Art.Regelsystem->Axiom : Lauf.Regeln->Axiom();
  WinkelSetzen(Lauf.WinkelPlus, Lauf.WinkelMinus);
  Schrittweite_ = Lauf.Schrittweite;
  Ansicht = Art.Ansicht;
  if (!Ansicht && Lauf.Ausschnitt) Ansicht = AnsichtAus(*Lauf.Ausschnitt, Lauf.Breite);
  Pf = TPflanzenart{};
  Pf.Wahl = E->Regelwahl == TRegelwahl::Zufaellig;
  Pf.Faerbung = E->Faerbung;
  Pf.Anfangsfarbe = E->Zeichenfarbe;
  Pf.Endfarbe = E->Endfarbe;
  Pf.Saat = E->Saat;
  // A table of the rules the engine was set up for before is none of this run's.
  if (Laufende == 0) {
    Aktuelle = nullptr;
    Tabellen.clear();
  }
}

void TZeichenmaschine::WinkelSetzen(double Plus, double Minus) {
  DrehungPlus = Plus;
  DrehungMinus = -Minus;
}

const TErsetzungen& TZeichenmaschine::Tabelle() {
  if (!Art.Regelsystem) {
    Aktuelle = &Lauf.Regeln->Ersetzungen();
    return *Aktuelle;
  }
  const TRegelsystem& R = *Art.Regelsystem;
  if (Aktuelle && Aktuelle->Stand == R.Stand()) return *Aktuelle;
  if (Laufende == 0) Tabellen.clear();
  Tabellen.push_back(std::make_unique<TErsetzungen>(R));
  Aktuelle = Tabellen.back().get();
  return *Aktuelle;
}

void TZeichenmaschine::AufwandAnrechnen() {
  const uint64_t Jetzt = Turtle.Canvas.Aufwand();
  const uint64_t Neu = (Jetzt - GesehenerAufwand) / LinienProEinheit;
  GesehenerAufwand = Jetzt;
  BisZurUhr -= static_cast<int32_t>(std::min<uint64_t>(Neu, Uhrabstand));
}

void TZeichenmaschine::SchwereArbeitPruefen() {
  if (Turtle.Canvas.Aufwand() - GesehenerAufwand < Zwischenaufwand) [[likely]]
    return;
  AufwandAnrechnen();
  NachrichtenVerarbeiten();
}

void TZeichenmaschine::UhrStellen(int32_t Wert) {
  Arbeit_ = SattSumme(Arbeit_, SeitDerUhr());
  BisZurUhr = Uhrstand = Wert;
}

void TZeichenmaschine::NachrichtenSofort() {
  UhrStellen(1);
  SofortFaellig = true;
  GesehenerAufwand = Turtle.Canvas.Aufwand();
}

void TZeichenmaschine::NachrichtenPruefen() {
  const bool Immer = Nachrichtenabstand.count() <= 0;
  UhrStellen(Immer ? 1 : Uhrabstand);
  if (Arbeit_ >= Art.Arbeitsgrenze) ZuViel = Abbruch = true;
  if (!Immer && !SofortFaellig &&
      std::chrono::steady_clock::now() - LetzterLauf < Nachrichtenabstand)
    return;
  SofortFaellig = false;
  Turtle.Canvas.Ausgeben();
  ++Durchgaenge;
  if (FortschrittMelden) Beobachter.Fortschritt(Anteil());
  if (!Beobachter.Weiter()) Abbruch = true;
  LetzterLauf = std::chrono::steady_clock::now();
  if (Art.Regelsystem && Laufende > 0) Tabelle();  // rules change only in there
}

// Rules changed meanwhile may let the count pass the total: it stays at 1.
double TZeichenmaschine::Anteil() const {
  if (Erledigt >= Gesamt) return 1.0;
  return static_cast<double>(Erledigt) / static_cast<double>(Gesamt);
}

// ---- what a character does

void TZeichenmaschine::ZeichenAusfuehren(char c) { ZeichenAusfuehren(c, E->Zufallsmodus); }

void TZeichenmaschine::ZeichenAusfuehren(char c, bool Zufaellig) {
  if (Ausgefuehrt_ >= Art.Zeichengrenze) [[unlikely]] {
    Abbruch = true;
    return;
  }
  Handeln(c, Zufaellig);
  ++Ausgefuehrt_;
}

void TZeichenmaschine::Handeln(char c, bool Zufaellig) {
  switch (c) {
    case 'F':
      Turtle.StiftSenken();
      Turtle.Vorwaerts(Zufaellig ? Gk(Zufall.Zufallsfaktor(E->AbweichungSchritt) * Schrittweite_)
                                 : Schrittweite_);
      break;
    case 'f':
      Turtle.StiftHeben();
      Turtle.Vorwaerts(Zufaellig ? Gk(Zufall.Zufallsfaktor(E->AbweichungSchritt) * Schrittweite_)
                                 : Schrittweite_);
      break;
    case '+':
      Turtle.Drehen(Zufaellig ? Gk(Zufall.Zufallsfaktor(E->AbweichungPlus) * DrehungPlus)
                              : DrehungPlus);
      break;
    case '-':
      Turtle.Drehen(Zufaellig ? Gk(Zufall.Zufallsfaktor(E->AbweichungMinus) * DrehungMinus)
                              : DrehungMinus);
      break;
    case '[':
      Turtle.PositionMerken();
      Turtle.DickeSetzen(Gk(Turtle.Dicke * E->Schwundfaktor));
      break;
    case ']':
      Turtle.DickeSetzen(GkTeilen(Turtle.Dicke, E->Schwundfaktor));
      Turtle.PositionZurueck();
      break;
    case '{':
    case '}':
    case '|':
      if (E->Zeichensatz == TZeichensatz::MitBlaettern) Blattzeichen(Turtle, c);
      break;
    default:
      break;
  }
}

void Blattzeichen(TTurtle& Turtle, char c) {
  if (c == '{')
    Turtle.BlattBeginnen();
  else if (c == '}')
    Turtle.BlattSchliessen();
  else if (c == '|')
    Turtle.Drehen(180.0);
}

// ---- at once

void TZeichenmaschine::zeichnenRek(const std::string& s, int32_t Tiefe) {
  TLaufrahmen Rahmen(*this);
  TFortschritt Fortschritt(*this, s, Tiefe);
  Abbruch = false;
  // Every drawing lets the messages in at its start, also one right after a fitting.
  NachrichtenSofort();
  Beobachter.Unterbrechbar(true);
  try {
    if (Ansicht || Abkuerzbar())
      AusschnittTeil(s, Tiefe);
    else if (Pflanze() || Pf.NurTerminale)
      PflanzeRek(s, Tiefe);
    else
      zeichnenRekTeil(s, Tiefe);
  } catch (...) {
    Beobachter.Unterbrechbar(false);
    throw;
  }
  if (!Abbruch) Fortschritt.Fertig();
  Beobachter.Unterbrechbar(false);
}

void TZeichenmaschine::zeichnenRekTeil(const std::string& s, int32_t n) {
  TLaufrahmen Rahmen(*this);
  Tabelle();
  // s may belong to the rule system, which message passes may change.
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization)
  RekTeil(Text.data(), Text.size(), n);
}

void TZeichenmaschine::RekTeil(const char* s, size_t Laenge, int32_t n) {
  BisZurUhr -= static_cast<int32_t>(Laenge >> 4);
  // Thin lines hardly ever add to the canvas's work: no call for them.
  if (Turtle.Canvas.Aufwand() - GesehenerAufwand >= LinienProEinheit) AufwandAnrechnen();
  NachrichtenVerarbeiten();
  if (Abbruch) return;
  const bool Zufaellig = E->Zufallsmodus;
  if (n > 0) {
    for (size_t i = 0; i < Laenge; ++i) {
      const unsigned char c = static_cast<unsigned char>(s[i]);
      const TErsetzungen& T = *Aktuelle;
      if (T.Ersetzt[c]) {
        RekTeil(T.Rumpf[c].data(), T.Rumpf[c].size(), n - 1);
        continue;
      }
      if (Abbruch) return;
      ++Erledigt;
      ZeichenAusfuehren(static_cast<char>(c), Zufaellig);
      SchwereArbeitPruefen();
    }
  } else {
    // The hot loop: characters that act, counted once for the whole string
    // (and up to the one that failed), with a look at the canvas's work now
    // and then rather than after each of them.
    Erledigt += Laenge;
    const size_t Bis =
        static_cast<size_t>(std::min<uint64_t>(Laenge, Art.Zeichengrenze - Ausgefuehrt_));
    size_t i = 0;
    try {
      for (; i < Bis && !Abbruch; ++i) {
        Handeln(s[i], Zufaellig);
        if ((i & 15) == 15) SchwereArbeitPruefen();
      }
    } catch (...) {
      Ausgefuehrt_ += i;
      throw;
    }
    Ausgefuehrt_ += i;
    if (i == Bis && Bis < Laenge) Abbruch = true;
  }
}

// ---- step by step

void TZeichenmaschine::zeichnenSchritt(const std::string& s) {
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization): see above
  const bool Zufaellig = E->Zufallsmodus;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    Turtle.Canvas.Ausgeben();
    // A replay ends where the run it repeats was stopped.
    if (Ausgefuehrt_ >= Art.Zeichengrenze || !Beobachter.WeiterFragen()) {
      Beobachter.SchrittmodusEndet();
      return;
    }
    Beobachter.ZeichenZeigen(c, i);
    ZeichenAusfuehren(c, Zufaellig);
  }
  Turtle.Canvas.Ausgeben();
}

void TZeichenmaschine::zeichnenSchrittRek(const std::string& s, int32_t Tiefe) {
  if (Pflanze()) {
    PflanzeSchritte(s, Tiefe, false);
    return;
  }
  Gestoppt = false;
  zeichnenSchrittRekTeil(s, Tiefe);
}

void TZeichenmaschine::zeichnenSchrittRekTeil(const std::string& s, int32_t n) {
  TLaufrahmen Rahmen(*this);
  Tabelle();
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization): see above
  SchrittRekTeil(Text.data(), Text.size(), n);
}

void TZeichenmaschine::SchrittRekTeil(const char* s, size_t Laenge, int32_t n) {
  if (Gestoppt) return;
  const bool Zufaellig = E->Zufallsmodus;
  for (size_t i = 0; i < Laenge; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const TErsetzungen& T = *Aktuelle;
    if (n > 0 && T.Ersetzt[c]) {
      SchrittRekTeil(T.Rumpf[c].data(), T.Rumpf[c].size(), n - 1);
      continue;
    }
    // A replay ends where the run it repeats was stopped, without walking the rest.
    bool Weiter = !Gestoppt && Ausgefuehrt_ < Art.Zeichengrenze;
    if (Weiter) {
      Turtle.Canvas.Ausgeben();
      Weiter = Beobachter.WeiterFragen();
      Tabelle();  // the prompt ran messages
    }
    if (!Weiter) {
      Beobachter.SchrittmodusEndet();
      Gestoppt = true;
      return;
    }
    Beobachter.ZeichenZeigen(static_cast<char>(c), TLaufbeobachter::KeinePosition);
    ZeichenAusfuehren(static_cast<char>(c), Zufaellig);
  }
}

// ---- the run

namespace {

// The start that puts the middle of the box, scaled to the step size, on the
// middle of a surface of Seite pixels: then the pixels left and right of the
// drawing (above and below) differ by one at most. Whole pixels, so that the
// picture is the same drawing moved and the start fields show it exactly.
double Mittig(double Min, double Max, double Schrittweite, int Seite) {
  const double A = Gk(Min * Schrittweite);
  const double B = Gk(Max * Schrittweite);
  const double Mitte = Gk(Gk(A + B) / 2);
  return static_cast<double>(Runden(Gk((Seite - 1) / 2.0 - Mitte)));
}

}  // namespace

double AngepassterSchritt(double w, double h, int Breite, int Hoehe) {
  const double m = Minimum(Breite, Hoehe);
  const double g = Maximum(Gk(w + 0.01), Gk(h + 0.01));
  return Gk(GkTeilen(m, g) * 0.6);
}

void TZeichenmaschine::Zeichenlauf(const TLauf& Neu, const TLaufart& Wie) {
  // A run started from a message pass of another leaves that one set up as it was.
  struct TAussen {
    TZeichenmaschine& M;
    std::optional<std::tuple<TLauf, TLaufart, std::string, std::optional<TAnsicht>, TPflanzenart>>
        Alt;
    ~TAussen() {
      if (!Alt) return;
      std::tie(M.Lauf, M.Art, M.Axiom, M.Ansicht, M.Pf) = std::move(*Alt);
      M.LetzteStufe = -1;
      M.E = M.Art.Einstellungen ? M.Art.Einstellungen : &M.Lauf.Einstellungen;
    }
  } Aussen{*this, Laufende > 0 ? std::make_optional(std::make_tuple(Lauf, Art, Axiom, Ansicht, Pf))
                               : std::nullopt};
  TLaufrahmen Rahmen(*this);
  // Leaves still open when the run ends or stops are dropped.
  struct TBlaetterVerwerfen {
    TTurtle& T;
    ~TBlaetterVerwerfen() { T.BlaetterVerwerfen(); }
  } Verwerfen{Turtle};
  Einrichten(Neu, Wie);
  Ausgefuehrt_ = 0;
  double StartX = Lauf.StartX, StartY = Lauf.StartY;
  const double Startwinkel = Lauf.Startwinkel;
  const int32_t Tiefe = Lauf.Tiefe;
  // Fitting and centring share one walk; the fit is the same as without centring.
  if (E->SchrittweiteAnpassen || E->Zentriert) {
    double w = 0, h = 0;
    TUmriss Umriss;
    const bool Zentrieren = E->Zentriert;
    Vermessen(Tiefe, w, h, Zentrieren ? &Umriss : nullptr, Startwinkel);
    // Stopped for its work, the run ends there, with nothing to tell.
    if (ZuViel) return;
    if (E->SchrittweiteAnpassen) {
      Schrittweite_ =
          BestimmungAbgebrochen_ ? 0.1 : AngepassterSchritt(w, h, Lauf.Breite, Lauf.Hoehe);
      if (BestimmungAbgebrochen_)
        Beobachter.Meldung("Bestimmung der Schrittweite abgebrochen.\r\nSchrittweite 0.1 gewählt");
      Beobachter.SchrittweiteGesetzt(Schrittweite_);
    }
    // Stopped, the drawing starts where the user put it: nothing to tell, the
    // start is the user's own. The picture is on the canvas, which need not
    // have the size of the surface: it is the canvas's middle that counts.
    // Through a view the canvas is the output, and the surface is the run's.
    if (Zentrieren && !BestimmungAbgebrochen_) {
      const int Breite = Ansicht ? Lauf.Breite : Turtle.Canvas.Breite();
      const int Hoehe = Ansicht ? Lauf.Hoehe : Turtle.Canvas.Hoehe();
      StartX = Mittig(Umriss.MinX, Umriss.MaxX, Schrittweite_, Breite);
      StartY = Mittig(Umriss.MinY, Umriss.MaxY, Schrittweite_, Hoehe);
      Beobachter.StartGesetzt(StartX, StartY);
    }
  }
  if (Ansicht) {
    StartX = Gk(Gk(StartX - Ansicht->X) * Ansicht->Massstab);
    StartY = Gk(Gk(StartY - Ansicht->Y) * Ansicht->Massstab);
  }
  // Saved states of an earlier, stopped run would never be restored.
  Turtle.StapelLeeren();
  Turtle.XSetzen(StartX);
  Turtle.YSetzen(StartY);
  Turtle.RichtungSetzen(Startwinkel);
  Turtle.FarbeSetzen(E->Zeichenfarbe);
  Turtle.DickeSetzen(E->Anfangsdicke);
  if (!E->Schrittmodus) {
    zeichnenRek(Axiom, Tiefe);
    return;
  }
  // Derived from the axiom the run started with, as the walk below would be:
  // the fitting let messages in, and the rules may have changed meanwhile.
  std::string s = Axiom;
  bool Zulang = false;
  try {
    const TRegelsystem& R = Art.Regelsystem ? *Art.Regelsystem : Lauf.Regeln->Regelsystem();
    if (Pf.Wahl) {
      std::vector<uint64_t> Pfade;
      for (size_t i = 0; i < s.size(); ++i) Pfade.push_back(PfadSchritt(PfadAnfang(Pf.Saat), i));
      for (int32_t i = 0; i < Tiefe; ++i) R.Ableitungsschritt(s, Pfade);
    } else {
      for (int32_t i = 0; i < Tiefe; ++i) R.Ableitungsschritt(s);
    }
    R.NichtterminaleEntfernen(s, E->Zeichensatz == TZeichensatz::MitBlaettern);
  } catch (const EZulang&) {
    Zulang = true;
    s.clear();
  }
  // Through a view without prompts: the string as a drawing of depth 0, whose
  // characters count as the prompts counted them.
  // A plant's string is walked from the axiom, which knows its levels.
  if (Ansicht) {
    if (Zulang) {
      zeichnenRek(Axiom, Tiefe);
    } else if (Pflanze()) {
      Pf.NurTerminale = true;
      zeichnenRek(Axiom, Tiefe);
    } else {
      zeichnenRek(s, 0);
    }
    return;
  }
  Beobachter.SchrittmodusBeginnt(!Zulang && s.size() < 100 ? &s : nullptr);
  try {
    if (Zulang)
      zeichnenSchrittRek(Axiom, Tiefe);
    else if (Pflanze())
      PflanzeSchritte(Axiom, Tiefe, true);
    else
      zeichnenSchritt(s);
  } catch (...) {
    Beobachter.SchrittmodusEndet();
    throw;
  }
  Beobachter.SchrittmodusEndet();
}
