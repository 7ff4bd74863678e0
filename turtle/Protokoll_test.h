// Canvases for tests: one writes down every call, one text per call, the
// other only counts the lines.
#pragma once

#include <string>
#include <vector>

#include "turtle/Leinwand.h"

class TProtokollLeinwand : public TLeinwand {
 public:
  TProtokollLeinwand(int B = 1000, int H = 680) : B(B), H(H) {}
  int Breite() const override { return B; }
  int Hoehe() const override { return H; }
  void StiftFarbeSetzen(uint32_t W) override { Farbe = W; }
  void StiftBreiteSetzen(int W) override {
    if (W >= 0) Dicke = W;
  }
  void RastermodusSetzen(TRastermodus W) override { Modus = W; }
  uint32_t StiftFarbe() const override { return Farbe; }
  int StiftBreite() const override { return Dicke; }
  TRastermodus Rastermodus() const override { return Modus; }
  void PinselFarbeSetzen(uint32_t) override {}
  void Bewegen(int X, int Y) override {
    AX = X;
    AY = Y;
  }
  void LinieNach(int X, int Y) override {
    Aufwandszaehler += AufwandProLinie;
    Linien.push_back(Punkt(AX, AY) + "-" + Punkt(X, Y));
    Aufrufe.push_back("Linie " + Linien.back() + " b" + std::to_string(Dicke) +
                      (Modus == TRastermodus::NichtXor ? " nx" : ""));
    Bewegen(X, Y);
  }
  void Polylinie(const TPunkt* P, int N) override {
    std::string T = "Polylinie";
    for (int i = 0; i < N; ++i) T += " " + Punkt(P[i].X, P[i].Y);
    if (Modus == TRastermodus::NichtXor) T += " nx";
    Aufrufe.push_back(T);
  }
  void Ellipse(int, int, int, int) override { Aufrufe.push_back("Ellipse"); }
  void RechteckFuellen(int, int, int, int) override { Aufrufe.push_back("Rechteck"); }
  void VieleckFuellen(const TPunkt* P, int N) override {
    Aufrufe.push_back("Blatt");
    for (int i = 0; i < N; ++i) Aufrufe.back() += " " + Punkt(P[i].X, P[i].Y);
  }
  void Ausgeben() override { Ausgegeben = Linien.size(); }

  static std::string Punkt(int X, int Y) {
    return "(" + std::to_string(X) + "," + std::to_string(Y) + ")";
  }

  std::vector<std::string> Linien;   // "(x1,y1)-(x2,y2)"
  std::vector<std::string> Aufrufe;  // every drawing call
  int B, H;
  uint32_t Farbe = 0;
  int Dicke = 1;
  TRastermodus Modus = TRastermodus::Kopieren;
  int AX = 0, AY = 0;
  size_t Ausgegeben = 0;         // lines drawn at the last Ausgeben
  uint64_t AufwandProLinie = 0;  // work each line reports
};

// Counts the lines only, for runs too long to write down.
class TZaehlLeinwand : public TProtokollLeinwand {
 public:
  void LinieNach(int, int) override { ++Anzahl; }
  void Linie(int, int, int, int) override { ++Anzahl; }
  uint64_t Anzahl = 0;
};
