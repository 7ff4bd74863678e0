#include "turtle/Apng.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <vector>

#include "turtle/Bilddatei.h"

namespace {

struct TTeil {
  std::string Typ, Daten;
};

uint32_t Wort(std::string_view Daten, size_t Stelle) {
  uint32_t w = 0;
  for (size_t i = 0; i < 4; ++i) w = (w << 8) | static_cast<unsigned char>(Daten[Stelle + i]);
  return w;
}

uint32_t Halbwort(std::string_view Daten, size_t Stelle) {
  return (uint32_t{static_cast<unsigned char>(Daten[Stelle])} << 8) |
         static_cast<unsigned char>(Daten[Stelle + 1]);
}

// Computed bit by bit here, so that a fault in how the writer calls zlib shows.
uint32_t Crc(std::string_view Daten) {
  uint32_t c = 0xFFFFFFFF;
  for (const char Zeichen : Daten) {
    c ^= static_cast<unsigned char>(Zeichen);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320 ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFF;
}

void Anhaengen32(std::string& Daten, uint32_t Wert) {
  for (int s = 24; s >= 0; s -= 8) Daten.push_back(static_cast<char>(Wert >> s));
}

std::string Chunk(const std::string& Typ, const std::string& Daten) {
  std::string C;
  Anhaengen32(C, static_cast<uint32_t>(Daten.size()));
  C += Typ + Daten;
  Anhaengen32(C, Crc(Typ + Daten));
  return C;
}

const std::string Signatur("\x89PNG\r\n\x1a\n", 8);

// The chunks of a PNG file; fails the test on a wrong signature, length or CRC.
std::vector<TTeil> Zerlegen(const std::string& Datei) {
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
TAnimation Lesen(const std::string& Datei) {
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
QImage Einzelbild(const TAnimation& A, const TBild& B) {
  const std::string Png =
      Signatur + Chunk("IHDR", A.Kopf) + Chunk("IDAT", B.Daten) + Chunk("IEND", "");
  return QImage::fromData(reinterpret_cast<const uchar*>(Png.data()), static_cast<int>(Png.size()),
                          "PNG");
}

// Frames that differ from each other in every row, in several formats; the
// first is grey only, which must not change the IHDR that later ones need.
QImage Bild(int Nummer, int Breite, int Hoehe) {
  static const QImage::Format Formate[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                           QImage::Format_RGB888, QImage::Format_Grayscale8};
  QImage B(Breite, Hoehe, QImage::Format_RGB32);
  for (int y = 0; y < Hoehe; ++y)
    for (int x = 0; x < Breite; ++x) {
      // Noise, so that large frames need several chunks of image data.
      const uint32_t h = (static_cast<uint32_t>(x) * 2654435761u) ^
                         (static_cast<uint32_t>(y + 1000 * Nummer) * 40503u);
      const int g = static_cast<int>((h >> 7) & 0xFF);
      B.setPixel(x, y, Nummer == 0 ? qRgb(g, g, g) : qRgb(g, (h >> 15) & 0xFF, (h >> 23) & 0xFF));
    }
  return B.convertToFormat(Formate[Nummer % 4]);
}

std::string Schreiben(int Anzahl, int Breite, int Hoehe, int Ms, const std::string& Rezept) {
  std::string Datei;
  TApngSchreiber S([&Datei](std::string_view Teil) { Datei += Teil; }, Anzahl, Breite, Hoehe, Ms,
                   Rezept);
  for (int i = 0; i < Anzahl; ++i) S.BildAnfuegen(Bild(i, Breite, Hoehe));
  S.Abschliessen();
  return Datei;
}

struct TFall {
  int Anzahl, Breite, Hoehe, Ms;
  int64_t SchlussMs;
  std::string Rezept;
};

void PrintTo(const TFall& F, std::ostream* Aus) {
  *Aus << F.Anzahl << " Bilder " << F.Breite << "x" << F.Hoehe << ", " << F.Ms << " ms";
}

class Apng : public testing::TestWithParam<TFall> {};

TEST_P(Apng, EveryFrameDecodesAsGivenAndKeepsItsTime) {
  const TFall& F = GetParam();
  const TAnimation A = Lesen(Schreiben(F.Anzahl, F.Breite, F.Hoehe, F.Ms, F.Rezept));
  EXPECT_EQ(A.Anzahl, static_cast<uint32_t>(F.Anzahl));
  EXPECT_EQ(A.Durchlaeufe, 0u);
  EXPECT_EQ(A.Rezept, F.Rezept);
  ASSERT_EQ(A.Bilder.size(), static_cast<size_t>(F.Anzahl));
  for (int i = 0; i < F.Anzahl; ++i) {
    const TBild& B = A.Bilder[i];
    EXPECT_EQ(B.Breite, static_cast<uint32_t>(F.Breite));
    EXPECT_EQ(B.Hoehe, static_cast<uint32_t>(F.Hoehe));
    // Exact: num/den seconds is the wanted time in ms.
    const int64_t Ms = i + 1 < F.Anzahl ? F.Ms : F.SchlussMs;
    ASSERT_NE(B.Nenner, 0u);
    EXPECT_EQ(int64_t{B.Zaehler} * 1000, Ms * B.Nenner) << "Bild " << i;
    const QImage Gelesen = Einzelbild(A, B);
    ASSERT_FALSE(Gelesen.isNull()) << "Bild " << i;
    EXPECT_TRUE(Gelesen.convertToFormat(QImage::Format_RGB32) ==
                Bild(i, F.Breite, F.Hoehe).convertToFormat(QImage::Format_RGB32))
        << "Bild " << i;
  }
}

const std::string Rezept = "Rankenwerk-Rezept 1\nTiefe: 3\nA->F[+A]\n ~!";

INSTANTIATE_TEST_SUITE_P(
    Faelle, Apng,
    testing::Values(TFall{1, 1, 1, 10, 1000, ""}, TFall{3, 17, 9, 100, 1000, Rezept},
                    TFall{4, 40, 30, 249, 1000, ""}, TFall{2, 5, 300, 250, 1000, Rezept},
                    TFall{5, 64, 3, 333, 1332, ""}, TFall{2, 3, 2, 59999, 239996, ""},
                    TFall{2, 3, 2, 60000, 240000, Rezept}, TFall{3, 200, 150, 40, 1000, Rezept}));

TEST(ApngSchreiber, EachFrameReachesTheSinkBeforeTheNextIsGiven) {
  std::string Datei;
  TApngSchreiber S([&Datei](std::string_view Teil) { Datei += Teil; }, 3, 20, 10, 50);
  EXPECT_EQ(Datei, "");
  for (int i = 0; i < 3; ++i) {
    S.BildAnfuegen(Bild(i, 20, 10));
    // What was written so far, closed, holds all frames given so far.
    const TAnimation A = Lesen(Datei + Chunk("IEND", ""));
    ASSERT_EQ(A.Bilder.size(), static_cast<size_t>(i + 1));
    EXPECT_TRUE(Einzelbild(A, A.Bilder[i]) ==
                Bild(i, 20, 10).convertToFormat(QImage::Format_RGB32));
  }
}

TEST(ApngSchreiber, WrongFramesAndValuesAreProgrammingErrors) {
  const auto Senke = [](std::string_view) {};
  const auto Wirft = [](const std::function<void()>& Aktion) {
    try {
      Aktion();
    } catch (const std::logic_error&) {
      return true;
    }
    return false;
  };
  const std::pair<const char*, std::function<void()>> Faelle[] = {
      {"zu wenige",
       [&] {
         TApngSchreiber S(Senke, 3, 4, 4, 100);
         S.BildAnfuegen(Bild(0, 4, 4));
         S.BildAnfuegen(Bild(1, 4, 4));
         S.Abschliessen();
       }},
      {"zu viele",
       [&] {
         TApngSchreiber S(Senke, 1, 4, 4, 100);
         S.BildAnfuegen(Bild(0, 4, 4));
         S.BildAnfuegen(Bild(1, 4, 4));
       }},
      {"andere Größe",
       [&] {
         TApngSchreiber S(Senke, 2, 4, 4, 100);
         S.BildAnfuegen(Bild(0, 4, 4));
         S.BildAnfuegen(Bild(1, 4, 5));
       }},
      {"leeres Bild", [&] { TApngSchreiber(Senke, 1, 4, 4, 100).BildAnfuegen(QImage()); }},
      {"null Bilder", [&] { TApngSchreiber(Senke, 0, 4, 4, 100); }},
      {"keine Breite", [&] { TApngSchreiber(Senke, 1, 0, 4, 100); }},
      {"zu kurz", [&] { TApngSchreiber(Senke, 1, 4, 4, 9); }},
      {"zu lang", [&] { TApngSchreiber(Senke, 1, 4, 4, 60001); }},
      {"Umlaut im Rezept", [&] { TApngSchreiber(Senke, 1, 4, 4, 100, "Rankenwerk-Rezept \xe4"); }},
  };
  for (const auto& [Name, Aktion] : Faelle) EXPECT_TRUE(Wirft(Aktion)) << Name;

  // The exact count in the other bounds' corners passes.
  TApngSchreiber S(Senke, 2, 4, 4, 10, "\n");
  S.BildAnfuegen(Bild(0, 4, 4));
  S.BildAnfuegen(Bild(1, 4, 4));
  EXPECT_NO_THROW(S.Abschliessen());
}

TEST(ApngSchreiber, RecipeIsReadBackFromTheFile) {
  const std::string Datei = ::testing::TempDir() + "apng_rezept.png";
  std::ofstream(Datei, std::ios::binary | std::ios::trunc) << Schreiben(3, 30, 20, 80, Rezept);
  EXPECT_EQ(RezeptTextLesen(Datei), Rezept);
  std::ofstream(Datei, std::ios::binary | std::ios::trunc) << Schreiben(2, 30, 20, 80, "");
  EXPECT_THROW(RezeptTextLesen(Datei), std::runtime_error);
}

}  // namespace
