#include "engine/Zeichenzahl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "engine/Einstellungen.h"
#include "rules/Regelwahl.h"

namespace {
constexpr uint64_t Voll = std::numeric_limits<uint64_t>::max();
}  // namespace

uint64_t SattSumme(uint64_t a, uint64_t b) { return a > Voll - b ? Voll : a + b; }

uint64_t SattProdukt(uint64_t a, uint64_t b) {
  if (a == 0 || b == 0) return 0;
  return a > Voll / b ? Voll : a * b;
}

namespace {

// The replacements a character may get: its first rule's, unless that gives
// it back; under the random choice every rule's of its head.
std::vector<const std::string*> Moegliche(const TErsetzungen& R, size_t c, TRegelwahl Wahl) {
  std::vector<const std::string*> M;
  if (Wahl == TRegelwahl::Zufaellig) {
    for (int32_t r : R.Wahl[c]) M.push_back(&R.Ruempfe[static_cast<size_t>(r)]);
  } else if (R.Ersetzt[c]) {
    M.push_back(&R.Rumpf[c]);
  }
  return M;
}

// The characters that expand, numbered, each with the replacements it may get.
struct TKoepfe {
  std::array<int, 256> Nummer;  // -1: acts where it stands
  std::vector<std::vector<const std::string*>> Ruempfe;
};

TKoepfe Koepfe(const TErsetzungen& R, TRegelwahl Wahl) {
  TKoepfe K;
  K.Nummer.fill(-1);
  for (size_t i = 0; i < 256; ++i) {
    auto M = Moegliche(R, i, Wahl);
    if (M.empty()) continue;
    K.Nummer[i] = static_cast<int>(K.Ruempfe.size());
    K.Ruempfe.push_back(std::move(M));
  }
  return K;
}

}  // namespace

TZeichenzahl ZeichenZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                            TRegelwahl Wahl) {
  // For each character that expands: how often each character stands in each
  // of its replacements. All others act where they stand, whatever the depth.
  using TAnteile = std::vector<std::pair<unsigned char, uint64_t>>;
  struct TKopf {
    unsigned char Zeichen;
    std::vector<TAnteile> Ruempfe;
  };
  std::vector<TKopf> Koepfe;
  for (int i = 0; i < 256; ++i) {
    const auto Ruempfe = Moegliche(R, static_cast<size_t>(i), Wahl);
    if (Ruempfe.empty()) continue;
    TKopf K{static_cast<unsigned char>(i), {}};
    for (const std::string* Rumpf : Ruempfe) {
      std::array<uint64_t, 256> Haeufigkeit{};
      for (char d : *Rumpf) ++Haeufigkeit[static_cast<unsigned char>(d)];
      TAnteile A;
      for (int d = 0; d < 256; ++d)
        if (Haeufigkeit[d] > 0) A.emplace_back(static_cast<unsigned char>(d), Haeufigkeit[d]);
      K.Ruempfe.push_back(std::move(A));
    }
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
      for (const TAnteile& A : K.Ruempfe) {
        uint64_t Z1 = 0, L1 = 0;
        for (const auto& [d, Anzahl] : A) {
          Z1 = SattSumme(Z1, SattProdukt(Anzahl, Zeichen[d]));
          L1 = SattSumme(L1, SattProdukt(Anzahl, Linien[d]));
        }
        Z = std::max(Z, Z1);
        L = std::max(L, L1);
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
  const TKoepfe K = Koepfe(R, TRegelwahl::ErsteRegel);
  const std::array<int, 256>& Kopf = K.Nummer;
  bool Blaetter = MitBlatt(s);
  for (const auto& Ruempfe : K.Ruempfe) Blaetter = Blaetter || MitBlatt(*Ruempfe[0]);
  Blaetter = Blaetter && Z == TZeichensatz::MitBlaettern;
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
    std::vector<TBlattwirkung> Stufe(K.Ruempfe.size());
    for (size_t h = 0; h < K.Ruempfe.size(); ++h)
      for (size_t Offen = 0; Offen < Blattstaende; ++Offen)
        Stufe[h].Danach[Offen] =
            static_cast<uint8_t>(Wirken(*K.Ruempfe[h][0], k, Offen, Stufe[h].Linien[Offen]));
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
TEbenen LinienJeEbene(const TErsetzungen& R, int32_t Tiefe, const std::string& s, TRegelwahl Wahl) {
  const TKoepfe K = Koepfe(R, Wahl);
  const std::array<int, 256>& Kopf = K.Nummer;
  const auto& Rumpf = K.Ruempfe;
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
    // Level by level the most any of the replacements gives.
    std::vector<TEbenen> Stufe(Rumpf.size(), TEbenen{});
    for (size_t h = 0; h < Rumpf.size(); ++h)
      for (const std::string* B : Rumpf[h]) {
        TEbenen Eine{};
        Hinzu(Eine, *B, k);
        for (size_t j = 0; j < Ebenen; ++j) Stufe[h][j] = std::max(Stufe[h][j], Eine[j]);
      }
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
  A.Zeichen = ZeichenZaehlen(R, Tiefe, s, E.Regelwahl).Zeichen;
  const TEbenen Linien = LinienJeEbene(R, Tiefe, s, E.Regelwahl);
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

int64_t TiefsteVerschachtelung(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                               TRegelwahl Wahl) {
  constexpr int64_t Grenze = int64_t{1} << 40;
  std::array<std::vector<const std::string*>, 256> Ruempfe;
  for (size_t c = 0; c < 256; ++c) Ruempfe[c] = Moegliche(R, c, Wahl);
  // Tiefste[c]: the deepest nesting inside what c gives with k steps left,
  // counted from where c stands; k = 0 first.
  std::array<int64_t, 256> Tiefste{};
  auto Messen = [&](const std::string& Text, bool Weiter) {
    int64_t Ebene = 0, Hoechste = 0;
    for (char d : Text) {
      const auto u = static_cast<unsigned char>(d);
      if (Weiter && !Ruempfe[u].empty())
        Hoechste = std::max(Hoechste, std::min(Ebene + Tiefste[u], Grenze));
      else if (d == '[')
        Hoechste = std::max(Hoechste, Ebene = std::min(Ebene + 1, Grenze));
      else if (d == ']' && Ebene > 0)
        --Ebene;
    }
    return Hoechste;
  };
  for (int32_t k = 1; k <= Tiefe; ++k) {
    std::array<int64_t, 256> Neu{};
    for (size_t c = 0; c < 256; ++c)
      for (const std::string* B : Ruempfe[c]) Neu[c] = std::max(Neu[c], Messen(*B, k > 1));
    if (Neu == Tiefste && k > 1) break;
    Tiefste = Neu;
  }
  return Messen(s, Tiefe > 0);
}

namespace {

// Counts the plant as the walk draws it; Offen is the number of open leaves
// (with the character set "mit Blättern"), -1 without leaves; a 101st open
// leaf ends the drawing, and the count.
void PflanzeZaehlen(const TErsetzungen& R, const std::string& s, int32_t n, uint64_t Pfad,
                    TZeichenzahl& Z, int& Offen) {
  for (size_t i = 0; i < s.size() && Offen <= 100; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::vector<int32_t>& Regeln = R.Wahl[c];
    if (n > 0 && !Regeln.empty()) {
      const uint64_t P = PfadSchritt(Pfad, i);
      const auto r = static_cast<size_t>(Regeln[RegelWaehlen(P, Regeln.size())]);
      PflanzeZaehlen(R, R.Ruempfe[r], n - 1, P, Z, Offen);
      continue;
    }
    ++Z.Zeichen;
    if (Offen < 0) {
      if (c == 'F') ++Z.Linien;
    } else if (c == 'F') {
      if (Offen == 0) ++Z.Linien;
    } else if (c == '{') {
      ++Offen;
    } else if (c == '}' && Offen > 0) {
      ++Z.Linien;
      --Offen;
    }
  }
}

}  // namespace

TZeichenzahl LaufZaehlen(const TErsetzungen& R, int32_t Tiefe, const std::string& s,
                         const TEinstellungen& E) {
  const bool Blaetter = E.Zeichensatz == TZeichensatz::MitBlaettern;
  TZeichenzahl Hoechstens = ZeichenZaehlen(R, Tiefe, s, E.Regelwahl);
  if (E.Regelwahl != TRegelwahl::Zufaellig) {
    if (Blaetter) Hoechstens.Linien = LinienZaehlen(R, Tiefe, s, E.Zeichensatz);
    return Hoechstens;
  }
  if (Hoechstens.Zeichen > Zaehlgrenze) {
    // Each character draws at most one line or leaf.
    if (Blaetter) Hoechstens.Linien = Hoechstens.Zeichen;
    return Hoechstens;
  }
  TZeichenzahl Z;
  int Offen = Blaetter ? 0 : -1;
  PflanzeZaehlen(R, s, Tiefe, PfadAnfang(E.Saat), Z, Offen);
  return Z;
}
