#include "engine/Sprung.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "turtle/Winkelcache.h"
#include "turtle/turtleUnit.h"

namespace {

constexpr double Zwei53 = 9007199254740992.0;
constexpr int64_t Ganz52 = int64_t{1} << 52;
constexpr int64_t Ganz53 = int64_t{1} << 53;
// The grid of the binade with biased exponent e has steps of 2^(e - Versatz).
constexpr int Versatz = 1075;
// Beyond 2^62 the ends of lines no longer round to a whole number the canvas
// takes: the walk fails there, and so nothing out there is jumped over.
constexpr int GroessterExponent = 1023 + 61;
// Each entry stands for one replacement at one heading: few are needed.
constexpr size_t Hoechstens = size_t{1} << 17;
// Pieces remembered, and per replacement: longer rules are walked.
constexpr size_t HoechstensStuecke = size_t{1} << 17;
constexpr size_t StueckeJeTeil = 256;
// The replacements inside the entries of one axis, for the walk axis by axis.
constexpr size_t HoechstensKinder = size_t{1} << 18;

int Exponent(double x) { return static_cast<int>((std::bit_cast<uint64_t>(x) >> 52) & 0x7FF); }

// d in whole steps of the grid 2^(e - Versatz); false on a tie or a move
// longer than a binade.
bool Schritte(double d, int e, int64_t& k) {
  k = 0;
  if (e == 0) return d == 0;  // at +0, moves of no length keep it there
  const double q = std::ldexp(d, Versatz - e);
  if (!(std::fabs(q) < Zwei53)) return false;
  const double Unten = std::floor(q);
  const double Rest = q - Unten;
  if (Rest == 0.5) return false;
  k = static_cast<int64_t>(Rest > 0.5 ? Unten + 1 : Unten);
  return true;
}

// A finite x (+0 or normal) in steps of its binade's grid, with its sign:
// its significand, read off its bits rather than scaled, which costs more.
int64_t Gitterpunkt(double x) {
  const auto b = std::bit_cast<uint64_t>(x);
  if ((b & ~(uint64_t{1} << 63)) == 0) return 0;
  const auto m = static_cast<int64_t>((b & (Ganz52 - 1)) | Ganz52);
  return (b >> 63) ? -m : m;
}

// The value of m steps of the grid of binade e, where m is 0 or lies inside it.
double Gitterwert(int64_t m, int e) {
  if (m == 0) return 0.0;
  const uint64_t Betrag = m < 0 ? static_cast<uint64_t>(-m) : static_cast<uint64_t>(m);
  return std::bit_cast<double>((m < 0 ? uint64_t{1} << 63 : 0) | static_cast<uint64_t>(e) << 52 |
                               (Betrag - static_cast<uint64_t>(Ganz52)));
}

// Every point passed stays strictly inside the binade of the start M (in
// grid steps, with its sign), so that each move added there is its rounded
// move; then the end lies there too.
bool Innen(int64_t M, int64_t Min, int64_t Max) {
  if (M == 0) return Min == 0 && Max == 0;
  if (M > 0) return M + Min > Ganz52 && M + Max < Ganz53;
  return M + Max < -Ganz52 && M + Min > -Ganz53;
}

bool Klein(int64_t k) { return k > -Ganz53 && k < Ganz53; }

// Far enough from 2^62 that a line's ends still round to whole numbers.
bool Tragbar(double v) { return Exponent(v) <= GroessterExponent; }

}  // namespace

TSpruenge::TSpruenge(const std::array<const std::string*, 256>& Rumpf, double WinkelPlus,
                     double WinkelMinus, double Schritt, bool Messend)
    : Plus(WinkelPlus), Minus(WinkelMinus), Laenge(Schritt), Messend(Messend) {
  for (size_t c = 0; c < 256; ++c)
    if (Rumpf[c]) {
      Ersetzt[c] = true;
      Ruempfe[c] = *Rumpf[c];
    }
  Eintraege.reserve(1024);
}

size_t TSpruenge::TStreuung::operator()(const TSchluessel& K) const {
  uint64_t h = K.Richtung * 0x9E3779B97F4A7C15ull;
  h ^= (static_cast<uint64_t>(static_cast<uint16_t>(K.EX)) << 40 |
        static_cast<uint64_t>(static_cast<uint16_t>(K.EY)) << 24 |
        static_cast<uint64_t>(static_cast<uint32_t>(K.Stufe)) << 8 | K.Zeichen) *
       0xBF58476D1CE4E5B9ull;
  return static_cast<size_t>(h ^ (h >> 31));
}

bool TSpruenge::Springen(unsigned char c, int32_t j, double X, double Y, double Richtung,
                         TSprungziel& Ziel) {
  const int EX = Exponent(X), EY = Exponent(Y);
  // The tiniest numbers have no binade of their own; +0 stays where it is.
  const auto Null = [](double v, int e) { return e == 0 && std::bit_cast<uint64_t>(v) != 0; };
  if (Null(X, EX) || Null(Y, EY) || EX > GroessterExponent || EY > GroessterExponent ||
      !Ersetzt[c] || !std::isfinite(Richtung))
    return false;
  const TEintrag* E = Eintrag({std::bit_cast<uint64_t>(Richtung), j, static_cast<int16_t>(EX),
                               static_cast<int16_t>(EY), c});
  if (!E || !E->Gut) return false;
  const int64_t MX = Gitterpunkt(X), MY = Gitterpunkt(Y);
  if (!Innen(MX, E->MinX, E->MaxX) || !Innen(MY, E->MinY, E->MaxY)) return false;
  Ziel.X = Gitterwert(MX + E->KX, EX);
  Ziel.Y = Gitterwert(MY + E->KY, EY);
  Ziel.MinX = Gitterwert(MX + E->MinX, EX);
  Ziel.MaxX = Gitterwert(MX + E->MaxX, EX);
  Ziel.MinY = Gitterwert(MY + E->MinY, EY);
  Ziel.MaxY = Gitterwert(MY + E->MaxY, EY);
  Ziel.Richtung = E->Richtung;
  Ziel.Linien = E->Linien;
  Ziel.Luecken = E->Luecken;
  Ziel.Eintrag = E;
  Ziel.GX = MX;
  Ziel.GY = MY;
  Ziel.EX = EX;
  Ziel.EY = EY;
  return true;
}

bool TSpruenge::Zerlegen(const TSprungziel& Ziel, TStueckwahl& W, int64_t& Aufwand) const {
  return Zerlegen(*Ziel.Eintrag, Ziel.GX, Ziel.GY, Ziel.EX, Ziel.EY, W, Aufwand);
}

// Every point of a piece lies within the box of its part, which lies inside
// the binades: each is a grid value there.
bool TSpruenge::Zerlegen(const TEintrag& E, int64_t MX, int64_t MY, int EX, int EY, TStueckwahl& W,
                         int64_t& Aufwand) const {
  for (uint32_t i = E.Erstes; i < E.Erstes + E.Stuecke; ++i) {
    if (--Aufwand < 0) return false;
    const TStueck& S = Stuecke[i];
    const int64_t X = MX + S.X, Y = MY + S.Y;
    if (!S.Teil) {
      W.Linie(Gitterwert(X, EX), Gitterwert(Y, EY), Gitterwert(MX + S.ZX, EX),
              Gitterwert(MY + S.ZY, EY));
      continue;
    }
    const TEintrag& T = *S.Teil;  // one with lines, as all pieces are
    TSprungziel K;
    K.MinX = Gitterwert(X + T.MinX, EX);
    K.MaxX = Gitterwert(X + T.MaxX, EX);
    K.MinY = Gitterwert(Y + T.MinY, EY);
    K.MaxY = Gitterwert(Y + T.MaxY, EY);
    K.Linien = true;
    K.Luecken = T.Luecken;
    if (!W.Teil(K) && !Zerlegen(T, X, Y, EX, EY, W, Aufwand)) return false;
  }
  return true;
}

const TSpruenge::TEintrag* TSpruenge::Eintrag(const TSchluessel& K) {
  // The walk asks for few entries again and again: a table of the latest
  // before the map, which costs more to search. Entries never move.
  TZuletzt& Z = Zuletzt[TStreuung{}(K) % Zuletzt.size()];
  if (Z.Eintrag && Z.Schluessel == K) return Z.Eintrag;
  if (const auto i = Eintraege.find(K); i != Eintraege.end()) {
    Z = {K, &i->second};
    return &i->second;
  }
  if (Eintraege.size() >= Hoechstens) return nullptr;
  // Nodes stay where they are while the children below are added.
  TEintrag& E = Eintraege.emplace(K, TEintrag{}).first->second;
  Berechnen(K, E);
  Zuletzt[TStreuung{}(K) % Zuletzt.size()] = {K, &E};
  return &E;
}

void TSpruenge::Berechnen(const TSchluessel& K, TEintrag& E) {
  struct TLage {
    int64_t X, Y;
    double Phi;
  };
  std::vector<TLage> Stapel;
  int64_t X = 0, Y = 0, MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  double Phi = std::bit_cast<double>(K.Richtung);
  bool Linien = false, Luecken = false;
  // Pieces only for the drawing, on both axes.
  std::vector<TStueck> Teile;
  std::vector<const TEintrag*> Kinder;
  const bool Einachsig = K.EX < 0 || K.EY < 0;
  bool Zerlegbar = !Messend && !Einachsig;
  const auto Stueck = [&](const TEintrag* T, int64_t ZX, int64_t ZY) {
    if (!Zerlegbar) return;
    if (Teile.size() >= StueckeJeTeil || (T && !T->Zerlegbar)) {
      Zerlegbar = false;
      return;
    }
    Teile.push_back({T, X, Y, ZX, ZY});
  };
  for (const char d : Ruempfe[K.Zeichen]) {
    const auto u = static_cast<unsigned char>(d);
    if (K.Stufe > 0 && Ersetzt[u]) {
      const TEintrag* T = Eintrag({std::bit_cast<uint64_t>(Phi), K.Stufe - 1, K.EX, K.EY, u});
      if (!T || !T->Gut) return;
      if (T->Linien) Stueck(T, 0, 0);
      if (Einachsig) Kinder.push_back(T);
      MinX = std::min(MinX, X + T->MinX);
      MaxX = std::max(MaxX, X + T->MaxX);
      MinY = std::min(MinY, Y + T->MinY);
      MaxY = std::max(MaxY, Y + T->MaxY);
      X += T->KX;
      Y += T->KY;
      Phi = T->Richtung;
      Linien = Linien || T->Linien;
      Luecken = Luecken || T->Luecken;
    } else {
      switch (d) {
        case 'F':
        case 'f': {
          // An axis left out (its binade -1) stays where it is.
          int64_t KX = 0, KY = 0;
          if ((K.EX >= 0 && !Schritte(Bewegung(Phi, false), K.EX, KX)) ||
              (K.EY >= 0 && !Schritte(Bewegung(Phi, true), K.EY, KY)))
            return;
          if (d == 'F') Stueck(nullptr, X + KX, Y + KY);
          X += KX;
          Y += KY;
          MinX = std::min(MinX, X);
          MaxX = std::max(MaxX, X);
          MinY = std::min(MinY, Y);
          MaxY = std::max(MaxY, Y);
          Linien = Linien || d == 'F';
          Luecken = Luecken || d == 'f';
          break;
        }
        case '+':
        case '-':
          if (!Drehen(d, Phi)) return;
          break;
        case '[':
          Stapel.push_back({X, Y, Phi});
          break;
        case ']':
          if (Stapel.empty()) return;
          X = Stapel.back().X;
          Y = Stapel.back().Y;
          Phi = Stapel.back().Phi;
          Stapel.pop_back();
          break;
        default:
          break;
      }
    }
    if (!Klein(MinX) || !Klein(MaxX) || !Klein(MinY) || !Klein(MaxY)) return;
  }
  if (!Stapel.empty()) return;
  E = {X, Y, MinX, MaxX, MinY, MaxY, Phi};
  E.Gut = true;
  E.Linien = Linien;
  E.Luecken = Luecken;
  if (Zerlegbar && Stuecke.size() + Teile.size() <= HoechstensStuecke) {
    E.Erstes = static_cast<uint32_t>(Stuecke.size());
    E.Stuecke = static_cast<uint32_t>(Teile.size());
    E.Zerlegbar = true;
    Stuecke.insert(Stuecke.end(), Teile.begin(), Teile.end());
  }
  if (Einachsig && Kinderliste.size() + Kinder.size() <= HoechstensKinder) {
    E.ErstesKind = static_cast<uint32_t>(Kinderliste.size());
    E.MitKindern = true;
    Kinderliste.insert(Kinderliste.end(), Kinder.begin(), Kinder.end());
  }
}

bool TSpruenge::Durchlaufen(unsigned char c, int32_t j, double X, double Y, double Richtung,
                            TSprungziel& Ziel, int64_t& Aufwand) {
  if (!Ersetzt[c] || !std::isfinite(Richtung)) return false;
  TStrecke SX, SY;
  // A walk that failed leaves its "[" behind.
  Achsenstapel.clear();
  if (!Achse(c, j, Richtung, false, X, SX, Aufwand) || !Achse(c, j, Richtung, true, Y, SY, Aufwand))
    return false;
  Ziel = {SX.Ende, SY.Ende, SX.Richtung, SX.Min, SX.Max, SY.Min, SY.Max, SX.Linien, SX.Luecken};
  return true;
}

// One axis of the replacement of c with j levels left from v: on the grid of
// v's binade where the part stays inside it, else part by part and move by
// move, as the walk adds them.
bool TSpruenge::Achse(unsigned char c, int32_t j, double Richtung, bool Y, double v, TStrecke& S,
                      int64_t& Aufwand, const TEintrag* Hinweis, int Hinweisbinade) {
  if (!Tragbar(v)) return false;
  const int e = Exponent(v);
  const TEintrag* E = nullptr;
  if (e != 0 || std::bit_cast<uint64_t>(v) == 0) {
    const auto B = static_cast<int16_t>(e);
    E = Hinweis && Hinweisbinade == e
            ? Hinweis
            : Eintrag({std::bit_cast<uint64_t>(Richtung), j, static_cast<int16_t>(Y ? -1 : B),
                       static_cast<int16_t>(Y ? B : -1), c});
    const int64_t M = Gitterpunkt(v);
    if (E && E->Gut) {
      const int64_t K = Y ? E->KY : E->KX, Min = Y ? E->MinY : E->MinX, Max = Y ? E->MaxY : E->MaxX;
      if (Innen(M, Min, Max)) {
        S = {Gitterwert(M + K, e),
             Gitterwert(M + Min, e),
             Gitterwert(M + Max, e),
             E->Richtung,
             E->Linien,
             E->Luecken};
        return true;
      }
    }
  }
  if (--Aufwand < 0) return false;
  // Its replacements, as the entry of this binade found them, for those
  // that start in it too.
  const bool MitKindern = E && E->MitKindern;
  size_t Kind = MitKindern ? E->ErstesKind : 0;  // the list may grow meanwhile
  // The "[" of the parts walked so far lie below Boden.
  const size_t Boden = Achsenstapel.size();
  double V = v, Min = v, Max = v, Phi = Richtung;
  bool Linien = false, Luecken = false;
  for (const char d : Ruempfe[c]) {
    const auto u = static_cast<unsigned char>(d);
    if (j > 0 && Ersetzt[u]) {
      TStrecke T;
      if (!Achse(u, j - 1, Phi, Y, V, T, Aufwand, MitKindern ? Kinderliste[Kind++] : nullptr, e))
        return false;
      Min = std::min(Min, T.Min);
      Max = std::max(Max, T.Max);
      V = T.Ende;
      Phi = T.Richtung;
      Linien = Linien || T.Linien;
      Luecken = Luecken || T.Luecken;
      continue;
    }
    switch (d) {
      case 'F':
      case 'f': {
        V += Bewegung(Phi, Y);
        if (!Tragbar(V)) return false;
        Min = std::min(Min, V);
        Max = std::max(Max, V);
        Linien = Linien || d == 'F';
        Luecken = Luecken || d == 'f';
        break;
      }
      case '+':
      case '-':
        if (!Drehen(d, Phi)) return false;
        break;
      case '[':
        Achsenstapel.push_back({V, Phi});
        break;
      case ']':
        if (Achsenstapel.size() == Boden) return false;
        V = Achsenstapel.back().V;
        Phi = Achsenstapel.back().Phi;
        Achsenstapel.pop_back();
        break;
      default:
        break;
    }
  }
  if (Achsenstapel.size() != Boden) return false;
  S = {V, Min, Max, Phi, Linien, Luecken};
  return true;
}

double TSpruenge::Bewegung(double Phi, bool Y) {
  double C, S;
  Winkel.Werte(Phi, C, S);
  // As the turtle moves: x + L cos, y - L sin, each product rounded first.
  if (!Y) return Laenge * C;
  return Messend ? Laenge * S : -(Laenge * S);
}

bool TSpruenge::Drehen(char d, double& Phi) const {
  const double W = Phi + (d == '+' ? Plus : Minus);
  if (!std::isfinite(W)) return false;
  Phi = Messend ? W : RichtungNormieren(W);
  return true;
}
