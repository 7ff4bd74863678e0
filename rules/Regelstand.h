// A rule system as it stood at one moment, parsed once and never changed:
// what replays, recipes and drawings in the background draw, shared by all
// of them however often they draw it, also from other threads.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/Regelsystem.h"

// What the recursive walk expands each character into: the replacement of
// its first rule, unless it has none or that gives the character back.
struct TErsetzungen {
  TErsetzungen() = default;
  explicit TErsetzungen(const TRegelsystem& R);

  std::array<bool, 256> Ersetzt{};
  std::array<std::string, 256> Rumpf;
  // Every rule's replacement by its place in the list, and for each head the
  // places of its rules in list order (a rule listed twice counts twice):
  // what the random choice picks from. Erste is the place of Rumpf, where
  // Ersetzt; Kopfstelle the first position of a rule's head in its own
  // replacement, or -1.
  std::vector<std::string> Ruempfe;
  std::array<std::vector<int32_t>, 256> Wahl;
  std::array<int32_t, 256> Erste{};
  std::vector<int32_t> Kopfstelle;
  // The rule system's Stand it was taken at: equal Stand, equal tables.
  uint64_t Stand = 0;
};

class TRegelstand {
 public:
  // R as it is now.
  static std::shared_ptr<const TRegelstand> Aus(const TRegelsystem& R);
  // The rule system of a .LSY text; throws as TRegelsystem::InhaltLaden does.
  static std::shared_ptr<const TRegelstand> AusText(const std::string& Text);
  TRegelstand(const TRegelstand&) = delete;
  TRegelstand& operator=(const TRegelstand&) = delete;

  // The frozen rule system: axiom, rules, angles, for derivations and counts.
  const TRegelsystem& Regelsystem() const { return Regeln; }
  const std::string& Axiom() const { return Regeln.Axiom; }
  const TErsetzungen& Ersetzungen() const { return Tabelle; }
  // Its .LSY text, as a file holds it (the angles rounded to 15 digits).
  const std::string& Text() const { return Text_; }
  // The text loads back to this axiom and these rules (a line end in the
  // axiom, say, it cannot hold).
  bool TextGenau() const { return Genau; }

  // Same axiom and rules (the turns belong to the run, not to the rules).
  bool GleicheRegeln(const TRegelstand& Andere) const;

 private:
  TRegelstand() = default;
  void Fertigstellen();

  TRegelsystem Regeln;
  TErsetzungen Tabelle;
  std::string Text_;
  bool Genau = true;
};
