// The recipe of a picture: everything a drawing run needs to draw it again,
// and its text form, which pictures carry (PNG text chunk, SVG metadata).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/Ausschnitt.h"
#include "engine/Einstellungen.h"

class TRegelsystem;
class TLeinwand;

// The recipe: the rule system, where and how deep the run drew, and the
// settings it drew with (the base: Saat is the generator's state at its start).
struct TRezept : TEinstellungen {
  // The rule system as its .LSY file holds it (Windows-1252, CR LF).
  std::string Regelsystem;
  // Its two angles exactly; the file form rounds them to 15 digits. The turn
  // of "-" is the negated WinkelMinus, as in the rule system.
  double WinkelPlus = 30.0;
  double WinkelMinus = 30.0;
  int32_t Tiefe = StartTiefe;
  // Where the run started; with Zentriert the start it placed itself.
  double StartX = 500.0;
  double StartY = 680.0;
  double Startwinkel = 90.0;
  // The step size drawn with; when SchrittweiteAnpassen, as it was fitted.
  double Schrittweite = StartSchrittweite;
  // The surface the step size was fitted to.
  int32_t Breite = 1000;
  int32_t Hoehe = 680;
  // The part of the surface the picture shows, scaled to Breite x Hoehe;
  // none: the whole surface.
  std::optional<TRechteck> Ausschnitt = std::nullopt;
};

// The text form: the line "Rankenwerk-Rezept 1", then one "Schluessel: Wert"
// line per field, each ended by LF. Numbers read back bit for bit; the .LSY
// bytes are kept as printable ASCII with %XX for the others, so the whole
// text is printable ASCII and line ends.
std::string RezeptAlsText(const TRezept& Rezept);
// Reads the text form strictly; keys it does not know are passed over, and
// "Zentriert" may be missing (recipes from before it): then it is "nein". Every
// value must pass the check of the field it fills (RezeptPruefen). Throws
// std::runtime_error("Bild enthält kein gültiges Rezept: ...") on anything
// malformed, a missing key, a value out of its range (with the field's own
// message), an unknown version or a rule system that does not load.
TRezept RezeptAusText(const std::string& Text);

// Regelsystem and the exact angles of R.
void RegelsystemErfassen(TRezept& Rezept, const TRegelsystem& R);
// Replaces rules, axiom and angles of R by the recipe's, all or nothing.
void RegelsystemAusRezept(const TRezept& Rezept, TRegelsystem& R);

// A replay of a run as the window drew it: step by step runs walk their own
// string, and a run that was stopped ends where it stopped.
struct TWiedergabe {
  // Characters that acted before the run stopped; UINT64_MAX: it completed.
  uint64_t Zeichengrenze = UINT64_MAX;
  // Called at the engine's message passes with the share done; false stops.
  std::function<bool(double Anteil)> Weiter;
};

// Draws the recipe on the canvas, at once and without a window, as a drawing
// run with these settings draws it; a step-by-step recipe is drawn whole, as
// if every character had been confirmed. The step size and the start are
// taken as they are, unless Anpassen: then the step is fitted to Breite x
// Hoehe first, or Zentrieren: then the start is placed so that the drawing
// sits in the middle; either is written to the recipe. Bereit, when given,
// gets the complete recipe before the first line is drawn. The run reads the
// recipe's own settings and has its own generator. Errors of the
// run (turtle stack, floating point) are thrown with the picture drawn so far
// left on the canvas. Wiedergabe, when given, replays a window's run instead:
// see TWiedergabe. Ansicht, when given, lays the run out on the recipe's
// surface as ever and draws it through that view, the canvas being its output
// (the recipe's own Ausschnitt is left to the caller).
void RezeptZeichnen(TRezept& Rezept, TLeinwand& Leinwand, bool Anpassen = false,
                    bool Zentrieren = false, const std::function<void(const TRezept&)>& Bereit = {},
                    const TWiedergabe* Wiedergabe = nullptr, const TAnsicht* Ansicht = nullptr);
