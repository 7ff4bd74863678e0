// The turtle: position, heading, pen, thickness, its stack of saved states and
// its inverting symbol. It draws only through a TLeinwand.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "turtle/Leinwand.h"
#include "turtle/Winkelcache.h"

// cos and sin of an angle in degrees (pi/180 taken as 0.017453292519943295).
double CosGrad(double Winkel);
double SinGrad(double Winkel);

// The heading a turn ends with: W brought into [0, 360) as Drehen does it.
double RichtungNormieren(double W);

// Nearest integer, halves to even. Throws "Ungültige Gleitkommaoperation" when
// |x| >= 2^63.
int64_t Runden(double x);

// An error of the turtle's stack: too many saved states or a restore with
// none saved. It ends the drawing run, not the program.
class ETurtleStapel : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TLinienstil { Durchgezogen };

// The fields may be read by anyone; change them through the setters so that a
// shown symbol follows the turtle. Position, heading and thickness stay
// unrounded; only the points handed to the canvas are rounded.
class TTurtle {
 public:
  static constexpr int32_t StapelGroesse = 100;
  static constexpr int32_t HoechstensBlaetter = 100;   // open at once
  static constexpr int32_t HoechstensEcken = 1 << 20;  // of one leaf
  struct TZustand {
    double X, Y, Richtung;
  };

  // Home is the middle of the canvas (integer division), heading 90.
  explicit TTurtle(TLeinwand& Leinwand);
  TTurtle(const TTurtle&) = delete;
  TTurtle& operator=(const TTurtle&) = delete;

  TLeinwand& Canvas;
  int32_t MitteX;
  int32_t MitteY;
  double Grundrichtung = 90.0;
  uint32_t Farbe = 0;
  double X;
  double Y;
  double Richtung = 90.0;  // in [0, 360) after Drehen
  double Dicke = 1.0;
  bool StiftOben = false;
  TZustand Stapel[StapelGroesse];
  int32_t Gemerkt = 0;  // number of saved states
  TLinienstil Linienstil = TLinienstil::Durchgezogen;
  bool Sichtbar = false;
  double SymbolGroesse = 10.0;
  uint32_t SymbolFarbe = 0;

  // Setters: when the symbol is shown it is removed before and redrawn after.
  void FarbeSetzen(uint32_t Wert);
  void DickeSetzen(double Wert);
  void XSetzen(double Wert);
  void YSetzen(double Wert);
  void RichtungSetzen(double Wert);  // no normalisation
  void SymbolGroesseSetzen(double Wert);

  // Shows or hides the symbol; nothing happens when it already is so.
  void Zeigen(bool An);
  // Inverts the symbol's pixels once (not-xor); does not change Sichtbar.
  void SymbolZeichnen();

  // One line between the rounded points, colour Farbe, width Dicke rounded
  // (a negative width leaves the canvas's width as it was).
  void LinieZeichnen(double X1, double Y1, double X2, double Y2);
  // Moves L along the heading; draws unless the pen is lifted.
  void Vorwaerts(double L);
  // Turns left by W degrees; the heading ends in [0, 360).
  void Drehen(double W);
  // Back to (MitteX, MitteY) and Grundrichtung.
  void Grundstellung();
  void StiftHeben() { StiftOben = true; }
  void StiftSenken() { StiftOben = false; }

  // Saves X, Y, Richtung; the 101st throws ETurtleStapel
  // "Zu viele gemerkte Turtle-Positionen" and saves nothing.
  void PositionMerken();
  // Restores the last saved state without drawing; with none saved throws
  // ETurtleStapel "Stapelfehler: Um mehr Positionen zurück als vorher gemerkt".
  void PositionZurueck();
  // Forgets all saved states and drops the open leaves (each drawing run
  // starts so).
  void StapelLeeren() {
    Gemerkt = 0;
    BlaetterVerwerfen();
  }

  // Leaves: while one is open, Vorwaerts draws no line and each move's end
  // (rounded as a line's end) becomes a corner of the innermost open leaf.
  // BlattBeginnen opens one with the position as its first corner; the
  // 101st open one throws ETurtleStapel "Zu viele offene Blätter". A corner
  // beyond HoechstensEcken throws "Zu viele Ecken in einem Blatt".
  void BlattBeginnen();
  void BlattEcke();
  // Fills the innermost open leaf in Farbe and closes it; nothing without one.
  // Fuellen false closes it unfilled (a leaf that misses the picture).
  void BlattSchliessen(bool Fuellen = true);
  // The corners of the innermost open leaf; empty without one.
  const std::vector<TPunkt>& BlattEcken() const;
  void BlaetterVerwerfen() { OffeneBlaetter = 0; }
  int32_t Blaetter() const { return OffeneBlaetter; }

 private:
  TWinkelcache Winkel;
  // Corners of the open leaves, innermost last; kept beyond their leaf so
  // that the next one reuses the memory.
  std::vector<std::vector<TPunkt>> Ecken;
  int32_t OffeneBlaetter = 0;
};
