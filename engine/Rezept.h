// The recipe of a picture: the text form of the run that drew it, which
// pictures carry (PNG text chunk, SVG metadata), and drawing a run again
// without a window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/Lauf.h"

class TRegelsystem;
class TLeinwand;

// The text form: the line "Rankenwerk-Rezept 1", then one "Schluessel: Wert"
// line per field, each ended by LF. Numbers read back bit for bit; the .LSY
// bytes of the rules are kept as printable ASCII with %XX for the others, so
// the whole text is printable ASCII and line ends.
std::string RezeptAlsText(const TLauf& Lauf);
// Reads the text form strictly; keys it does not know are passed over, and
// "Zentriert" may be missing (recipes from before it): then it is "nein". Every
// value must pass the check of the field it fills (RezeptPruefen). Throws
// std::runtime_error("Bild enthält kein gültiges Rezept: ...") on anything
// malformed, a missing key, a value out of its range (with the field's own
// message), an unknown version or a rule system that does not load.
TLauf RezeptAusText(const std::string& Text);

// The rules (as they are now) and the exact angles of R.
void RegelsystemErfassen(TLauf& Lauf, const TRegelsystem& R);
// Replaces rules, axiom and angles of R by the run's, all or nothing.
void RegelsystemUebernehmen(const TLauf& Lauf, TRegelsystem& R);

// How a run is drawn again without a window.
struct TNachzeichnung {
  // Computed afresh before the first line and written to the run: the step
  // fitted to its surface, the start placed so that the drawing sits in the
  // middle. Otherwise both are taken as they are.
  bool SchrittweiteAnpassen = false;
  bool Zentrieren = false;
  // Gets the complete run (the step and start as computed) before the first
  // line is drawn, or when the fitting fails.
  std::function<void(const TLauf&)> Bereit;
  // A replay of a window's run: a step-by-step run walks its own string as
  // if every character had been confirmed, and it ends where the run ended.
  bool Wiedergabe = false;
  uint64_t Zeichengrenze = UINT64_MAX;
  // Called at the engine's message passes with the share done; false stops.
  std::function<bool(double Anteil)> Weiter;
  // Drawn through this view, the canvas being its output, instead of the
  // run's own Ausschnitt.
  std::optional<TAnsicht> Ansicht;
  // Every character walked, none jumped over (TLaufart::Vollstaendig).
  bool Vollstaendig = false;
};

// Draws the run on the canvas, at once, as a drawing run with its settings
// draws it (a step-by-step run is drawn whole, as if every character had been
// confirmed); it reads its own settings and has its own generator. Errors of
// the run (turtle stack, floating point) are thrown with the picture drawn so
// far left on the canvas. False when Weiter stopped it.
bool LaufZeichnen(TLauf& Lauf, TLeinwand& Leinwand, const TNachzeichnung& Wie = {});
