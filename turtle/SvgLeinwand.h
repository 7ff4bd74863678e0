// A canvas that records what is drawn as SVG: one <line> element per line in
// drawing order, with the integer end points handed to the canvas and the
// drawn width (0 written as 1); polylines, ellipses and rectangles as the
// matching elements. The raster mode is recorded only as a class attribute.
#pragma once

#include <string>

#include "turtle/Leinwand.h"

class TSvgLeinwand : public TLeinwand {
 public:
  // A white picture of this size.
  TSvgLeinwand(int Breite, int Hoehe);

  int Breite() const override { return BildBreite; }
  int Hoehe() const override { return BildHoehe; }

  void StiftFarbeSetzen(uint32_t Wert) override { Farbe = Wert; }
  void StiftBreiteSetzen(int Wert) override {
    if (Wert >= 0) Stiftbreite = Wert;
  }
  void RastermodusSetzen(TRastermodus Wert) override { Modus = Wert; }
  uint32_t StiftFarbe() const override { return Farbe; }
  int StiftBreite() const override { return Stiftbreite; }
  TRastermodus Rastermodus() const override { return Modus; }
  void PinselFarbeSetzen(uint32_t Wert) override { Pinsel = Wert; }

  void Bewegen(int X, int Y) override;
  void LinieNach(int X, int Y) override;
  void Polylinie(const TPunkt* Punkte, int Anzahl) override;
  void Ellipse(int X1, int Y1, int X2, int Y2) override;
  void RechteckFuellen(int X1, int Y1, int X2, int Y2) override;

  // The elements drawn so far, one per line of text.
  const std::string& Elemente() const { return Inhalt; }
  // The whole SVG document.
  std::string Dokument() const;
  // Writes the document; throws std::runtime_error when the file can't be written.
  void Speichern(const std::string& Dateiname) const;

  // "#RRGGBB" of a 0x00BBGGRR value.
  static std::string Farbtext(uint32_t Farbe);

 private:
  std::string Stiftattribute() const;

  int BildBreite;
  int BildHoehe;
  uint32_t Farbe = 0;
  int Stiftbreite = 1;
  TRastermodus Modus = TRastermodus::Kopieren;
  uint32_t Pinsel = 0xFFFFFF;
  int AktX = 0;
  int AktY = 0;
  std::string Inhalt;
};
