// A small rule system, drawn with jumps and drawn character by character,
// gives the same picture, the same failure and leaves the turtle alike: on
// the whole surface, and through a view against the walk at its scale.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>

#include "engine/Zeichenmaschine.h"
#include "rules/Regelsystem.h"
#include "turtle/Leinwand.h"
#include "turtle/turtleUnit.h"

namespace {

// A picture of one colour drawn in copy mode is the set of its lines: each
// line that may reach the surface, with its pen.
class TLinienbild : public TLeinwand {
 public:
  int Breite() const override { return 120; }
  int Hoehe() const override { return 90; }
  void StiftFarbeSetzen(uint32_t) override {}
  void StiftBreiteSetzen(int W) override { Stift = W < 0 ? Stift : W; }
  void RastermodusSetzen(TRastermodus) override {}
  uint32_t StiftFarbe() const override { return 0; }
  int StiftBreite() const override { return Stift; }
  TRastermodus Rastermodus() const override { return TRastermodus::Kopieren; }
  void PinselFarbeSetzen(uint32_t) override {}
  void Bewegen(int X, int Y) override { AX = X, AY = Y; }
  void LinieNach(int X, int Y) override {
    const double R = std::max(Stift, 1) * 0.5 + 2;
    if (std::max(AX, X) >= -R && std::min(AX, X) <= Breite() + R && std::max(AY, Y) >= -R &&
        std::min(AY, Y) <= Hoehe() + R)
      Linien.insert({AX, AY, X, Y, Stift});
    Bewegen(X, Y);
  }
  void Polylinie(const TPunkt*, int) override {}
  void Ellipse(int, int, int, int) override {}
  void RechteckFuellen(int, int, int, int) override {}
  bool Rasterbild() const override { return true; }

  std::set<std::tuple<int, int, int, int, int>> Linien;
  int Stift = 1, AX = 0, AY = 0;
};

struct TBild {
  TLinienbild Leinwand;
  std::string Fehler;
  double X, Y, Richtung, Dicke;
  bool operator==(const TBild& B) const {
    return Leinwand.Linien == B.Leinwand.Linien && Fehler == B.Fehler && X == B.X && Y == B.Y &&
           Richtung == B.Richtung && Dicke == B.Dicke;
  }
};

void Zeichnen(TBild& B, const TRegelsystem& R, const TLauf& Lauf, bool Vollstaendig,
              std::optional<TAnsicht> Ansicht = {}) {
  TTurtle Turtle(B.Leinwand);
  TLaufbeobachter Ohne;
  TZeichenmaschine M(Turtle, Ohne);
  TLaufart Art;
  Art.Regelsystem = &R;
  Art.Vollstaendig = Vollstaendig;
  Art.Ansicht = Ansicht;
  try {
    M.Zeichenlauf(Lauf, Art);
  } catch (const std::exception& E) {
    B.Fehler = E.what();
  }
  B.X = Turtle.X, B.Y = Turtle.Y, B.Richtung = Turtle.Richtung, B.Dicke = Turtle.Dicke;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Daten, size_t Groesse) {
  static const double Winkel[] = {90, 60, 25.7, 33.3, 45, 120, 22.5, 30};
  static const double Schritte[] = {0.13, 0.3, 1.3, 0.7, 2.5, 0.05, 4.1, 10};
  static const double Schwund[] = {1, 1, 0.9, 1.25, 0.5, -1, 1, 2};
  static const double Massstab[] = {1, 2, 10, 3.7, 0.5, 100, 25, 1.5};
  if (Groesse < 8) return 0;
  TRegelsystem R;
  R.WinkelPlus = Winkel[Daten[0] & 7];
  R.WinkelMinus = Winkel[(Daten[0] >> 3) & 7];
  TLauf Lauf;
  Lauf.Breite = 120;
  Lauf.Hoehe = 90;
  Lauf.WinkelPlus = R.WinkelPlus;
  Lauf.WinkelMinus = R.WinkelMinus;
  Lauf.Tiefe = Daten[1] % 8;
  Lauf.Startwinkel = Daten[1] & 8 ? 90 : Winkel[Daten[0] >> 5] * (Daten[1] >> 4);
  Lauf.Schrittweite = Schritte[Daten[2] & 7];
  Lauf.StartX = 60 + (Daten[3] - 128) * 0.25;
  Lauf.StartY = 45 + (Daten[4] - 128) * 0.25;
  TEinstellungen& E = Lauf.Einstellungen;
  E.SchrittweiteAnpassen = Daten[2] & 8;
  E.Zentriert = Daten[2] & 16;
  E.Anfangsdicke = Daten[5] % 5;
  E.Schwundfaktor = Schwund[(Daten[5] >> 3) & 7];
  const std::string Rest(reinterpret_cast<const char*>(Daten) + 8, Groesse - 8);
  size_t Anfang = 0;
  for (bool Erste = true; Anfang <= Rest.size(); Erste = false) {
    const size_t Ende = std::min(Rest.find('\n', Anfang), Rest.size());
    const std::string Zeile = Rest.substr(Anfang, Ende - Anfang);
    if (Erste) R.Axiom = Zeile;
    std::string Meldung, Rumpf;
    char Kopf;
    if (!Erste && TRegelsystem::RegelZerlegen(Zeile, Meldung, Rumpf, Kopf))
      R.RegelHinzufuegen(Zeile);
    Anfang = Ende + 1;
  }
  try {
    if (R.Ableitung(Lauf.Tiefe).size() > 200000) return 0;  // keeps the walk short
  } catch (const EZulang&) {
    return 0;
  }
  TBild Voll, Mit;
  Zeichnen(Voll, R, Lauf, true);
  Zeichnen(Mit, R, Lauf, false);
  if (!(Voll == Mit)) std::abort();

  // A view of the surface, against the walk at its scale from its corner.
  TAnsicht A;
  A.Massstab = Massstab[Daten[6] & 7];
  A.X = (Daten[6] >> 3) * 4 - 10;
  A.Y = Daten[7] % 64 - 10;
  TLauf Fest = Lauf;
  Fest.Einstellungen.SchrittweiteAnpassen = Fest.Einstellungen.Zentriert = false;
  TLauf Gross = Fest;
  Gross.Schrittweite = Fest.Schrittweite * A.Massstab;
  Gross.StartX = (Fest.StartX - A.X) * A.Massstab;
  Gross.StartY = (Fest.StartY - A.Y) * A.Massstab;
  TBild Skaliert, Durch;
  Zeichnen(Skaliert, R, Gross, true);
  Zeichnen(Durch, R, Fest, false, A);
  if (!(Skaliert == Durch)) std::abort();
  return 0;
}
