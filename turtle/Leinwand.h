// All the turtle and the drawing window need of a surface to draw on.
#pragma once

#include <cstdint>

enum class TRastermodus {
  Kopieren,  // pixel := pen
  NichtXor   // pixel := NOT(pen XOR pixel); drawing twice restores the pixels
};

struct TPunkt {
  int X;
  int Y;
};

class TLeinwand {
 public:
  virtual ~TLeinwand() = default;

  virtual int Breite() const = 0;
  virtual int Hoehe() const = 0;

  // The pen: colour 0x00BBGGRR, width in pixels (0 draws the thinnest line, a
  // negative width is ignored), raster mode. The style is always solid.
  virtual void StiftFarbeSetzen(uint32_t Farbe) = 0;
  virtual void StiftBreiteSetzen(int Breite) = 0;
  virtual void RastermodusSetzen(TRastermodus Modus) = 0;
  virtual uint32_t StiftFarbe() const = 0;
  virtual int StiftBreite() const = 0;
  virtual TRastermodus Rastermodus() const = 0;

  // The brush fills ellipses and rectangles; white unless set otherwise.
  virtual void PinselFarbeSetzen(uint32_t Farbe) = 0;

  // Moves the current point without drawing.
  virtual void Bewegen(int X, int Y) = 0;
  // Line from the current point to (X, Y), which becomes the current point.
  virtual void LinieNach(int X, int Y) = 0;
  // Bewegen(X1, Y1) then LinieNach(X2, Y2), in one call.
  virtual void Linie(int X1, int Y1, int X2, int Y2) {
    Bewegen(X1, Y1);
    LinieNach(X2, Y2);
  }
  // Open polyline through the points, with the pen.
  virtual void Polylinie(const TPunkt* Punkte, int Anzahl) = 0;
  // Ellipse in the bounding box, outlined with the pen and filled with the brush.
  virtual void Ellipse(int X1, int Y1, int X2, int Y2) = 0;
  // Fills the rectangle with the brush, no outline.
  virtual void RechteckFuellen(int X1, int Y1, int X2, int Y2) = 0;
  // Fills the closed polygon through the points in the pen's colour, by the
  // nonzero rule, no outline: a leaf.
  virtual void VieleckFuellen(const TPunkt* Punkte, int Anzahl) = 0;

  // Covers the whole surface in Farbe: a blank picture. Leaves the brush in
  // that colour.
  virtual void Grundieren(uint32_t Farbe) {
    PinselFarbeSetzen(Farbe);
    RechteckFuellen(0, 0, Breite(), Hoehe());
  }

  // Hands everything batched so far to the picture; callers need this before
  // they show or copy the picture.
  virtual void Ausgeben() {}

  // A picture of pixels, where only what each pixel shows counts, not the
  // lines that drew it: a drawing may then leave out lines that change no
  // pixel. Not so for outputs that keep every line.
  virtual bool Rasterbild() const { return false; }

  // Whether every pixel from (X1, Y1) to (X2, Y2), both corners included, as
  // far as the picture reaches, already shows what a thin line of the pen
  // sets there: then more such lines in the rectangle change no pixel. False
  // where the canvas cannot tell.
  virtual bool Bedeckt(int /*X1*/, int /*Y1*/, int /*X2*/, int /*Y2*/) { return false; }

  // The work handed to the canvas so far, in units of a short thin line. A
  // thick line that covers much of the picture counts for thousands: whoever
  // looks at the clock only now and then weights the work in between by it.
  uint64_t Aufwand() const { return Aufwandszaehler; }

 protected:
  uint64_t Aufwandszaehler = 0;
};
