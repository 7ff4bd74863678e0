// cos and sin of angles in degrees, remembered: a drawing turns through few
// distinct headings, and the functions cost more than the rest of a step.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

class TWinkelcache {
 public:
  TWinkelcache() {
    for (auto& E : Eintraege) E.Winkel = std::numeric_limits<double>::quiet_NaN();
  }
  // Exactly cos(W * pi/180) and sin(W * pi/180), pi/180 = 0.017453292519943295.
  void Werte(double W, double& Cos, double& Sin) {
    uint64_t b = std::bit_cast<uint64_t>(W);
    Eintrag& E = Eintraege[(b ^ (b >> 21) ^ (b >> 42)) & (Anzahl - 1)];
    if (E.Winkel != W) [[unlikely]] {
      E.Winkel = W;
      E.Cos = std::cos(W * 0.017453292519943295);
      E.Sin = std::sin(W * 0.017453292519943295);
    }
    Cos = E.Cos;
    Sin = E.Sin;
  }

 private:
  static constexpr int Anzahl = 64;
  struct Eintrag {
    double Winkel, Cos, Sin;
  };
  Eintrag Eintraege[Anzahl];
};
