// Reading back the lines of an SVG that TSvgLeinwand wrote, and drawing them
// again, for tests.
#pragma once

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

struct TSvgLinie {
  int X1, Y1, X2, Y2;
  int R, G, B;
  int Breite;
};

inline std::ostream& operator<<(std::ostream& Aus, const TSvgLinie& L) {
  return Aus << L.X1 << "," << L.Y1 << " " << L.X2 << "," << L.Y2;
}

// Each <line> of the document, in drawing order.
inline std::vector<TSvgLinie> SvgLinien(const std::string& Svg) {
  std::vector<TSvgLinie> Linien;
  std::istringstream Text(Svg);
  std::string Zeile;
  while (std::getline(Text, Zeile)) {
    TSvgLinie L{};
    if (std::sscanf(Zeile.c_str(),
                    "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%2x%2x%2x\" "
                    "stroke-width=\"%d\"",
                    &L.X1, &L.Y1, &L.X2, &L.Y2, &L.R, &L.G, &L.B, &L.Breite) == 8)
      Linien.push_back(L);
  }
  return Linien;
}

// True when the line, with its pen and a pixel more, meets a picture of this size.
inline bool Zeigt(const TSvgLinie& L, int Breite, int Hoehe) {
  const int Rand = L.Breite / 2 + 2;
  return std::max(L.X1, L.X2) >= -Rand && std::min(L.X1, L.X2) <= Breite + Rand &&
         std::max(L.Y1, L.Y2) >= -Rand && std::min(L.Y1, L.Y2) <= Hoehe + Rand;
}

// The lines of the document drawn by QPainter over Grund, as the picture
// canvas draws them.
inline QImage SvgNachgezeichnet(const std::string& Svg, QImage Grund) {
  QPainter P(&Grund);
  for (const TSvgLinie& L : SvgLinien(Svg)) {
    P.setPen(QPen(QColor(L.R, L.G, L.B), L.Breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.drawLine(L.X1, L.Y1, L.X2, L.Y2);
  }
  P.end();
  return Grund;
}
