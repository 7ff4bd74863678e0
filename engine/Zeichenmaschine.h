// The drawing engine: what each character does to the turtle, the recursive and
// step-by-step drawings, the step-size fitting and the sequence of one run.
// It needs no window: what it needs of one is TZeichenfensterSchnittstelle.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Einstellungen.h"

class TRegelsystem;
class TTurtle;
struct TAnsicht;
class TTeilbilder;
class TAusschnittlauf;

// What the engine needs of the drawing window. Tests implement it too.
class TZeichenfensterSchnittstelle {
 public:
  virtual ~TZeichenfensterSchnittstelle() = default;
  // Runs all pending window messages (the engine decides how often).
  virtual void NachrichtenVerarbeiten() = 0;
  // BAbbrechen visible and enabled, or hidden and disabled.
  virtual void AbbrechenZeigen(bool An) = 0;
  // Shows the continue prompt modally; true only when the user chose "OK".
  virtual bool WeiterFragen() = 0;
  // Places the continue prompt below EString, right of the control panel.
  virtual void WeiterBoxPlatzieren() = 0;
  virtual void ZeichenSetzen(const std::string& Text) = 0;          // text of EZeichen
  virtual void ZeichenfeldZeigen(bool An) = 0;                      // EZeichen
  virtual void StringZeigen(bool An, const std::string& Text) = 0;  // EString
  // ESchrittweite shows the new step size (3 decimals).
  virtual void SchrittweiteAnzeigen(double Schrittweite) = 0;
  // Plain message box.
  virtual void Meldung(const std::string& Text) = 0;
  virtual int ClientBreite() const = 0;
  virtual int ClientHoehe() const = 0;
  // How far the measuring walk or the drawing at once has come, 0 to 1: 0 at
  // its start, then at each real message pass, 1 when it has completed.
  virtual void FortschrittSetzen(double /*Anteil*/) {}
  // Step by step: the character at this index of EString is the one acting now.
  virtual void StringMarkieren(size_t /*Position*/) {}
  // A centred run starts here instead of at the start it was given; called
  // before anything is drawn.
  virtual void StartGesetzt(double /*X*/, double /*Y*/) {}
};

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

// Does nothing a window would do; for drawing without one (the renderer).
class TOhneFenster : public TZeichenfensterSchnittstelle {
 public:
  TOhneFenster(int Breite, int Hoehe) : Breite(Breite), Hoehe(Hoehe) {}
  void NachrichtenVerarbeiten() override {}
  void AbbrechenZeigen(bool) override {}
  bool WeiterFragen() override { return true; }
  void WeiterBoxPlatzieren() override {}
  void ZeichenSetzen(const std::string&) override {}
  void ZeichenfeldZeigen(bool) override {}
  void StringZeigen(bool, const std::string&) override {}
  void SchrittweiteAnzeigen(double) override {}
  void Meldung(const std::string&) override {}
  int ClientBreite() const override { return Breite; }
  int ClientHoehe() const override { return Hoehe; }

 private:
  int Breite;
  int Hoehe;
};

// The engine of the drawing window. The window owns it with the turtle and
// sets Regelsystem and the angles; its "Abbrechen" sets Abbruch. Errors leave
// a run as exceptions: ETurtleStapel (turtle's stack), "Stapelüberlauf"
// (fitting), floating-point errors; the picture drawn so far stays.
class TZeichenmaschine {
 public:
  // E: the settings the characters read outside a run.
  TZeichenmaschine(TTurtle& Turtle, TZeichenfensterSchnittstelle& Fenster,
                   const TEinstellungen& E = Einstellungen);
  ~TZeichenmaschine();
  TZeichenmaschine(const TZeichenmaschine&) = delete;
  TZeichenmaschine& operator=(const TZeichenmaschine&) = delete;

  TRegelsystem* Regelsystem = nullptr;  // not owned; set before any drawing
  TTurtle& Turtle;
  // The settings the characters read, looked up at each character: during a
  // run those it was handed, so that a change of them acts at once.
  const TEinstellungen* E;
  // The run's random generator; a run starts it at its settings' Saat and
  // leaves it where the run ended.
  TZufall Zufall;
  TZeichenfensterSchnittstelle& Fenster;
  double Schrittweite = StartSchrittweite;
  double WinkelPlus = 0.0;   // turn of "+"
  double WinkelMinus = 0.0;  // turn of "-", already negated
  bool Abbruch = false;
  bool BestimmungAbgebrochen = false;
  // Characters that acted in the run under way (each "F", "+", letter, ...).
  uint64_t Ausgefuehrt = 0;
  // No character acts beyond this many; the run then stops as if cancelled.
  // Replays a run exactly as far as it came.
  uint64_t Zeichengrenze = UINT64_MAX;
  // When set, a run draws through this view onto the canvas as its output
  // (drawing/Ausschnitt.h): laid out on the surface of the window's client
  // size as ever, then walked in output pixels, parts outside jumped over.
  const TAnsicht* Ansicht = nullptr;
  // Characters of the last run through a view that acted without being walked.
  uint64_t Gesprungen = 0;

  // Least time between two real message passes; 0 makes every call real.
  std::chrono::nanoseconds Nachrichtenabstand = std::chrono::milliseconds(15);

  // The whole run of "&Zeichnen" with the settings Einst, read through this
  // reference until the run ends: fitting (when SchrittweiteAnpassen),
  // placing the start in the middle of the canvas (when Zentriert; the window
  // learns it through StartGesetzt), turtle start state with an empty stack,
  // then at once or step by step. A stopped walk leaves the start as given.
  void Zeichenlauf(const TEinstellungen& Einst, int32_t Tiefe, double StartX, double StartY,
                   double Startwinkel);

  // What one character does to the turtle; reads Zufallsmodus now.
  void ZeichenAusfuehren(char c);
  void ZeichenAusfuehren(char c, bool Zufaellig);

  // At once, depth first; stops quietly when Abbruch gets set.
  void zeichnenRek(const std::string& s, int32_t Tiefe);
  void zeichnenRekTeil(const std::string& s, int32_t n);
  // One confirmation (WeiterFragen) per character of an already derived string.
  void zeichnenSchritt(const std::string& s);
  // Step by step, expanding on the fly (when the string is too long to derive).
  void zeichnenSchrittRek(const std::string& s, int32_t Tiefe);
  void zeichnenSchrittRekTeil(const std::string& s, int32_t n);

  // Measuring walk at step length 1 from (0, 0), heading 0: width w and
  // height h of the drawing. Sets BestimmungAbgebrochen when stopped; more
  // than 101 nested "[" throw "Stapelüberlauf".
  void SchrittweiteBestimmen(int32_t Tiefe, double& w, double& h);
  // The same walk, measuring at the same time, when Umriss is given, the box
  // of the drawing itself: the turtle's walk with heading Startwinkel at step
  // length 1, with the random factors that the drawing will draw (from a copy
  // of the generator: its state is left as it was). w and h are as above.
  void Vermessen(int32_t Tiefe, double& w, double& h, TUmriss* Umriss, double Startwinkel);
  void AusdehnungMessen(int32_t d, const std::string& s);
  // Schrittweite := x, and the window shows it.
  void SchrittweiteSetzen(double x);

  // Flushes the canvas and lets the window run its messages, but only when
  // Nachrichtenabstand has passed since the last time (the first call of a
  // run always does). Cheap enough to call at every expanded rule.
  void NachrichtenVerarbeiten() {
    if (--BisZurUhr > 0) [[likely]]
      return;
    NachrichtenPruefen();
  }
  // Real message passes so far.
  uint64_t Nachrichtenlaeufe() const { return Laeufe; }
  // A run is under way (a second one may start inside it from a message pass).
  bool Laeuft() const { return Laufende > 0; }

 private:
  friend class TAusschnittlauf;
  // The replacements in force, copied from the rule system. A level that walks a
  // replacement keeps reading the table it took it from, so tables live on for
  // the run even when the rules change meanwhile.
  struct TTabelle {
    const TRegelsystem* Quelle = nullptr;
    uint64_t Stand = 0;
    std::array<bool, 256> Ersetzt{};  // a rule gives something other than c itself
    std::array<std::string, 256> Rumpf;
  };
  struct TMessung;
  class TLaufrahmen;
  class TFortschritt;

  // What a character does, without counting it.
  void Handeln(char c, bool Zufaellig);
  void NachrichtenPruefen();
  // Counts the canvas work since the last call against the way to the clock.
  void AufwandAnrechnen();
  // Within a string: a look at the clock once the canvas has done much work.
  void SchwereArbeitPruefen();
  // The next call of NachrichtenVerarbeiten lets the messages in, whatever the time.
  void NachrichtenSofort();
  double Anteil() const;
  void LaufBeginnen();
  const TTabelle& Tabelle();
  void RekTeil(const char* s, size_t Laenge, int32_t n);
  // The walk through Ansicht (drawing/Ausschnitt.cpp).
  void AusschnittTeil(const std::string& s, int32_t n);
  void SchrittRekTeil(const char* s, size_t Laenge, int32_t n);
  // Lage: the drawing's own walk goes along (a template, so that the
  // fitting alone pays nothing for it).
  template <bool Lage>
  void Messen(int32_t d, const char* s, size_t Laenge);
  template <bool Lage>
  void MessZeichen(char c, bool Zufaellig);

  int32_t Laufende = 0;
  int32_t BisZurUhr = 1;
  std::chrono::steady_clock::time_point LetzterLauf{};
  bool SofortFaellig = true;      // the next look at the clock passes whatever the time
  uint64_t GesehenerAufwand = 0;  // canvas work already counted
  uint64_t Laeufe = 0;
  bool Gestoppt = false;
  // Progress of the walk or drawing under way: characters that acted so far
  // against those expected at its start.
  bool FortschrittMelden = false;
  uint64_t Erledigt = 0;
  uint64_t Gesamt = 0;
  const TTabelle* Aktuelle = nullptr;
  std::vector<std::unique_ptr<TTabelle>> Tabellen;  // kept while a run reads them
  std::unique_ptr<TMessung> Messung;
  std::unique_ptr<TTeilbilder> Teilbilder;  // of the last rule-system state drawn through a view
};
