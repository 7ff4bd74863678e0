#include "pictures/Apng.h"

#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#include "pictures/Bilddatei.h"

namespace {

constexpr std::string_view Signatur("\x89PNG\r\n\x1a\n", 8);

// Chunks of the first frame that hold for the whole picture (colours, pixel
// size); Qt writes them before its image data.
constexpr std::string_view Bildweit[] = {"cHRM", "gAMA", "iCCP", "sBIT", "sRGB", "pHYs", "cICP"};

void Anhaengen32(std::string& Daten, uint32_t Wert) {
  for (int Schub = 24; Schub >= 0; Schub -= 8)
    Daten.push_back(static_cast<char>((Wert >> Schub) & 0xFF));
}

void Anhaengen16(std::string& Daten, uint32_t Wert) {
  Daten.push_back(static_cast<char>((Wert >> 8) & 0xFF));
  Daten.push_back(static_cast<char>(Wert & 0xFF));
}

uint32_t Wort(std::string_view Daten, size_t Stelle) {
  uint32_t w = 0;
  for (size_t i = 0; i < 4; ++i) w = (w << 8) | static_cast<unsigned char>(Daten[Stelle + i]);
  return w;
}

struct TChunk {
  std::string_view Typ, Daten;
};

// The chunks of a PNG that Qt has just written.
std::vector<TChunk> Zerlegen(std::string_view Png) {
  const auto Kaputt = [] {
    throw std::runtime_error("Das Bild kann nicht als PNG kodiert werden");
  };
  if (Png.substr(0, Signatur.size()) != Signatur) Kaputt();
  std::vector<TChunk> Chunks;
  for (size_t Stelle = Signatur.size(); Stelle < Png.size();) {
    if (Png.size() - Stelle < 12) Kaputt();
    const uint32_t Laenge = Wort(Png, Stelle);
    if (Laenge > Png.size() - Stelle - 12) Kaputt();
    Chunks.push_back({Png.substr(Stelle + 4, 4), Png.substr(Stelle + 8, Laenge)});
    Stelle += size_t{Laenge} + 12;
  }
  return Chunks;
}

}  // namespace

TApngSchreiber::TApngSchreiber(TSenke Senke, int Bildzahl, int Breite, int Hoehe, int BildzeitMs,
                               std::string Rezepttext)
    : Senke(std::move(Senke)),
      Bildzahl(Bildzahl),
      Breite(Breite),
      Hoehe(Hoehe),
      Bildzeit(BildzeitMs),
      Rezepttext(std::move(Rezepttext)) {
  if (Bildzahl < 1) throw std::invalid_argument("Animation ohne Bilder");
  if (Breite < 1 || Hoehe < 1) throw std::invalid_argument("Animation ohne Fläche");
  if (BildzeitMs < MinBildzeit || BildzeitMs > MaxBildzeit)
    throw std::invalid_argument("Bildzeit außerhalb von 10 bis 60000 ms");
  for (const char c : this->Rezepttext)
    if (c != '\n' && (c < ' ' || c > '~'))
      throw std::invalid_argument("Rezept nur aus druckbaren ASCII-Zeichen");
}

int64_t TApngSchreiber::Schlusszeit(int BildzeitMs) {
  return std::max<int64_t>(int64_t{4} * BildzeitMs, 1000);
}

void TApngSchreiber::Chunk(std::string_view Typ, std::string_view Daten) {
  std::string Rahmen;
  Rahmen.reserve(8);
  Anhaengen32(Rahmen, static_cast<uint32_t>(Daten.size()));
  Rahmen.append(Typ);
  uLong Pruefsumme = crc32(0, reinterpret_cast<const Bytef*>(Typ.data()), 4);
  // zlib answers a null pointer with a fresh start, as for IEND's empty data.
  if (!Daten.empty())
    Pruefsumme = crc32(Pruefsumme, reinterpret_cast<const Bytef*>(Daten.data()),
                       static_cast<uInt>(Daten.size()));
  Senke(Rahmen);
  Senke(Daten);
  std::string Ende;
  Anhaengen32(Ende, static_cast<uint32_t>(Pruefsumme));
  Senke(Ende);
}

void TApngSchreiber::Bildsteuerung(int Nummer) {
  // A frame time in ms over 1000 is exact for every allowed value; the last
  // frame's four frame times are ms over 250, which still fits in 16 bits.
  uint32_t Zaehler = static_cast<uint32_t>(Bildzeit), Nenner = 1000;
  if (Nummer == Bildzahl - 1) {
    if (Schlusszeit(Bildzeit) == 1000) {
      Zaehler = 1;
      Nenner = 1;
    } else {
      Nenner = 250;
    }
  }
  std::string Daten;
  Daten.reserve(26);
  Anhaengen32(Daten, Folgenummer++);
  Anhaengen32(Daten, static_cast<uint32_t>(Breite));
  Anhaengen32(Daten, static_cast<uint32_t>(Hoehe));
  Anhaengen32(Daten, 0);  // x offset
  Anhaengen32(Daten, 0);  // y offset
  Anhaengen16(Daten, Zaehler);
  Anhaengen16(Daten, Nenner);
  Daten.push_back(0);  // dispose: leave the frame as it is
  Daten.push_back(0);  // blend: replace, each frame covers the whole picture
  Chunk("fcTL", Daten);
}

void TApngSchreiber::BildAnfuegen(const QImage& Bild) {
  if (Fertig || Geschrieben == Bildzahl) throw std::logic_error("Mehr Bilder als angekündigt");
  if (Bild.width() != Breite || Bild.height() != Hoehe)
    throw std::logic_error("Bild mit anderer Größe als angekündigt");

  // One format for all frames, so that Qt writes the same IHDR for each.
  QByteArray Png;
  {
    QBuffer Puffer(&Png);
    Puffer.open(QIODevice::WriteOnly);
    if (!Bild.convertToFormat(QImage::Format_RGB32).save(&Puffer, "PNG"))
      throw std::runtime_error("Das Bild kann nicht als PNG kodiert werden");
  }
  const std::vector<TChunk> Chunks =
      Zerlegen(std::string_view(Png.constData(), static_cast<size_t>(Png.size())));
  if (Chunks.empty() || Chunks.front().Typ != "IHDR")
    throw std::runtime_error("Das Bild kann nicht als PNG kodiert werden");

  if (Geschrieben == 0) {
    Kopf = Chunks.front().Daten;
    Senke(Signatur);
    Chunk("IHDR", Kopf);
    for (const TChunk& C : Chunks)
      for (std::string_view Typ : Bildweit)
        if (C.Typ == Typ) Chunk(C.Typ, C.Daten);
    std::string Steuerung;
    Anhaengen32(Steuerung, static_cast<uint32_t>(Bildzahl));
    Anhaengen32(Steuerung, 0);  // plays: endlessly
    Chunk("acTL", Steuerung);
    if (!Rezepttext.empty()) {
      std::string Text = RezeptSchluessel;
      Text.push_back('\0');
      Text += Rezepttext;
      Chunk("tEXt", Text);
      // Not needed again; the frames may be many.
      std::string().swap(Rezepttext);
    }
  } else if (Chunks.front().Daten != Kopf) {
    throw std::runtime_error("Das Bild kann nicht als PNG kodiert werden");
  }

  Bildsteuerung(Geschrieben);
  std::string Daten;
  for (const TChunk& C : Chunks) {
    if (C.Typ != "IDAT") continue;
    if (Geschrieben == 0) {
      Chunk("IDAT", C.Daten);
      continue;
    }
    Daten.clear();
    Anhaengen32(Daten, Folgenummer++);
    Daten.append(C.Daten);
    Chunk("fdAT", Daten);
  }
  ++Geschrieben;
}

void TApngSchreiber::Abschliessen() {
  if (Fertig) throw std::logic_error("Animation schon abgeschlossen");
  if (Geschrieben != Bildzahl) throw std::logic_error("Weniger Bilder als angekündigt");
  Chunk("IEND", {});
  Fertig = true;
}
