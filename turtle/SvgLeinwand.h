// A canvas that records what is drawn as SVG: one <line> element per line in
// drawing order, with the integer end points handed to the canvas and the
// drawn width (0 written as 1); polylines, ellipses and rectangles as the
// matching elements, leaves as <polygon> filled in the pen's colour. The raster mode is recorded
// only as a class attribute. It keeps the document in memory, or streams it into a file as it is
// drawn, so that memory stays flat at any size of the drawing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "turtle/Leinwand.h"

class TDateistrom;

class TSvgLeinwand : public TLeinwand {
 public:
  // A picture of this size, kept in memory; Grundieren before the first
  // element gives it its background.
  TSvgLeinwand(int Breite, int Hoehe);
  // The same, written while it is drawn into a temporary file (see
  // TDateistrom); Abschliessen completes it and puts it in place, else the old
  // file stays as it was. Elemente() stays empty. Throws std::runtime_error
  // with a German message when the file can't be created or written.
  TSvgLeinwand(int Breite, int Hoehe, const std::string& Dateiname);
  ~TSvgLeinwand() override;
  TSvgLeinwand(const TSvgLeinwand&) = delete;
  TSvgLeinwand& operator=(const TSvgLeinwand&) = delete;

  int Breite() const override { return BildBreite; }
  int Hoehe() const override { return BildHoehe; }

  void StiftFarbeSetzen(uint32_t Wert) override;
  void StiftBreiteSetzen(int Wert) override;
  void RastermodusSetzen(TRastermodus Wert) override;
  uint32_t StiftFarbe() const override { return Farbe; }
  int StiftBreite() const override { return Stiftbreite; }
  TRastermodus Rastermodus() const override { return Modus; }
  void PinselFarbeSetzen(uint32_t Wert) override { Pinsel = Wert; }

  void Bewegen(int X, int Y) override;
  void LinieNach(int X, int Y) override;
  void Polylinie(const TPunkt* Punkte, int Anzahl) override;
  void Ellipse(int X1, int Y1, int X2, int Y2) override;
  void RechteckFuellen(int X1, int Y1, int X2, int Y2) override;
  void VieleckFuellen(const TPunkt* Punkte, int Anzahl) override;
  // Before the first element: the background of the document, else a
  // rectangle over everything drawn so far.
  void Grundieren(uint32_t Farbe) override;

  // A text the document carries in a <metadata> element near its start:
  // printable ASCII and LF only (throws std::invalid_argument otherwise).
  // A streamed document takes it only before its first element.
  void MetadatenSetzen(const std::string& Text);

  // The elements drawn so far, one per line of text (in memory only).
  const std::string& Elemente() const { return Inhalt; }
  // The whole SVG document (in memory only).
  std::string Dokument() const;
  // Streamed: writes the end of the document and puts the file in place.
  void Abschliessen();

  // "#RRGGBB" of a 0x00BBGGRR value.
  static std::string Farbtext(uint32_t Farbe);

  // True when the beginning of a file looks like an SVG document.
  static bool IstSvg(std::string_view Anfang);
  // The text of the first <metadata> element in Anfang, the beginning of an SVG
  // document, whose text begins with Kennung; XML references resolved.
  static std::optional<std::string> MetadatenLesen(std::string_view Anfang,
                                                   std::string_view Kennung);

 private:
  std::string Kopf() const;
  void Schreiben(std::string_view Text);
  void StiftattributeBilden();

  int BildBreite;
  int BildHoehe;
  uint32_t Farbe = 0;
  int Stiftbreite = 1;
  TRastermodus Modus = TRastermodus::Kopieren;
  uint32_t Pinsel = 0xFFFFFF;
  int AktX = 0;
  int AktY = 0;
  std::string Stiftattribute;
  std::string Metadaten;  // already escaped
  std::optional<uint32_t> Hintergrund;
  std::string Inhalt;
  std::string Zeile;  // reused for each element
  std::unique_ptr<TDateistrom> Strom;
  bool KopfGeschrieben = false;
};
