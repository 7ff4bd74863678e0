// A small rule system drawn with jumps and drawn character by character gives
// the same picture, failure and turtle: on the whole surface, and through a
// view against the walk at its scale.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "engine/Zeichenmaschine.h"
#include "rules/Regelsystem.h"
#include "turtle/Protokoll_test.h"
#include "turtle/turtleUnit.h"

namespace {

// A picture of one colour in copy mode is the set of its lines that may reach it.
struct TLinienbild : TProtokollLeinwand {
  TLinienbild() : TProtokollLeinwand(120, 90) {}
  bool Rasterbild() const override { return true; }
  void LinieNach(int X, int Y) override {
    const double R = std::max(Dicke, 1) * 0.5 + 2;
    if (std::max(AX, X) >= -R && std::min(AX, X) <= B + R && std::max(AY, Y) >= -R &&
        std::min(AY, Y) <= H + R)
      Menge.insert(Punkt(AX, AY) + Punkt(X, Y) + std::to_string(Dicke));
    Bewegen(X, Y);
  }
  std::set<std::string> Menge;
};

std::set<std::string> Zeichnen(const TRegelsystem& R, const TLauf& L, bool Voll,
                               std::optional<TAnsicht> A = {}) {
  TLinienbild Bild;
  TTurtle T(Bild);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(T, Ohne);
  char Lage[256] = "";
  try {
    M.Zeichenlauf(L, {.Regelsystem = &R, .Ansicht = A, .Vollstaendig = Voll});
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
  if (Zeichnen(R, L, true) != Zeichnen(R, L, false)) std::abort();
  const TAnsicht A{(D[6] >> 3) * 4 - 10.0, D[7] % 64 - 10.0, Massstab[D[6] & 7]};
  E.SchrittweiteAnpassen = E.Zentriert = false;
  TLauf Gross = L;
  Gross.Schrittweite = L.Schrittweite * A.Massstab;
  Gross.StartX = (L.StartX - A.X) * A.Massstab, Gross.StartY = (L.StartY - A.Y) * A.Massstab;
  if (Zeichnen(R, Gross, true) != Zeichnen(R, L, false, A)) std::abort();
  return 0;
}
