// A small rule system drawn with jumps and drawn character by character gives
// the same picture, failure and turtle: on the whole surface, and through a
// view against the walk at its scale.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "engine/Zeichenmaschine.h"
#include "rules/Regelsystem.h"
#include "turtle/Protokoll_test.h"
#include "turtle/turtleUnit.h"

namespace {

// A picture of one colour in copy mode: the pixels that thin lines set, and
// the thick lines that may reach it. A thin line sets both its ends and only
// pixels of the box between them, every pixel of a row or column: all a jump
// may count on.
struct TLinienbild : TProtokollLeinwand {
  TLinienbild() : TProtokollLeinwand(120, 90) {}
  bool Rasterbild() const override { return true; }
  void LinieNach(int X, int Y) override {
    const double R = std::max(Dicke, 1) * 0.5 + 2;
    if (Dicke > 1 && std::max(AX, X) >= -R && std::min(AX, X) <= B + R && std::max(AY, Y) >= -R &&
        std::min(AY, Y) <= H + R)
      Menge.insert(Punkt(AX, AY) + Punkt(X, Y) + std::to_string(Dicke));
    if (Dicke <= 1) Rastern(AX, AY, X, Y);
    Bewegen(X, Y);
  }
  bool Bedeckt(int X1, int Y1, int X2, int Y2) override {
    if (Dicke > 1 || Modus != TRastermodus::Kopieren) return false;
    for (int y = std::max(std::min(Y1, Y2), 0); y <= std::min(std::max(Y1, Y2), H - 1); ++y)
      for (int x = std::max(std::min(X1, X2), 0); x <= std::min(std::max(X1, X2), B - 1); ++x)
        if (Menge.find(Punkt(x, y)) == Menge.end()) return false;
    return true;
  }
  // Along the longer axis, as far as the picture reaches, the nearest pixel.
  void Rastern(int X1, int Y1, int X2, int Y2) {
    const bool Quer = std::abs(int64_t{Y2} - Y1) > std::abs(int64_t{X2} - X1);
    const int64_t A1 = Quer ? Y1 : X1, A2 = Quer ? Y2 : X2, B1 = Quer ? X1 : Y1,
                  B2 = Quer ? X2 : Y2;
    const int64_t Grenze = Quer ? H - 1 : B - 1, Andere = Quer ? B - 1 : H - 1;
    const int64_t Richtung = A2 >= A1 ? 1 : -1;
    for (int64_t a = std::clamp<int64_t>(A1, 0, Grenze);
         Richtung * (A2 - a) >= 0 && a >= 0 && a <= Grenze; a += Richtung) {
      if (Richtung * (a - A1) < 0) continue;
      const __int128 Zaehler = static_cast<__int128>(a - A1) * (B2 - B1);
      const int64_t b = A2 == A1 ? B1 : B1 + static_cast<int64_t>(Zaehler / (A2 - A1));
      if (b < 0 || b > Andere) continue;
      Menge.insert(Quer ? Punkt(static_cast<int>(b), static_cast<int>(a))
                        : Punkt(static_cast<int>(a), static_cast<int>(b)));
    }
  }
  std::set<std::string> Menge;
};

std::set<std::string> Zeichnen(const TRegelsystem& R, const TLauf& L, bool Voll,
                               std::optional<TAnsicht> A = {}, int64_t Stuecke = 1 << 16) {
  TLinienbild Bild;
  TTurtle T(Bild);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(T, Ohne);
  char Lage[256] = "";
  try {
    M.Zeichenlauf(L,
                  {.Regelsystem = &R, .Ansicht = A, .Vollstaendig = Voll, .Stueckgrenze = Stuecke});
  } catch (const std::exception& E) {
    std::snprintf(Lage, 128, "%s", E.what());
  }
  std::snprintf(Lage + 128, 128, "%a %a %a %a", T.X, T.Y, T.Richtung, T.Dicke);
  Bild.Menge.insert(std::string(Lage) + (Lage + 128));
  return Bild.Menge;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* D, size_t Groesse) {
  static const double Winkel[] = {90, 60, 25.7, 33.3, 45, 120, 22.5, 30};
  static const double Schritt[] = {0.13, 0.3, 1.3, 0.7, 2.5, 0.05, 4.1, 10};
  static const double Schwund[] = {1, 1, 0.9, 1.25, 0.5, -1, 1, 2};
  static const double Massstab[] = {1, 2, 10, 3.7, 0.5, 100, 25, 1.5};
  if (Groesse < 8) return 0;
  TRegelsystem R;
  std::istringstream Text(std::string(reinterpret_cast<const char*>(D) + 8, Groesse - 8));
  std::getline(Text, R.Axiom);
  for (std::string Z, M, Rumpf; std::getline(Text, Z);)
    if (char Kopf; TRegelsystem::RegelZerlegen(Z, M, Rumpf, Kopf)) R.RegelHinzufuegen(Z);
  TLauf L;
  L.Breite = 120, L.Hoehe = 90, L.Tiefe = D[1] % 8, L.Schrittweite = Schritt[D[2] & 7];
  L.WinkelPlus = R.WinkelPlus = Winkel[D[0] & 7];
  L.WinkelMinus = R.WinkelMinus = Winkel[(D[0] >> 3) & 7];
  L.Startwinkel = D[1] & 8 ? 90 : Winkel[D[0] >> 5] * (D[1] >> 4);
  L.StartX = 60 + (D[3] - 128) * 0.25, L.StartY = 45 + (D[4] - 128) * 0.25;
  TEinstellungen& E = L.Einstellungen;
  E.SchrittweiteAnpassen = D[2] & 8, E.Zentriert = D[2] & 16;
  E.Anfangsdicke = D[5] % 5, E.Schwundfaktor = Schwund[(D[5] >> 3) & 7];
  try {
    if (R.Ableitung(L.Tiefe).size() > 200000) return 0;  // keeps the walk short
  } catch (const EZulang&) {
    return 0;
  }
  // Parts whose pieces run out are walked after all.
  const int64_t Stuecke = D[7] >> 6 ? int64_t{1} << (2 * (D[7] >> 6)) : 1 << 16;
  if (Zeichnen(R, L, true) != Zeichnen(R, L, false, {}, Stuecke)) std::abort();
  const TAnsicht A{(D[6] >> 3) * 4 - 10.0, D[7] % 64 - 10.0, Massstab[D[6] & 7]};
  E.SchrittweiteAnpassen = E.Zentriert = false;
  TLauf Gross = L;
  Gross.Schrittweite = L.Schrittweite * A.Massstab;
  Gross.StartX = (L.StartX - A.X) * A.Massstab, Gross.StartY = (L.StartY - A.Y) * A.Massstab;
  if (Zeichnen(R, Gross, true) != Zeichnen(R, L, false, A, Stuecke)) std::abort();
  return 0;
}
