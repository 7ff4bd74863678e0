#include "mainwindow/Baumbilder.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace {

// One branch and, depth first, its two children; y grows downward, so 90 degrees points up.
void Ast(QPainter& P, QPointF Von, double Winkel, double Laenge, double Dicke, int Tiefe,
         double Spreizung) {
  const double Bogen = Winkel * std::numbers::pi / 180.0;
  const QPointF Bis = Von + QPointF(std::cos(Bogen) * Laenge, -std::sin(Bogen) * Laenge);
  QPen Stift = P.pen();
  Stift.setWidthF(Dicke);
  Stift.setCapStyle(Qt::RoundCap);
  P.setPen(Stift);
  P.drawLine(Von, Bis);
  if (Tiefe == 0) return;
  // The branches lean a little differently so the tree does not look mirrored.
  Ast(P, Bis, Winkel + Spreizung, Laenge * 0.72, Dicke * 0.68, Tiefe - 1, Spreizung);
  Ast(P, Bis, Winkel - Spreizung * 0.8, Laenge * 0.78, Dicke * 0.68, Tiefe - 1, Spreizung);
}

void Baum(QPainter& P, QColor Farbe, QPointF Fuss, double Hoehe, double Dicke, int Tiefe,
          double Spreizung, double Neigung = 0.0) {
  P.setPen(QPen(Farbe));
  Ast(P, Fuss, 90.0 + Neigung, Hoehe, Dicke, Tiefe, Spreizung);
}

}  // namespace

QImage IconBild() {
  QImage Bild(32, 32, QImage::Format_ARGB32_Premultiplied);
  Bild.fill(Qt::transparent);
  QPainter P(&Bild);
  P.setRenderHint(QPainter::Antialiasing);
  Baum(P, QColor(0x80, 0x00, 0x00), QPointF(16, 31), 9.0, 3.0, 5, 27.0);
  return Bild;
}

QIcon ProgrammIcon() { return QIcon(QPixmap::fromImage(IconBild())); }

QImage IllustrationsBild() {
  QImage Bild(380, 349, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  QPainter P(&Bild);
  P.setRenderHint(QPainter::Antialiasing);
  const QColor Schwarz(Qt::black), Gruen(0x00, 0x80, 0x00), Hellgruen(0x20, 0xA0, 0x20);
  Baum(P, Schwarz, QPointF(60, 300), 45, 7, 7, 24, 4);
  Baum(P, Schwarz, QPointF(190, 280), 55, 8, 8, 20);
  Baum(P, Schwarz, QPointF(320, 300), 45, 7, 7, 26, -4);
  Baum(P, Gruen, QPointF(120, 345), 70, 11, 8, 22, 3);
  Baum(P, Hellgruen, QPointF(270, 345), 65, 10, 8, 25, -3);
  return Bild;
}
