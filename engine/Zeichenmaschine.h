// The drawing engine: what each character does to the turtle, the recursive and
// step-by-step drawings, the step-size fitting and the sequence of one run.
// It knows no window: it is set up from a run value (TLauf) and reports to an
// observer of runs (TLaufbeobachter).
#pragma once

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Einstellungen.h"
#include "engine/Lauf.h"
#include "engine/Laufbeobachter.h"

class TRegelsystem;
class TTurtle;
class TTeilbilder;
class TSpruenge;
struct TSprungziel;
class TAusschnittlauf;

// The box of the points that a drawing's lines join, measured from the start
// (0, 0) at step length 1, y downward as on the surface. Linien is false when
// the drawing draws no line; the box is then the start point.
struct TUmriss {
  double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  bool Linien = false;
};

// The fitted step size: the larger of the drawing's width w and height h at
// step length 1 spans 0.6 of the smaller side of a surface Breite x Hoehe.
double AngepassterSchritt(double w, double h, int Breite, int Hoehe);

// Level i of n (0 to n - 1) of the colours from A to B (0x00BBGGRR): channel
// by channel A + (B - A) * i / (n - 1), rounded half to even; A for n = 1.
uint32_t Stufenfarbe(uint32_t A, uint32_t B, int64_t i, int64_t n);

// How a run reads what may change while it goes on. By default it reads only
// its run value; the drawing window's run reads the rule system and the
// settings in force instead, so that a change acts at its next lookup.
struct TLaufart {
  const TRegelsystem* Regelsystem = nullptr;
  const TEinstellungen* Einstellungen = nullptr;
  // No character acts beyond this many; the run then stops as if cancelled
  // (a replay ends where the run it repeats ended).
  uint64_t Zeichengrenze = UINT64_MAX;
  // Drawn through this view onto the canvas as its output, instead of the
  // run's own Ausschnitt (the magnifier's views, exactly as it has them).
  std::optional<TAnsicht> Ansicht = std::nullopt;
  // Every character is walked, none jumped over: the walk that the jumps
  // must equal, for comparisons and measurements.
  bool Vollstaendig = false;
  // The run stops as if cancelled once its walks have done this much work
  // (Arbeit()), what they really do, jumps left out.
  uint64_t Arbeitsgrenze = UINT64_MAX;
  // A part jumped over is gone through piece by piece up to this many
  // pieces, then walked after all: less than a walk between two looks at
  // the clock costs. Tests make it small to walk more parts so.
  int64_t Stueckgrenze = int64_t{1} << 16;
};

// Whether exact drawings under these settings may jump over parts: exact
// mode, the first rules, one colour, the classic characters.
bool Springbar(const TEinstellungen& E);

// With the character set "mit Blättern": "{" opens a leaf, "}" fills and
// closes the innermost open one, "|" turns around (see TTurtle).
constexpr bool IstBlattzeichen(char c) { return c == '{' || c == '}' || c == '|'; }
void Blattzeichen(TTurtle& Turtle, char c);

// The engine of one turtle. Errors leave a run as exceptions: ETurtleStapel
// (turtle's stack), "Stapelüberlauf" (fitting), floating-point errors; the
// picture drawn so far stays.
class TZeichenmaschine {
 public:
  TZeichenmaschine(TTurtle& Turtle, TLaufbeobachter& Beobachter);
  ~TZeichenmaschine();
  TZeichenmaschine(const TZeichenmaschine&) = delete;
  TZeichenmaschine& operator=(const TZeichenmaschine&) = delete;

  // The whole run of "&Zeichnen": set up from Lauf as Art says, the
  // generator at the settings' Saat; fitting (when SchrittweiteAnpassen),
  // placing the start in the middle (when Zentriert; told through
  // StartGesetzt), turtle start state with an empty stack, then at once or
  // step by step. A stopped walk leaves the start as given.
  void Zeichenlauf(const TLauf& Lauf, const TLaufart& Art = {});
  // Sets the engine up as a run of Lauf does, without running it: rules,
  // angles, step size, settings, view, the generator at the settings' Saat.
  // The parts below work on what it set up.
  void Einrichten(const TLauf& Lauf, const TLaufart& Art = {});

  // What one character does to the turtle; reads Zufallsmodus now.
  void ZeichenAusfuehren(char c);
  // At once, depth first; stops quietly when stopped.
  void zeichnenRek(const std::string& s, int32_t Tiefe);
  // One confirmation (WeiterFragen) per character of an already derived string.
  void zeichnenSchritt(const std::string& s);
  // Step by step, expanding on the fly (when the string is too long to derive).
  void zeichnenSchrittRek(const std::string& s, int32_t Tiefe);
  // Measuring walk at step length 1 from (0, 0), heading 0: width w and
  // height h of the drawing. Sets BestimmungAbgebrochen when stopped; more
  // than 101 nested "[" throw "Stapelüberlauf".
  void SchrittweiteBestimmen(int32_t Tiefe, double& w, double& h);
  // The same walk, measuring at the same time, when Umriss is given, the box
  // of the drawing itself: the turtle's walk with heading Startwinkel at step
  // length 1, with the random factors that the drawing will draw (from a copy
  // of the generator: its state is left as it was). w and h are as above.
  void Vermessen(int32_t Tiefe, double& w, double& h, TUmriss* Umriss, double Startwinkel);

  // What the window changes while a run goes on, acting at the next
  // character: its copies of the angles (as the user gives them) and the step.
  void WinkelSetzen(double Plus, double Minus);
  void SchrittweiteSetzen(double x) { Schrittweite_ = x; }
  // "Abbrechen": the walk or drawing under way stops at its next look.
  void Abbrechen() { Abbruch = true; }

  double Schrittweite() const { return Schrittweite_; }
  // The turn of "+", and that of "-", negated: what the characters add.
  double WinkelPlus() const { return DrehungPlus; }
  double WinkelMinus() const { return DrehungMinus; }
  // The last walk or drawing was stopped (by Abbrechen, Weiter or its limit).
  bool Abgebrochen() const { return Abbruch; }
  bool BestimmungAbgebrochen() const { return BestimmungAbgebrochen_; }
  // Characters that acted in the run under way or the last one.
  uint64_t Ausgefuehrt() const { return Ausgefuehrt_; }
  // Of them, those a cut-out jumped over without walking.
  uint64_t Gesprungen() const { return Gesprungen_; }
  // The work of the run under way or the last one, as the engine weighs it
  // between two looks at the clock: one unit for every 16 characters walked
  // and for each part looked at, and what the canvas counts. A walk of every
  // character does about a unit for every two of them.
  uint64_t Arbeit() const { return Arbeit_ + SeitDerUhr(); }
  // The last run stopped at TLaufart::Arbeitsgrenze.
  bool ArbeitsgrenzeErreicht() const { return ZuViel; }
  // Where the run's generator stands.
  uint32_t Zufallszustand() const { return Zufall.Zufallszustand; }
  // Real message passes so far.
  uint64_t Nachrichtenlaeufe() const { return Durchgaenge; }
  // A run is under way (a second one may start inside it from a message pass).
  bool Laeuft() const { return Laufende > 0; }
  // Every run from now on walks every character, as TLaufart::Vollstaendig
  // asks: for tests that need a long run, and for comparisons.
  void JedesZeichen(bool An) { ImmerVollstaendig = An; }
  // Least time between two real message passes; 0 makes every call real.
  void NachrichtenabstandSetzen(std::chrono::nanoseconds Abstand) { Nachrichtenabstand = Abstand; }

 private:
  friend class TAusschnittlauf;
  struct TMessung;
  class TLaufrahmen;
  class TFortschritt;

  void ZeichenAusfuehren(char c, bool Zufaellig);
  // What a character does, without counting it.
  void Handeln(char c, bool Zufaellig);
  // Flushes the canvas and lets the observer run the messages, but only when
  // Nachrichtenabstand has passed since the last time (the first call of a
  // run always does). Cheap enough to call at every expanded rule.
  void NachrichtenVerarbeiten() {
    if (--BisZurUhr > 0) [[likely]]
      return;
    NachrichtenPruefen();
  }
  void NachrichtenPruefen();
  // The way to the next look at the clock, the work so far counted.
  void UhrStellen(int32_t Wert);
  // The work since BisZurUhr was last set.
  uint64_t SeitDerUhr() const { return static_cast<uint64_t>(std::max(Uhrstand - BisZurUhr, 0)); }
  // Counts the canvas work since the last call against the way to the clock.
  void AufwandAnrechnen();
  // Within a string: a look at the clock once the canvas has done much work.
  void SchwereArbeitPruefen();
  // The next call of NachrichtenVerarbeiten lets the messages in, whatever the time.
  void NachrichtenSofort();
  double Anteil() const;
  // The replacements in force: the fixed state's, or those of the rule
  // system read live, taken anew when it changed.
  const TErsetzungen& Tabelle();
  void zeichnenRekTeil(const std::string& s, int32_t n);
  void RekTeil(const char* s, size_t Laenge, int32_t n);
  // The walk through the view (engine/Ausschnitt.cpp).
  void AusschnittTeil(const std::string& s, int32_t n);

  // Plants: the random choice among rules and the colour by level, read when
  // a run is set up (engine/Pflanzenlauf.h). Without either the walks above
  // run as they are; with one, the walks go through Wachsen, which also
  // knows, for each character, its path and its level.
  struct TZweig;
  template <class TArt>
  void Wachsen(TArt& Art, const char* s, size_t Laenge, int32_t n, const TZweig& Z);
  bool Pflanze() const { return Pf.Wahl || Pf.Faerbung != TFaerbung::Einfarbig; }
  // The characters step mode's string keeps.
  const std::bitset<256>& Terminale() const;
  // Levels and their colours for a walk of s to depth Tiefe; its root.
  void PflanzeBeginnen(const std::string& s, int32_t Tiefe);
  TZweig Wurzel() const;
  // Before c acts at level Stufe: the turtle's colour, where it changes.
  void Faerben(char c, int64_t Stufe);
  // One character of a plant drawn at once: counted against the run's limit,
  // coloured, then done by Tun(c, Zufaellig); false when the run stops.
  template <class TTun>
  bool PflanzenZeichen(char c, int64_t Stufe, bool Zufaellig, TTun&& Tun);
  void PflanzeRek(const std::string& s, int32_t n);
  void PflanzeSchritte(const std::string& s, int32_t n, bool NurTerminale);
  template <bool Lage>
  void PflanzeMessen(int32_t d, const std::string& s);
  // Without a view, that walk may draw the picture too, jumping where no
  // pixel can change: exact, on a picture, with the symbol hidden.
  bool Abkuerzbar() const;
  // The summaries of the replacements of T at the angles in force, for
  // walks Tiefe deep.
  const TTeilbilder& Teilbilder_(const TErsetzungen& T, int32_t Tiefe);
  // A jump of the measuring walk (engine/Ausschnitt.cpp).
  bool MessSprung(unsigned char c, int32_t j, int32_t Tiefe);
  bool Durchlaufen(TSpruenge& S, unsigned char c, int32_t j, double X, double Y, double Richtung,
                   TSprungziel& Z, bool Gehen);
  void zeichnenSchrittRekTeil(const std::string& s, int32_t n);
  void SchrittRekTeil(const char* s, size_t Laenge, int32_t n);
  void AusdehnungMessen(int32_t d, const std::string& s);
  int32_t Messtiefe = 0;  // of the measuring walk under way
  // Lage: the drawing's own walk goes along (a template, so that the
  // fitting alone pays nothing for it).
  template <bool Lage>
  void Messen(int32_t d, const char* s, size_t Laenge);
  template <bool Lage>
  void MessZeichen(char c, bool Zufaellig);

  TTurtle& Turtle;
  TLaufbeobachter& Beobachter;
  // The run it was set up for, and how it reads what may change.
  TLauf Lauf;
  TLaufart Art;
  std::string Axiom;  // as it was when the run was set up
  // The settings the characters read, looked up at each character.
  const TEinstellungen* E;
  std::optional<TAnsicht> Ansicht;
  // The run's random generator; a run starts it at its settings' Saat and
  // leaves it where the run ended.
  TZufall Zufall;
  double Schrittweite_ = StartSchrittweite;
  double DrehungPlus = 0.0;   // turn of "+"
  double DrehungMinus = 0.0;  // turn of "-": the negated angle
  bool Abbruch = false;
  bool BestimmungAbgebrochen_ = false;
  bool ImmerVollstaendig = false;
  uint64_t Ausgefuehrt_ = 0;
  uint64_t Gesprungen_ = 0;
  std::chrono::nanoseconds Nachrichtenabstand = std::chrono::milliseconds(15);

  int32_t Laufende = 0;
  int32_t BisZurUhr = 1;
  int32_t Uhrstand = 1;  // where BisZurUhr was last set
  uint64_t Arbeit_ = 0;
  bool ZuViel = false;
  std::chrono::steady_clock::time_point LetzterLauf{};
  bool SofortFaellig = true;      // the next look at the clock passes whatever the time
  uint64_t GesehenerAufwand = 0;  // canvas work already counted
  uint64_t Durchgaenge = 0;
  bool Gestoppt = false;
  // Progress of the walk or drawing under way: characters that acted so far
  // against those expected at its start.
  bool FortschrittMelden = false;
  uint64_t Erledigt = 0;
  uint64_t Gesamt = 0;
  const TErsetzungen* Aktuelle = nullptr;
  // Tables of the live rule system, kept while a level of the run reads them.
  std::vector<std::unique_ptr<TErsetzungen>> Tabellen;
  std::unique_ptr<TMessung> Messung;
  std::unique_ptr<TTeilbilder> Teilbilder;  // of the last rule-system state drawn through a view

  struct TPflanzenart {
    bool Wahl = false;  // the random choice among rules
    TFaerbung Faerbung = TFaerbung::Einfarbig;
    uint32_t Anfangsfarbe = 0, Endfarbe = 0;
    uint32_t Saat = 0;
    // Only the rule system's terminal characters act (step mode's string).
    bool NurTerminale = false;
    // The walk under way: the depth it started with, its number of levels.
    int32_t Wurzeltiefe = 0;
    int64_t Stufen = 1;
  } Pf;
  // The level whose colour the turtle has (-1: none yet); the colours of the
  // first levels, worked out once.
  int64_t LetzteStufe = -1;
  std::vector<uint32_t> Palette;
};
