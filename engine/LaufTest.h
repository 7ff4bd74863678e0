// Test support: a run of a small rule system written as its lines.
#pragma once

#include <string>

#include "engine/Lauf.h"
#include "engine/Rezept.h"
#include "rules/Regelsystem.h"

// A run of the rules (in list order) from their axiom, both angles Winkel, at depth Tiefe;
// the rest as a run's defaults.
template <class TRegeln>
TLauf Regellauf(const std::string& Axiom, const TRegeln& Regeln, double Winkel, int32_t Tiefe) {
  TRegelsystem R;
  R.Axiom = Axiom;
  for (const auto& Z : Regeln) R.RegelHinzufuegen(Z);
  R.WinkelPlus = R.WinkelMinus = Winkel;
  TLauf L;
  RegelsystemErfassen(L, R);
  L.Tiefe = Tiefe;
  return L;
}
