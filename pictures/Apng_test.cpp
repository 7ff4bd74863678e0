#include "pictures/Apng.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "pictures/ApngLesen_test.h"
#include "pictures/Bilddatei.h"

namespace {

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
  const TAnimation A = AnimationLesen(Schreiben(F.Anzahl, F.Breite, F.Hoehe, F.Ms, F.Rezept));
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
    const TAnimation A = AnimationLesen(Datei + Chunk("IEND", ""));
    ASSERT_EQ(A.Bilder.size(), static_cast<size_t>(i + 1));
    EXPECT_TRUE(Einzelbild(A, A.Bilder[i]) ==
                Bild(i, 20, 10).convertToFormat(QImage::Format_RGB32));
  }
}

TEST(ApngSchreiber, WrongFramesAndValuesAreProgrammingErrors) {
  const auto Senke = [](std::string_view) {};
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
  for (const auto& [Name, Aktion] : Faelle)
    EXPECT_NE(Fehlertext<std::logic_error>(Aktion), "(kein Fehler)") << Name;

  // The exact count in the other bounds' corners passes.
  TApngSchreiber S(Senke, 2, 4, 4, 10, "\n");
  S.BildAnfuegen(Bild(0, 4, 4));
  S.BildAnfuegen(Bild(1, 4, 4));
  EXPECT_NO_THROW(S.Abschliessen());
}

TEST(ApngSchreiber, RecipeIsReadBackFromTheFile) {
  const TOrdner Ordner;
  EXPECT_EQ(RezeptTextLesen(Ordner.Schreiben("mit.png", Schreiben(3, 30, 20, 80, Rezept))), Rezept);
  EXPECT_THROW(RezeptTextLesen(Ordner.Schreiben("ohne.png", Schreiben(2, 30, 20, 80, ""))),
               std::runtime_error);
}

}  // namespace
