// How much a drawing at once will do, counted before it starts and without
// expanding the derived string: for progress display and the expected number
// of lines.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Einstellungen.h"
#include "rules/Regelstand.h"

struct TZeichenzahl {
  uint64_t Zeichen = 0;  // characters that act on the turtle
  uint64_t Linien = 0;   // "F" among them
};

// a + b and a * b, stopping at the largest uint64_t instead of wrapping.
uint64_t SattSumme(uint64_t a, uint64_t b);
uint64_t SattProdukt(uint64_t a, uint64_t b);

// The characters that act when s is drawn at once to depth Tiefe with the
// rules of R (the same as the full derived string of that depth, or the
// characters the measuring walk interprets), and the "F" among them.
// Counts that do not fit saturate at the largest uint64_t. Under the random
// choice the counts are upper bounds: each character counts as its rule that
// gives the most.
TZeichenzahl ZeichenZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                            TRegelwahl Wahl = TRegelwahl::ErsteRegel);
inline TZeichenzahl ZeichenZaehlen(const TRegelsystem& R, int32_t Tiefe, const std::string& s,
                                   TRegelwahl Wahl = TRegelwahl::ErsteRegel) {
  return ZeichenZaehlen(TErsetzungen(R), Tiefe, s, Wahl);
}

// What a run with the settings E draws of s at depth Tiefe: under the random
// choice the plant of E's seed counted by a walk, where the upper bound is no
// more than Zaehlgrenze characters, else that bound; otherwise ZeichenZaehlen.
constexpr uint64_t Zaehlgrenze = uint64_t{1} << 22;
TZeichenzahl LaufZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                         const TEinstellungen& E);

// The deepest "[" nesting that s drawn to depth Tiefe can reach (under the
// random choice: with any of the choices), found from each character's
// deepest nesting per depth, without a walk; saturates at 2^40.
int64_t TiefsteVerschachtelung(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                               TRegelwahl Wahl);

// The lines of s drawn at once to depth Tiefe with the first rules of R and
// the character set Z. With leaves, an "F" inside an open leaf draws no line
// and each "}" that closes one counts as one (the leaf it fills); nothing
// counts after a 101st open leaf, where the drawing fails. Saturates as above.
uint64_t LinienZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s, TZeichensatz Z);

// What a drawing at once will cost, in the engine's units of work: one per
// character that acts (so a thin line costs its "F"), and for each thick line
// what the picture canvas counts for the pixels it covers.
struct TAufwand {
  uint64_t Zeichen = 0;  // characters that act, "F" included
  uint64_t Linien = 0;   // the lines among them
  uint64_t Flaeche = 0;  // what thick lines cost the canvas
  uint64_t Summe() const;
};

// The work of drawing s at depth Tiefe with the rules of R and the settings E
// on a surface of Breite x Hoehe, with lines of Schrittweite pixels. A fitted
// step size is not known before the run: its lines count by their width alone.
// Under the random choice of E, an upper bound.
TAufwand AufwandSchaetzen(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                          const TEinstellungen& E, double Schrittweite, int Breite, int Hoehe);
