// Derivation with the random choice among the rules of a head.
#include "rules/Regelwahl.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <stdexcept>
#include <string>

#include "rules/Regelsystem.h"

namespace {

// About a second of derivation steps, counted in characters replaced.
constexpr uint64_t GroessteWahlarbeit = uint64_t{1} << 26;

// For each head the replacements of its rules, in list order.
using TWahl = std::array<std::vector<const std::string*>, 256>;

TWahl Wahltabelle(const std::vector<TRegel>& Regeln) {
  TWahl Wahl;
  for (const TRegel& R : Regeln) Wahl[static_cast<unsigned char>(R.Kopf)].push_back(&R.Rumpf);
  return Wahl;
}

void Schritt(const TWahl& Wahl, std::string& Text, std::vector<uint64_t>& Pfade) {
  std::string Neu;
  std::vector<uint64_t> NeuePfade;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    const auto& Moegliche = Wahl[static_cast<unsigned char>(c)];
    if (Moegliche.empty()) {
      Neu += c;
      NeuePfade.push_back(Pfade[i]);
    } else {
      const std::string& Rumpf = *Moegliche[RegelWaehlen(Pfade[i], Moegliche.size())];
      Neu += Rumpf;
      for (size_t j = 0; j < Rumpf.size(); ++j) NeuePfade.push_back(PfadSchritt(Pfade[i], j));
    }
    if (Neu.size() > static_cast<size_t>(MaxStringlaenge))
      throw EZulang("Stringlaenge ist zu groß:  " + std::to_string(Neu.size()));
  }
  Text.swap(Neu);
  Pfade.swap(NeuePfade);
}

// The heads whose rules do not all give the same, and those whose
// replacements lead to one: only there the choice counts.
std::bitset<256> Waehlbar(const TWahl& Wahl) {
  std::bitset<256> W;
  for (size_t c = 0; c < 256; ++c)
    for (const std::string* B : Wahl[c])
      if (*B != *Wahl[c][0]) W.set(c);
  for (bool Neu = true; Neu;) {
    Neu = false;
    for (size_t c = 0; c < 256; ++c)
      for (const std::string* B : Wahl[c])
        if (!W.test(c) && std::any_of(B->begin(), B->end(), [&](char d) {
              return W.test(static_cast<unsigned char>(d));
            })) {
          W.set(c);
          Neu = true;
        }
  }
  return W;
}

}  // namespace

void TRegelsystem::Ableitungsschritt(std::string& Text, std::vector<uint64_t>& Pfade) const {
  Schritt(Wahltabelle(Regeln), Text, Pfade);
}

std::string TRegelsystem::Ableitung(int32_t Tiefe, uint32_t Saat) const {
  const TWahl Wahl = Wahltabelle(Regeln);
  const std::bitset<256> Wahlzeichen = Waehlbar(Wahl);
  std::string Text = Axiom;
  std::vector<uint64_t> Pfade;
  for (size_t i = 0; i < Text.size(); ++i) Pfade.push_back(PfadSchritt(PfadAnfang(Saat), i));
  uint64_t Arbeit = 0;
  for (int32_t k = 0; k < Tiefe; ++k) {
    // Without a choice left the first rules give the same, also for huge depths.
    if (std::none_of(Text.begin(), Text.end(),
                     [&](char c) { return Wahlzeichen.test(static_cast<unsigned char>(c)); })) {
      Fortsetzen(Text, Tiefe - k);
      break;
    }
    // A string that keeps choosing without growing would take its time for good.
    Arbeit += Text.size() + 64;  // a step costs some even for a short string
    if (Arbeit > GroessteWahlarbeit)
      throw std::runtime_error("Zu viele Ableitungsschritte mit zufälliger Regelwahl: " +
                               std::to_string(Tiefe));
    Schritt(Wahl, Text, Pfade);
  }
  return Text;
}

std::string TRegelsystem::TerminalAbleitung(int32_t Tiefe, uint32_t Saat) const {
  std::string Text = Ableitung(Tiefe, Saat);
  NichtterminaleEntfernen(Text);
  return Text;
}

bool TRegelsystem::MehrereRegelnJeKopf() const {
  std::array<int, 256> Anzahl{};
  for (const TRegel& R : Regeln)
    if (++Anzahl[static_cast<unsigned char>(R.Kopf)] > 1) return true;
  return false;
}
