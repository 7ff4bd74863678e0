#include "drawing/Zeichenzahl.h"

#include <array>
#include <limits>
#include <utility>
#include <vector>

#include "rules/Regelsystem.h"

namespace {
constexpr uint64_t Voll = std::numeric_limits<uint64_t>::max();
}  // namespace

uint64_t SattSumme(uint64_t a, uint64_t b) { return a > Voll - b ? Voll : a + b; }

uint64_t SattProdukt(uint64_t a, uint64_t b) {
  if (a == 0 || b == 0) return 0;
  return a > Voll / b ? Voll : a * b;
}

TZeichenzahl ZeichenZaehlen(const TRegelsystem& R, int32_t Tiefe, const std::string& s) {
  // For each character that expands: how often each character stands in its
  // replacement. All others act where they stand, whatever the depth.
  struct TKopf {
    unsigned char Zeichen;
    std::vector<std::pair<unsigned char, uint64_t>> Anteile;
  };
  std::vector<TKopf> Koepfe;
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    const int Index = R.RegelIndex(c);
    if (Index < 0) continue;
    const std::string& Rumpf = R.Items(Index).Rumpf;
    if (Rumpf.size() == 1 && Rumpf[0] == c) continue;
    std::array<uint64_t, 256> Haeufigkeit{};
    for (char d : Rumpf) ++Haeufigkeit[static_cast<unsigned char>(d)];
    TKopf K{static_cast<unsigned char>(i), {}};
    for (int d = 0; d < 256; ++d)
      if (Haeufigkeit[d] > 0) K.Anteile.emplace_back(static_cast<unsigned char>(d), Haeufigkeit[d]);
    Koepfe.push_back(std::move(K));
  }

  // Zeichen[c], Linien[c]: what c gives with k derivation steps left, k = 0 first.
  std::array<uint64_t, 256> Zeichen, Linien{};
  Zeichen.fill(1);
  Linien['F'] = 1;
  for (int32_t k = 1; k <= Tiefe; ++k) {
    std::array<uint64_t, 256> NeuZeichen = Zeichen, NeuLinien = Linien;
    bool Gleich = true;
    for (const TKopf& K : Koepfe) {
      uint64_t Z = 0, L = 0;
      for (const auto& [d, Anzahl] : K.Anteile) {
        Z = SattSumme(Z, SattProdukt(Anzahl, Zeichen[d]));
        L = SattSumme(L, SattProdukt(Anzahl, Linien[d]));
      }
      NeuZeichen[K.Zeichen] = Z;
      NeuLinien[K.Zeichen] = L;
      Gleich = Gleich && Z == Zeichen[K.Zeichen] && L == Linien[K.Zeichen];
    }
    Zeichen = NeuZeichen;
    Linien = NeuLinien;
    // Nothing changed: deeper levels give the same again.
    if (Gleich) break;
  }

  TZeichenzahl Summe;
  for (char c : s) {
    const unsigned char u = static_cast<unsigned char>(c);
    Summe.Zeichen = SattSumme(Summe.Zeichen, Zeichen[u]);
    Summe.Linien = SattSumme(Summe.Linien, Linien[u]);
  }
  return Summe;
}
