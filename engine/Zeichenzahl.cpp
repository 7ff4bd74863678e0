#include "engine/Zeichenzahl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "engine/Einstellungen.h"

namespace {
constexpr uint64_t Voll = std::numeric_limits<uint64_t>::max();
}  // namespace

uint64_t SattSumme(uint64_t a, uint64_t b) { return a > Voll - b ? Voll : a + b; }

uint64_t SattProdukt(uint64_t a, uint64_t b) {
  if (a == 0 || b == 0) return 0;
  return a > Voll / b ? Voll : a * b;
}

TZeichenzahl ZeichenZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s) {
  // For each character that expands: how often each character stands in its
  // replacement. All others act where they stand, whatever the depth.
  struct TKopf {
    unsigned char Zeichen;
    std::vector<std::pair<unsigned char, uint64_t>> Anteile;
  };
  std::vector<TKopf> Koepfe;
  for (int i = 0; i < 256; ++i) {
    if (!R.Ersetzt[static_cast<size_t>(i)]) continue;
    const std::string& Rumpf = R.Rumpf[static_cast<size_t>(i)];
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

namespace {

// Open leaves 0 to 100, and 101 for a drawing that failed at its 101st.
constexpr size_t Blattstaende = 102;
constexpr uint8_t Gescheitert = Blattstaende - 1;

// What a text does from each number of open leaves: the lines it counts and
// the number open after it.
struct TBlattwirkung {
  std::array<uint64_t, Blattstaende> Linien{};
  std::array<uint8_t, Blattstaende> Danach{};
  bool operator==(const TBlattwirkung&) const = default;
};

}  // namespace

uint64_t LinienZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s, TZeichensatz Z) {
  auto MitBlatt = [](const std::string& Text) { return Text.find('{') != std::string::npos; };
  bool Blaetter = Z == TZeichensatz::MitBlaettern && MitBlatt(s);
  std::array<int, 256> Kopf;
  Kopf.fill(-1);
  std::vector<const std::string*> Rumpf;
  for (size_t i = 0; i < 256; ++i) {
    if (!R.Ersetzt[i]) continue;
    Kopf[i] = static_cast<int>(Rumpf.size());
    Rumpf.push_back(&R.Rumpf[i]);
    Blaetter = Blaetter || (Z == TZeichensatz::MitBlaettern && MitBlatt(R.Rumpf[i]));
  }
  // No leaf ever opens: every "F" is a line, as without leaves.
  if (!Blaetter) return ZeichenZaehlen(R, Tiefe, s).Linien;

  // Stufen[k][h]: the h-th expanding character with k + 1 steps left; a
  // level equal to the one before stays so further down.
  std::vector<std::vector<TBlattwirkung>> Stufen;
  auto Wirken = [&](const std::string& Text, int32_t k, size_t Offen, uint64_t& Linien) {
    for (char c : Text) {
      const int h = Kopf[static_cast<unsigned char>(c)];
      if (k > 0 && h >= 0) {
        const auto& Stufe = Stufen[std::min(static_cast<size_t>(k - 1), Stufen.size() - 1)];
        const TBlattwirkung& W = Stufe[static_cast<size_t>(h)];
        Linien = SattSumme(Linien, W.Linien[Offen]);
        Offen = W.Danach[Offen];
      } else if (Offen == Gescheitert) {
        break;
      } else if (c == 'F') {
        if (Offen == 0) Linien = SattSumme(Linien, 1);
      } else if (c == '{') {
        ++Offen;
      } else if (c == '}' && Offen > 0) {
        Linien = SattSumme(Linien, 1);
        --Offen;
      }
    }
    return Offen;
  };
  for (int32_t k = 0; k < Tiefe; ++k) {
    std::vector<TBlattwirkung> Stufe(Rumpf.size());
    for (size_t h = 0; h < Rumpf.size(); ++h)
      for (size_t Offen = 0; Offen < Blattstaende; ++Offen)
        Stufe[h].Danach[Offen] =
            static_cast<uint8_t>(Wirken(*Rumpf[h], k, Offen, Stufe[h].Linien[Offen]));
    if (!Stufen.empty() && Stufe == Stufen.back()) break;
    Stufen.push_back(std::move(Stufe));
  }
  uint64_t Linien = 0;
  Wirken(s, Tiefe, 0, Linien);
  return Linien;
}

namespace {

// Nesting levels told apart; deeper ones share the last (the turtle's stack
// ends at 100 anyway).
constexpr size_t Ebenen = 102;
using TEbenen = std::array<uint64_t, Ebenen>;

// The lines of s at depth Tiefe by the bracket level they are drawn at,
// counted from the level s starts at.
TEbenen LinienJeEbene(const TErsetzungen& R, int32_t Tiefe, const std::string& s) {
  // The characters that expand, numbered, with their replacements.
  std::array<int, 256> Kopf;
  Kopf.fill(-1);
  std::vector<const std::string*> Rumpf;
  for (int i = 0; i < 256; ++i) {
    if (!R.Ersetzt[static_cast<size_t>(i)]) continue;
    Kopf[i] = static_cast<int>(Rumpf.size());
    Rumpf.push_back(&R.Rumpf[static_cast<size_t>(i)]);
  }
  // Tabelle[k][h]: what the h-th expanding character gives with k + 1 steps left.
  std::vector<std::vector<TEbenen>> Tabelle;
  auto Hinzu = [&](TEbenen& Summe, const std::string& Text, int32_t k) {
    size_t Ebene = 0;
    for (char c : Text) {
      const int h = Kopf[static_cast<unsigned char>(c)];
      if (k > 0 && h >= 0) {
        const TEbenen& T = Tabelle[static_cast<size_t>(k - 1)][static_cast<size_t>(h)];
        for (size_t j = 0; j < Ebenen; ++j)
          if (T[j]) {
            const size_t Ziel = std::min(Ebene + j, Ebenen - 1);
            Summe[Ziel] = SattSumme(Summe[Ziel], T[j]);
          }
      } else if (c == '[') {
        Ebene = std::min(Ebene + 1, Ebenen - 1);
      } else if (c == ']') {
        if (Ebene > 0) --Ebene;
      } else if (c == 'F') {
        Summe[Ebene] = SattSumme(Summe[Ebene], 1);
      }
    }
  };
  for (int32_t k = 0; k < Tiefe; ++k) {
    std::vector<TEbenen> Stufe(Rumpf.size(), TEbenen{});
    for (size_t h = 0; h < Rumpf.size(); ++h) Hinzu(Stufe[h], *Rumpf[h], k);
    Tabelle.push_back(std::move(Stufe));
  }
  TEbenen Summe{};
  Hinzu(Summe, s, Tiefe);
  return Summe;
}

// As the picture canvas counts a stroke: the pixels it may cover, at most the
// whole picture, 256 to a unit, plus one.
constexpr double PixelProEinheit = 256;

}  // namespace

uint64_t TAufwand::Summe() const { return SattSumme(Zeichen, Flaeche); }

TAufwand AufwandSchaetzen(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                          const TEinstellungen& E, double Schrittweite, int Breite, int Hoehe) {
  TAufwand A;
  A.Zeichen = ZeichenZaehlen(R, Tiefe, s).Zeichen;
  const TEbenen Linien = LinienJeEbene(R, Tiefe, s);
  const double Laenge =
      E.SchrittweiteAnpassen
          ? 0.0
          : std::fabs(Schrittweite) * (E.Zufallsmodus ? 1 + std::fabs(E.AbweichungSchritt) : 1);
  const double Bild = static_cast<double>(Breite) * Hoehe;
  double Dicke = E.Anfangsdicke;
  for (size_t j = 0; j < Ebenen; ++j, Dicke *= E.Schwundfaktor) {
    if (Linien[j] == 0) continue;
    A.Linien = SattSumme(A.Linien, Linien[j]);
    // Thin lines the canvas stamps at almost no cost: their characters count.
    const double Stift = std::min(std::fabs(std::nearbyint(Dicke)), 1e9);
    if (Stift <= 1) continue;
    const double Flaeche = std::min((Laenge + Stift) * Stift, Bild);
    const double Gesamt =
        (1 + std::floor(Flaeche / PixelProEinheit)) * static_cast<double>(Linien[j]);
    A.Flaeche = SattSumme(A.Flaeche, Gesamt >= 1.8e19 ? Voll : static_cast<uint64_t>(Gesamt));
  }
  return A;
}
