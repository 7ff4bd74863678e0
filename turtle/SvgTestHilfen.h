// Reading back the lines of an SVG that TSvgLeinwand wrote, for tests.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// Each <line>: x1, y1, x2, y2 and the stroke width.
inline std::vector<std::array<int, 5>> SvgLinien(const std::string& Svg) {
  std::vector<std::array<int, 5>> Linien;
  std::istringstream Text(Svg);
  std::string Zeile;
  while (std::getline(Text, Zeile)) {
    std::array<int, 5> L{};
    if (std::sscanf(Zeile.c_str(),
                    "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%*6c\" "
                    "stroke-width=\"%d\"",
                    &L[0], &L[1], &L[2], &L[3], &L[4]) == 5)
      Linien.push_back(L);
  }
  return Linien;
}

// True when the line, with its pen and a pixel more, meets a picture of this size.
inline bool Zeigt(const std::array<int, 5>& L, int Breite, int Hoehe) {
  const int Rand = L[4] / 2 + 2;
  return std::max(L[0], L[2]) >= -Rand && std::min(L[0], L[2]) <= Breite + Rand &&
         std::max(L[1], L[3]) >= -Rand && std::min(L[1], L[3]) <= Hoehe + Rand;
}
