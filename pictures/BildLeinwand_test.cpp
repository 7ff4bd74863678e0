#include "pictures/BildLeinwand.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "rules/Regelsystem.h"
#include "turtle/turtleUnit.h"

namespace {

QImage Weiss(int B = 200, int H = 150) {
  QImage Bild(B, H, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  return Bild;
}

TEST(BildLeinwand, ColoursAndThinLines) {
  QImage Bild = Weiss();
  {
    TBildLeinwand L(Bild);
    EXPECT_EQ(L.Breite(), 200);
    EXPECT_EQ(L.Hoehe(), 150);
    L.StiftFarbeSetzen(0x0000FF);  // red in the low byte
    L.StiftBreiteSetzen(0);
    L.Linie(5, 10, 20, 10);
    L.StiftFarbeSetzen(0x008000);
    L.StiftBreiteSetzen(1);
    L.Bewegen(5, 30);
    L.LinieNach(20, 30);
  }
  EXPECT_EQ(Bild.pixel(12, 10), qRgb(255, 0, 0));
  EXPECT_EQ(Bild.pixel(12, 9), qRgb(255, 255, 255));
  EXPECT_EQ(Bild.pixel(12, 11), qRgb(255, 255, 255));
  EXPECT_EQ(Bild.pixel(12, 30), qRgb(0, 128, 0));
  EXPECT_EQ(Bild.pixel(12, 31), qRgb(255, 255, 255));
}

TEST(BildLeinwand, WidePensHaveRoundEnds) {
  QImage Bild = Weiss();
  {
    TBildLeinwand L(Bild);
    L.StiftBreiteSetzen(10);
    L.Linie(50, 50, 100, 50);
  }
  EXPECT_EQ(Bild.pixel(75, 46), qRgb(0, 0, 0));
  EXPECT_EQ(Bild.pixel(75, 56), qRgb(255, 255, 255));
  EXPECT_EQ(Bild.pixel(103, 50), qRgb(0, 0, 0));        // cap beyond the end
  EXPECT_EQ(Bild.pixel(104, 45), qRgb(255, 255, 255));  // but round, not square
}

// Batching must not change a single pixel against one drawLine per line.
TEST(BildLeinwand, BatchedLinesEqualSingleLines) {
  std::mt19937 Zufall(7);
  std::uniform_int_distribution<int> X(-20, 220), Y(-20, 170);
  for (int Breite : {0, 1, 2, 5}) {
    QImage A = Weiss(), B = Weiss();
    QPainter P(&B);
    P.setPen(QPen(QColor(0, 128, 0), Breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    TBildLeinwand L(A);
    L.StiftFarbeSetzen(0x008000);
    L.StiftBreiteSetzen(Breite);
    for (int i = 0; i < 3000; ++i) {
      int X1 = X(Zufall), Y1 = Y(Zufall), X2 = X1 + X(Zufall) / 8, Y2 = Y1 + Y(Zufall) / 8;
      L.Linie(X1, Y1, X2, Y2);
      P.drawLine(X1, Y1, X2, Y2);
    }
    P.end();
    L.Ausgeben();
    EXPECT_TRUE(A == B) << "width " << Breite;
  }
}

// Short thin lines are stamped from a pattern; every extent, near the edges
// too, must give QPainter's own pixels.
// A line that covers the picture costs as much as thousands of thin ones: it
// counts so in the work done, and it is drawn at once instead of waiting in a
// batch of 2048 such lines that would keep the program busy for long.
TEST(BildLeinwand, ThickLinesCountTheirWorkAndAreNotBatched) {
  QImage Bild = Weiss(1000, 680);
  TBildLeinwand L(Bild);
  L.Linie(10, 10, 12, 12);  // stamped: nothing left for the painter
  EXPECT_EQ(L.Aufwand(), 0u);
  L.StiftBreiteSetzen(2147483647);
  L.Linie(500, 680, 500, 670);
  EXPECT_GE(L.Aufwand(), 2000u);
  EXPECT_EQ(Bild.pixel(0, 0), qRgb(0, 0, 0));
  // The turtle's symbol takes the pen of the last line: just as much work.
  const uint64_t Vorher = L.Aufwand();
  const TPunkt Dreieck[] = {{500, 340}, {504, 340}, {500, 325}, {496, 340}, {500, 340}};
  L.Polylinie(Dreieck, 5);
  EXPECT_GE(L.Aufwand() - Vorher, 2000u);
}

TEST(BildLeinwand, StampedLinesEqualQPainterLines) {
  for (int Breite : {0, 1})
    for (int DY = -26; DY <= 26; ++DY)
      for (int DX = -26; DX <= 26; ++DX)
        for (QPoint Start : {QPoint(30, 31), QPoint(1, 2), QPoint(60, 58)}) {
          QImage A = Weiss(64, 62), B = Weiss(64, 62);
          {
            TBildLeinwand L(A);
            L.StiftFarbeSetzen(0x3366CC);
            L.StiftBreiteSetzen(Breite);
            L.Linie(Start.x(), Start.y(), Start.x() + DX, Start.y() + DY);
          }
          QPainter P(&B);
          P.setPen(
              QPen(QColor(0xCC, 0x66, 0x33), Breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
          P.drawLine(Start.x(), Start.y(), Start.x() + DX, Start.y() + DY);
          P.end();
          ASSERT_TRUE(A == B) << "width " << Breite << " from " << Start.x() << "," << Start.y()
                              << " by " << DX << "," << DY;
        }
}

TEST(BildLeinwand, NotXorTwiceRestoresEveryPixel) {
  QImage Bild = Weiss();
  TBildLeinwand L(Bild);
  TTurtle T(L);
  T.FarbeSetzen(0x008000);
  T.DickeSetzen(3);
  for (int i = 0; i < 12; ++i) {
    T.Vorwaerts(23);
    T.Drehen(137);
  }
  L.Ausgeben();
  const QImage Vorher = Bild.copy();
  T.SymbolGroesseSetzen(40);
  T.Zeigen(true);
  L.Ausgeben();
  EXPECT_FALSE(Bild == Vorher);
  T.Zeigen(false);
  L.Ausgeben();
  EXPECT_TRUE(Bild == Vorher);

  // The start marker: red outline on white, inside unchanged, toggled.
  L.StiftFarbeSetzen(0x0000FF);
  L.RastermodusSetzen(TRastermodus::NichtXor);
  L.PinselFarbeSetzen(0xFFFFFF);
  L.Ellipse(150, 100, 161, 111);
  L.Ausgeben();
  EXPECT_EQ(Bild.pixel(155, 100), qRgb(255, 0, 0));
  EXPECT_EQ(Bild.pixel(155, 105), qRgb(255, 255, 255));
  L.Ellipse(150, 100, 161, 111);
  L.Ausgeben();
  EXPECT_TRUE(Bild == Vorher);
}

TEST(BildLeinwand, ThinLinesBetweenFarApartEndsCrossTheSurface) {
  // The ends lie more than the int range apart; the line still crosses the
  // surface from left to right (the sanitizer build checks the arithmetic).
  QImage Bild = Weiss();
  {
    TBildLeinwand L(Bild);
    L.StiftFarbeSetzen(0x0000FF);
    L.StiftBreiteSetzen(1);
    L.Linie(-1482211637, 75, 796639565, 75);
    L.Linie(796639565, 20, -1482211637, 20);
    L.Linie(2147483647, 40, 2147483647, 41);  // off the surface at the int limit
  }
  EXPECT_EQ(Bild.pixel(0, 75), qRgb(255, 0, 0));
  EXPECT_EQ(Bild.pixel(199, 75), qRgb(255, 0, 0));
  EXPECT_EQ(Bild.pixel(100, 20), qRgb(255, 0, 0));
}

TEST(BildLeinwand, FilledRectangleUsesTheBrush) {
  QImage Bild = Weiss();
  TBildLeinwand L(Bild);
  L.PinselFarbeSetzen(0x000000);
  L.RechteckFuellen(10, 10, 20, 20);
  L.Ausgeben();
  EXPECT_EQ(Bild.pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(Bild.pixel(19, 19), qRgb(0, 0, 0));
  EXPECT_EQ(Bild.pixel(20, 20), qRgb(255, 255, 255));
}

}  // namespace

namespace {

// The estimate of a live redraw's work weighs lines as the picture canvas
// does when it tells the engine how much it drew: by the pixels they cover.
TEST(Zeichenzahl, WorkEstimateWeighsLinesAsTheCanvasDoes) {
  const struct {
    std::vector<std::string> Regeln;
    double Dicke, Schwund, Schritt;
  } Faelle[] = {
      {{"F->F+F-F"}, 1, 1, 3},               // thin, short
      {{"F->F+F-F"}, 40, 1, 3},              // thick
      {{"F->F+F-F"}, 1e7, 1, 3},             // covering the whole picture
      {{"F->F[+F][-F]F"}, 64, 0.5, 12},      // thinning by level
      {{"F->F[+F[+F]][-F]F"}, 2, 1.5, 300},  // growing by level, long lines
  };
  for (const auto& Fall : Faelle) {
    TRegelsystem R;
    R.Axiom = "F";
    for (const auto& Z : Fall.Regeln) R.RegelHinzufuegen(Z);
    TEinstellungen E;
    E.SchrittweiteAnpassen = false;
    E.Anfangsdicke = Fall.Dicke;
    E.Schwundfaktor = Fall.Schwund;
    QImage Bild(400, 300, QImage::Format_RGB32);
    TBildLeinwand Leinwand(Bild);
    TTurtle Turtle(Leinwand);
    TLaufbeobachter Ohne;
    TZeichenmaschine M(Turtle, Ohne);
    TLauf L;
    RegelsystemErfassen(L, R);
    L.WinkelPlus = L.WinkelMinus = 90;
    L.Schrittweite = Fall.Schritt;
    L.Einstellungen = E;
    L.Tiefe = 4;
    L.StartX = 200;
    L.StartY = 150;
    L.Startwinkel = 0;
    M.JedesZeichen(true);  // the estimate is that of every line
    M.Zeichenlauf(L);
    const TAufwand A = AufwandSchaetzen(TErsetzungen(R), 4, "F", E, Fall.Schritt, 400, 300);
    // Lines at right angles: the canvas counts exactly what was foreseen.
    EXPECT_EQ(A.Flaeche, Leinwand.Aufwand()) << Fall.Regeln[0] << " " << Fall.Dicke;
    EXPECT_EQ(A.Zeichen, ZeichenZaehlen(R, 4, "F").Zeichen);
  }
}

}  // namespace

// A leaf fills by the nonzero rule in the pen's colour (the pentagram's
// middle is wound twice); short thin lines of changing colours keep theirs.
TEST(BildLeinwand, LeavesAndStampsInChangingColours) {
  const TPunkt Stern[] = {{50, 10}, {74, 82}, {12, 37}, {88, 37}, {26, 82}};
  QImage Bild = Weiss(100, 100);
  {
    TBildLeinwand L(Bild);
    L.StiftFarbeSetzen(0x0000FF);
    L.VieleckFuellen(Stern, 5);
    for (int i = 0; i < 3; ++i) {
      L.StiftFarbeSetzen(i == 1 ? 0x00FF00 : 0x0000FF);
      L.Linie(90, 10 + 5 * i, 98, 10 + 5 * i);
    }
  }
  const QRgb Rot = qRgb(255, 0, 0);
  EXPECT_EQ(Bild.pixel(50, 50), Rot);
  EXPECT_EQ(Bild.pixel(20, 70), qRgb(255, 255, 255));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Bild.pixel(94, 10 + 5 * i), i == 1 ? qRgb(0, 255, 0) : Rot);
}
