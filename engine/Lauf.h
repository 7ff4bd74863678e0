// The inputs of one drawing run, as one value: what it draws, where and how.
// A recipe is its text form, the run log keeps one per run, live redraw
// compares them, and the engine is set up from one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "engine/Einstellungen.h"
#include "rules/Regelstand.h"

// A view of the surface: the surface point (x, y) lands on the output pixel
// ((x - X) * Massstab, (y - Y) * Massstab). Pen widths stay output pixels.
struct TAnsicht {
  double X = 0;
  double Y = 0;
  double Massstab = 1;
};

// A rectangle of the surface, as recipes and the command line name a view:
// left, top, width, height.
struct TRechteck {
  double X = 0;
  double Y = 0;
  double B = 1;
  double H = 1;
  bool operator==(const TRechteck&) const = default;
};

// The views that recipes, the command line and the magnifier may show: the
// corner within this distance of the surface's origin, the scale within these.
constexpr double GroessteAnsichtsentfernung = 1e9;
constexpr double KleinsterMassstab = 0.25;
constexpr double GroessterMassstab = 1e6;

// The view that shows R on an output Breite pixels wide.
TAnsicht AnsichtAus(const TRechteck& R, int Breite);

class TLeinwand;

// Makes the canvas the blank picture of a surface with the settings E: how
// every picture a run draws on begins, on every canvas.
void FlaecheLeeren(TLeinwand& Leinwand, const TEinstellungen& E);

struct TLauf {
  // The rules as they stood when the run was set up.
  std::shared_ptr<const TRegelstand> Regeln;
  // The turns of "+" and "-" in degrees as the user gives them: "-" turns
  // by the negated WinkelMinus.
  double WinkelPlus = 30.0;
  double WinkelMinus = 30.0;
  int32_t Tiefe = StartTiefe;
  // Where the run starts; a centred run places its start itself.
  double StartX = 500.0;
  double StartY = 680.0;
  double Startwinkel = 90.0;
  // The step size drawn with, unless the run fits it first.
  double Schrittweite = StartSchrittweite;
  TEinstellungen Einstellungen;
  // The surface the step is fitted to and a view lies on.
  int32_t Breite = 1000;
  int32_t Hoehe = 680;
  // The part of the surface the picture shows, scaled to Breite x Hoehe;
  // none: the whole surface.
  std::optional<TRechteck> Ausschnitt = std::nullopt;
  // The colour levels are those of this depth, when not below 0: a frame of
  // Wachstum shows its parts in the colours they have at the deepest one.
  int32_t Farbtiefe = -1;

  // Equal inputs: the same axiom and rules, and all else alike.
  bool operator==(const TLauf& Andere) const;
};
