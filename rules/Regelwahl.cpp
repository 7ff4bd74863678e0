// Derivation with the random choice among the rules of a head.
#include "rules/Regelwahl.h"

#include <array>

#include "rules/Regelsystem.h"

void TRegelsystem::Ableitungsschritt(std::string& Text, std::vector<uint64_t>& Pfade) const {
  std::array<std::vector<const std::string*>, 256> Wahl;
  for (const TRegel& R : Regeln) Wahl[static_cast<unsigned char>(R.Kopf)].push_back(&R.Rumpf);
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

std::string TRegelsystem::Ableitung(int32_t Tiefe, uint32_t Saat) const {
  std::string Text = Axiom;
  std::vector<uint64_t> Pfade;
  for (size_t i = 0; i < Text.size(); ++i) Pfade.push_back(PfadSchritt(PfadAnfang(Saat), i));
  for (int32_t k = 0; k < Tiefe; ++k) Ableitungsschritt(Text, Pfade);
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
