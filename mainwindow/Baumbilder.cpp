#include "mainwindow/Baumbilder.h"

#include <QPixmap>
#include <initializer_list>

#include "engine/Zeichenmaschine.h"
#include "pictures/Animation.h"
#include "pictures/BildLeinwand.h"
#include "rules/Regelsystem.h"
#include "turtle/turtleUnit.h"

namespace {

struct TBaum {
  std::initializer_list<const char*> Regeln;
  int Tiefe;
  double Winkel;
  double Schritt;
  double X, Y;
  double Neigung;
  uint32_t Farbe;  // 0x00BBGGRR
  double Dicke;
};

// Draws one tree with the program's own turtle and engine, exactly (no random
// deviations); the branches thin by Schwund at every "[".
void BaumZeichnen(QImage& Bild, const TBaum& Baum, double Schwund) {
  TRegelsystem Regelsystem;  // axiom "A"
  for (const char* Zeile : Baum.Regeln) Regelsystem.RegelHinzufuegen(Zeile);
  TLauf Lauf;
  Lauf.Regeln = TRegelstand::Aus(Regelsystem);
  Lauf.WinkelPlus = Lauf.WinkelMinus = Baum.Winkel;
  Lauf.Tiefe = Baum.Tiefe;
  Lauf.StartX = Baum.X;
  Lauf.StartY = Baum.Y;
  Lauf.Startwinkel = 90.0 + Baum.Neigung;
  Lauf.Schrittweite = Baum.Schritt;
  // The tree's own settings: exact, thinning by Schwund, its colour and thickness.
  TEinstellungen& E = Lauf.Einstellungen;
  E.SchrittweiteAnpassen = false;
  E.Schwundfaktor = Schwund;
  E.Zeichenfarbe = Baum.Farbe;
  E.Anfangsdicke = Baum.Dicke;
  TBildLeinwand Leinwand(Bild);
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Ohne;
  TZeichenmaschine Maschine(Turtle, Ohne);
  Maschine.Zeichenlauf(Lauf);
  Leinwand.Ausgeben();
}

}  // namespace

QImage IconBild() {
  QImage Bild = LeeresBild(32, 32, TEinstellungen());
  BaumZeichnen(Bild, {{"A->F[+A][-A]", "F->F"}, 5, 28.0, 5.5, 16, 31, 0, 0x000080, 3.0}, 0.7);
  // The canvas draws without antialiasing, so every pixel of the ground is background.
  const QRgb Grund = LeeresBild(1, 1, TEinstellungen()).pixel(0, 0);
  QImage Icon = Bild.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < Icon.height(); ++y)
    for (int x = 0; x < Icon.width(); ++x)
      if (Icon.pixel(x, y) == Grund) Icon.setPixel(x, y, qRgba(0, 0, 0, 0));
  return Icon;
}

QIcon ProgrammIcon() { return QIcon(QPixmap::fromImage(IconBild())); }

QImage IllustrationsBild() {
  QImage Bild = LeeresBild(380, 349, TEinstellungen());
  const std::initializer_list<const char*> Baum = {"A->F[+A][-A]", "F->F"};
  const std::initializer_list<const char*> Hoch = {"A->F[+A]F[-A]A", "F->F"};
  // Black ones behind, the two green ones drawn last in front.
  BaumZeichnen(Bild, {Baum, 7, 24.0, 16.0, 70, 250, 4, 0x000000, 6.0}, 0.75);
  BaumZeichnen(Bild, {Hoch, 4, 25.0, 14.0, 190, 230, 0, 0x000000, 6.0}, 0.75);
  BaumZeichnen(Bild, {Baum, 7, 27.0, 16.0, 310, 250, -4, 0x000000, 6.0}, 0.75);
  BaumZeichnen(Bild, {Baum, 7, 22.0, 22.0, 125, 345, 2, 0x008000, 9.0}, 0.72);
  BaumZeichnen(Bild, {Hoch, 4, 22.0, 18.0, 270, 345, -2, 0x00A000, 8.0}, 0.72);
  return Bild;
}
