// Test support: reads an animated PNG chunk by chunk and checks its
// structure; its frames come out as pictures of their own.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "helpers/TestHilfen.h"
#include "pictures/Bilddatei.h"

struct TTeil {
  std::string Typ, Daten;
};

inline uint32_t Wort(std::string_view Daten, size_t Stelle) {
  uint32_t w = 0;
  for (size_t i = 0; i < 4; ++i) w = (w << 8) | static_cast<unsigned char>(Daten[Stelle + i]);
  return w;
}

inline uint32_t Halbwort(std::string_view Daten, size_t Stelle) {
  return (uint32_t{static_cast<unsigned char>(Daten[Stelle])} << 8) |
         static_cast<unsigned char>(Daten[Stelle + 1]);
}

// Computed bit by bit here, so that a fault in how the writer calls zlib shows.
inline uint32_t Crc(std::string_view Daten) {
  uint32_t c = 0xFFFFFFFF;
  for (const char Zeichen : Daten) {
    c ^= static_cast<unsigned char>(Zeichen);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320 ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFF;
}

inline void Anhaengen32(std::string& Daten, uint32_t Wert) {
  for (int s = 24; s >= 0; s -= 8) Daten.push_back(static_cast<char>(Wert >> s));
}

inline std::string Chunk(const std::string& Typ, const std::string& Daten) {
  std::string C;
  Anhaengen32(C, static_cast<uint32_t>(Daten.size()));
  C += Typ + Daten;
  Anhaengen32(C, Crc(Typ + Daten));
  return C;
}

inline const std::string Signatur("\x89PNG\r\n\x1a\n", 8);

// The chunks of a PNG file; fails the test on a wrong signature, length or CRC.
inline std::vector<TTeil> Zerlegen(const std::string& Datei) {
  std::vector<TTeil> Teile;
  EXPECT_EQ(Datei.substr(0, 8), Signatur);
  size_t Stelle = 8;
  while (Stelle + 12 <= Datei.size()) {
    const uint32_t Laenge = Wort(Datei, Stelle);
    if (Laenge > Datei.size() - Stelle - 12) break;
    TTeil T{Datei.substr(Stelle + 4, 4), Datei.substr(Stelle + 8, Laenge)};
    EXPECT_EQ(Wort(Datei, Stelle + 8 + Laenge), Crc(T.Typ + T.Daten)) << T.Typ << " bei " << Stelle;
    Teile.push_back(std::move(T));
    Stelle += Laenge + 12;
  }
  EXPECT_EQ(Stelle, Datei.size()) << "Rest hinter dem letzten Chunk";
  return Teile;
}

struct TBild {
  uint32_t Zaehler = 0, Nenner = 0, Breite = 0, Hoehe = 0;
  std::string Daten;  // the image data of all its IDAT or fdAT chunks
};

struct TAnimation {
  std::string Kopf;  // IHDR data
  uint32_t Anzahl = 0, Durchlaeufe = 1;
  std::string Rezept;
  std::vector<TBild> Bilder;
};

// Reads an APNG and checks its structure: IHDR first and IEND last, acTL and
// the text before the image data, the first frame as IDAT after fcTL 0, later
// frames as fdAT after their own fcTL, sequence numbers without gaps.
inline TAnimation AnimationLesen(const std::string& Datei) {
  TAnimation A;
  const std::vector<TTeil> Teile = Zerlegen(Datei);
  if (Teile.size() < 2) {
    ADD_FAILURE() << "zu wenige Chunks";
    return A;
  }
  EXPECT_EQ(Teile.front().Typ, "IHDR");
  EXPECT_EQ(Teile.back().Typ, "IEND");
  EXPECT_EQ(Teile.back().Daten, "");
  A.Kopf = Teile.front().Daten;
  uint32_t Folge = 0;
  bool IdatGesehen = false, IdatVorbei = false, ActlGesehen = false;
  for (size_t i = 1; i + 1 < Teile.size(); ++i) {
    const TTeil& T = Teile[i];
    if (T.Typ == "IHDR" || T.Typ == "IEND") ADD_FAILURE() << T.Typ << " doppelt";
    if (IdatGesehen && T.Typ != "IDAT") IdatVorbei = true;
    if (T.Typ == "acTL") {
      EXPECT_FALSE(ActlGesehen || IdatGesehen) << "acTL doppelt oder zu spät";
      ActlGesehen = true;
      A.Anzahl = Wort(T.Daten, 0);
      A.Durchlaeufe = Wort(T.Daten, 4);
    } else if (T.Typ == "tEXt") {
      EXPECT_FALSE(IdatGesehen) << "Text nach den Bilddaten";
      const size_t Null = T.Daten.find('\0');
      EXPECT_EQ(T.Daten.substr(0, Null), RezeptSchluessel);
      A.Rezept = T.Daten.substr(Null + 1);
    } else if (T.Typ == "fcTL") {
      EXPECT_TRUE(ActlGesehen) << "fcTL vor acTL";
      EXPECT_EQ(Wort(T.Daten, 0), Folge++);
      EXPECT_EQ(T.Daten.size(), 26u);
      EXPECT_EQ(Wort(T.Daten, 12), 0u);  // offsets
      EXPECT_EQ(Wort(T.Daten, 16), 0u);
      EXPECT_LE(T.Daten[24], 2);  // dispose
      EXPECT_LE(T.Daten[25], 1);  // blend
      A.Bilder.push_back(
          {Halbwort(T.Daten, 20), Halbwort(T.Daten, 22), Wort(T.Daten, 4), Wort(T.Daten, 8), ""});
    } else if (T.Typ == "IDAT") {
      EXPECT_EQ(A.Bilder.size(), 1u) << "IDAT gehört nicht zum ersten Bild";
      EXPECT_FALSE(IdatVorbei) << "IDAT nicht am Stück";
      IdatGesehen = true;
      if (!A.Bilder.empty()) A.Bilder.back().Daten += T.Daten;
    } else if (T.Typ == "fdAT") {
      EXPECT_GT(A.Bilder.size(), 1u) << "fdAT vor dem zweiten fcTL";
      EXPECT_EQ(Wort(T.Daten, 0), Folge++);
      if (!A.Bilder.empty()) A.Bilder.back().Daten += T.Daten.substr(4);
    }
  }
  EXPECT_TRUE(IdatGesehen);
  return A;
}

// A frame of the animation as a plain PNG of its own.
inline QImage Einzelbild(const TAnimation& A, const TBild& B) {
  const std::string Png =
      Signatur + Chunk("IHDR", A.Kopf) + Chunk("IDAT", B.Daten) + Chunk("IEND", "");
  return QImage::fromData(reinterpret_cast<const uchar*>(Png.data()), static_cast<int>(Png.size()),
                          "PNG");
}

// The frames of an APNG file, each checked and decoded.
inline std::vector<QImage> Einzelbilder(const std::string& Pfad, TAnimation* Animation = nullptr) {
  const TAnimation A = AnimationLesen(Lesen(Pfad));
  std::vector<QImage> Bilder;
  for (const TBild& B : A.Bilder)
    Bilder.push_back(Einzelbild(A, B).convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(Bilder.size(), A.Anzahl);
  if (Animation) *Animation = A;
  return Bilder;
}
