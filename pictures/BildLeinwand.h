// A canvas on a QImage that its owner keeps (QtGui only). No antialiasing;
// width 0 and 1 draw one-pixel lines, wider pens have round caps and joins;
// not-xor sets pixel := NOT(pen XOR pixel) on the colour bits. Lines are
// batched: call Ausgeben() before the image is shown, copied or painted on
// by anyone else. Best used on QImage::Format_RGB32: there short thin lines
// are stamped with the pixels QPainter itself gives them, which is faster
// than asking it again for each line. The value a stamp writes is kept for
// the last few colours, so that lines of changing colours stamp as fast.
#pragma once

#include <QImage>
#include <QLine>
#include <QPainter>
#include <vector>

#include "turtle/Leinwand.h"

class TBildLeinwand : public TLeinwand {
 public:
  explicit TBildLeinwand(QImage& Bild);
  ~TBildLeinwand() override;
  TBildLeinwand(const TBildLeinwand&) = delete;
  TBildLeinwand& operator=(const TBildLeinwand&) = delete;

  int Breite() const override;
  int Hoehe() const override;

  void StiftFarbeSetzen(uint32_t Farbe) override;
  void StiftBreiteSetzen(int Breite) override;
  void RastermodusSetzen(TRastermodus Modus) override;
  uint32_t StiftFarbe() const override { return Farbe; }
  int StiftBreite() const override { return Stiftbreite; }
  TRastermodus Rastermodus() const override { return Modus; }
  void PinselFarbeSetzen(uint32_t Farbe) override;

  void Bewegen(int X, int Y) override;
  void LinieNach(int X, int Y) override;
  void Linie(int X1, int Y1, int X2, int Y2) override;
  void Polylinie(const TPunkt* Punkte, int Anzahl) override;
  void Ellipse(int X1, int Y1, int X2, int Y2) override;
  void RechteckFuellen(int X1, int Y1, int X2, int Y2) override;
  void VieleckFuellen(const TPunkt* Punkte, int Anzahl) override;
  void Grundieren(uint32_t Farbe) override;
  bool Rasterbild() const override { return true; }
  // Only in copy mode with a thin pen, where a line sets pixels to one value.
  bool Bedeckt(int X1, int Y1, int X2, int Y2) override;

  // Draws the batched lines and releases the image.
  void Ausgeben() override;

  // QColor of a 0x00BBGGRR value.
  static QColor Farbwert(uint32_t Farbe);

 private:
  void Vorbereiten();  // painter active with the current pen
  void Leeren();       // draws the batched lines
  void Anfuegen(int X1, int Y1, int X2, int Y2);
  bool Stempeln(int X1, int Y1, int X2, int Y2);
  bool PixelZugang();
  void PixelNehmen();
  uint32_t Stempelwert();
  uint64_t Linienaufwand(int X1, int Y1, int X2, int Y2) const;
  bool Verfehlt(int X1, int Y1, int X2, int Y2) const;
  uint64_t Flaechenaufwand(double Breite, double Hoehe) const;
  QPen Stift() const;

  QImage& Bild;
  QPainter Maler;
  std::vector<QLine> Warteschlange;
  uint64_t WartenderAufwand = 0;  // of the lines waiting in the batch
  uint32_t Farbe = 0;
  int Stiftbreite = 1;
  TRastermodus Modus = TRastermodus::Kopieren;
  uint32_t Pinsel = 0xFFFFFF;
  bool StiftGueltig = false;  // the painter has the pen above
  QPoint Aktuell;
  // Direct pixel access for stamping, valid until Ausgeben.
  uint32_t* Pixel = nullptr;
  int PixelBreite = 0, PixelHoehe = 0;  // of the picture while Pixel points into it
  qsizetype Zeilenlaenge = 0;           // in pixels
  bool StempelWertGueltig = false;
  uint32_t StempelWert = 0;
  // Stamp values of earlier colours, by the colour's low bits.
  struct TStempelfarbe {
    uint32_t Farbe = 0;
    uint32_t Wert = 0;
    bool Gueltig = false;
  };
  static constexpr size_t Stempelfarben = 64;
  TStempelfarbe Stempelspeicher[Stempelfarben];
};
