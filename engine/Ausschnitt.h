// Drawing only what a view shows: a summary of what each replaced
// character draws at each depth, and the walk that jumps over what lies
// outside (engine/Ausschnitt.cpp, a part of the engine).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Lauf.h"
#include "engine/Sprung.h"

// What walking a replacement does at step length 1, in the frame of the
// turtle where it starts: x ahead, y to its left.
struct TTeilbild {
  double DX = 0, DY = 0;  // where the turtle ends
  double Drehung = 0;     // its turn, in [0, 360)
  // Every point of a line lies within Radius of (MX, MY).
  double MX = 0, MY = 0, Radius = 0;
  bool Linien = false;
  uint64_t Zeichen = 0;         // characters that act, saturated
  int64_t Verschachtelung = 0;  // deepest "[" nesting inside
  // The brackets close as they open and everything is finite: the turtle may
  // jump from its start to its end. Exact mode only.
  bool Springbar = false;
  // Holds "{", "}" or "|": with leaves drawn, walked rather than jumped,
  // since the summary takes in neither the corners nor the turns.
  bool Blattzeichen = false;
};

// The summaries of one rule-system state and pair of angles: Teil(c, j) is
// the replacement of c walked with j levels left, for j below Tiefe.
class TTeilbilder {
 public:
  // Rumpf[c]: the replacement of c, nullptr where c stays itself.
  TTeilbilder(const std::array<const std::string*, 256>& Rumpf, double WinkelPlus,
              double WinkelMinus, int32_t Tiefe);

  const TTeilbild& Teil(unsigned char c, int32_t j) const {
    return Teile[static_cast<size_t>(j) * Anzahl + static_cast<size_t>(Platz[c])];
  }
  int32_t Tiefe() const { return Stufen; }

  // What walking the replacement of c with j levels left does to the
  // thickness: the full walk's "[" (times Schwund) and "]" (divided by it)
  // one by one, so that d ends bit for bit as there. False where that fails
  // (the walk then reports it where it happens) or too much is remembered.
  // Letzte: the thickness of its last "F", NaN when it has none.
  bool Dicke(unsigned char c, int32_t j, double Schwund, double& d, double& Letzte) const;

  // The exact jumps of these replacements and turns at step length Schritt.
  TSpruenge& Spruenge(double Schritt) const;
  // Those of the measuring walk, at step length 1, and of the turtle that
  // walks beside it as the drawing's own does, for centring.
  TSpruenge& Messspruenge() const;
  TSpruenge& Lagespruenge() const;

  // What it was made for (set by the engine).
  uint64_t Stand = 0;
  double WinkelPlus = 0;
  double WinkelMinus = 0;

 private:
  std::array<int32_t, 256> Platz{};
  size_t Anzahl = 0;
  int32_t Stufen = 0;
  std::vector<TTeilbild> Teile;
  std::array<bool, 256> Ersetzt{};
  std::array<std::string, 256> Ruempfe;  // of those replaced
  struct TDickenschluessel {
    uint64_t Dicke, Schwund;
    int32_t Stufe;
    unsigned char Zeichen;
    bool operator==(const TDickenschluessel&) const = default;
  };
  struct TDickenstreuung {
    size_t operator()(const TDickenschluessel& K) const;
  };
  struct TDickenwert {
    double Ende, Letzte;
  };
  // The outcomes so far; NaN where the thickness fails.
  mutable std::unordered_map<TDickenschluessel, TDickenwert, TDickenstreuung> Dicken;
  std::unique_ptr<TSpruenge> NeueSpruenge(double Schritt, bool Messend) const;
  mutable std::unique_ptr<TSpruenge> Sprungspeicher, Messspeicher, Lagespeicher;
};
