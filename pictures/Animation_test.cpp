#include "pictures/Animation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/Rezept.h"
#include "helpers/Dateistrom.h"
#include "helpers/TestHilfen.h"
#include "pictures/ApngLesen_test.h"
#include "pictures/BildLeinwand.h"

namespace {

TLauf Pflanze(bool Zufall = false) {
  TLauf R;
  R.Regeln = TRegelstand::AusText("X\r\n25\r\n25\r\nX->F+[[X]-X]-F[-X]+X\r\nF->FF\r\n");
  R.WinkelPlus = R.WinkelMinus = 25;
  R.Tiefe = 4;
  R.Breite = 300;
  R.Hoehe = 200;
  R.StartX = 150;
  R.StartY = 200;
  R.Einstellungen.Zufallsmodus = Zufall;
  R.Einstellungen.Saat = 77;
  return R;
}

// The picture a drawing at once of R gives, with the step fitted when it is.
QImage Gezeichnet(TLauf R, int32_t Tiefe) {
  R.Tiefe = Tiefe;
  QImage B = LeeresBild(R.Breite, R.Hoehe, R.Einstellungen);
  TBildLeinwand L(B);
  TNachzeichnung Wie;
  Wie.SchrittweiteAnpassen = R.Einstellungen.SchrittweiteAnpassen;
  Wie.Zentrieren = R.Einstellungen.Zentriert;
  LaufZeichnen(R, L, Wie);
  L.Ausgeben();
  return B;
}

QImage Bis(const TLauf& R, uint64_t Linien, TKopf* Kopf = nullptr) {
  QImage B = LeeresBild(R.Breite, R.Hoehe, R.Einstellungen);
  TBildLeinwand L(B);
  AufbauZeichnen(R, Linien, L, Kopf);
  L.Ausgeben();
  return B;
}

class Animation : public TOrdnerTest, public testing::WithParamInterface<bool> {};
using Aufbau = TOrdnerTest;

// Frame i of the growth is the drawing at depth i (fitted anew, and in random
// mode from the same seed); with the scale held, every frame has the step of
// the deepest depth.
TEST_P(Animation, GrowthFrameIIsDepthI) {
  const TLauf R = Pflanze(GetParam());
  const std::string Datei = Pfad("wachstum.png");
  ASSERT_TRUE(WachstumSchreiben(R, Datei, 250));
  TAnimation A;
  const std::vector<QImage> Bilder = Einzelbilder(Datei, &A);
  ASSERT_EQ(Bilder.size(), 5u);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(Bilder[i], Gezeichnet(R, i)) << i;
  EXPECT_EQ(A.Durchlaeufe, 0u);
  EXPECT_EQ(RezeptAusText(A.Rezept).Tiefe, 4);
  EXPECT_EQ(RezeptTextLesen(Datei), A.Rezept);

  ASSERT_TRUE(WachstumSchreiben(R, Datei, 250, TMassstab::Tiefste));
  TLauf Fest = R;
  Fest.Schrittweite = AngepassteSchrittweite(R).value();
  Fest.Einstellungen.SchrittweiteAnpassen = false;
  const std::vector<QImage> Gehalten = Einzelbilder(Datei);
  ASSERT_EQ(Gehalten.size(), 5u);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(Gehalten[i], Gezeichnet(Fest, i)) << i;
  EXPECT_NE(Gehalten[2], Bilder[2]);
  EXPECT_EQ(Gehalten[4], Bilder[4]);

  // Measuring the held scale of a deep drawing can be stopped, the export with it.
  TLauf Tief = R;
  Tief.Tiefe = 9;
  EXPECT_FALSE(AngepassteSchrittweite(Tief, [](double) { return false; }));
  EXPECT_FALSE(
      WachstumSchreiben(Tief, Datei, 250, TMassstab::Tiefste, [](double) { return false; }));
  EXPECT_EQ(Einzelbilder(Datei).size(), 5u);
}

// An animation's recipe draws its last frame again as a still picture, as
// every picture's recipe draws the picture: the step as fitted, the start as
// centred.
TEST_P(Animation, RecipeDrawsTheLastFrame) {
  for (const bool Mittig : {false, true})
    for (const bool Wachstum : {false, true}) {
      TLauf R = Pflanze(GetParam());
      R.Einstellungen.Zentriert = Mittig;
      const std::string Datei = Pfad("a.png");
      ASSERT_TRUE(Wachstum ? WachstumSchreiben(R, Datei, 250) : AufbauSchreiben(R, Datei, 9, 40));
      TAnimation A;
      const std::vector<QImage> Bilder = Einzelbilder(Datei, &A);
      TLauf Rezept = RezeptAusText(A.Rezept);
      QImage Still = LeeresBild(Rezept.Breite, Rezept.Hoehe, Rezept.Einstellungen);
      {
        TBildLeinwand L(Still);
        LaufZeichnen(Rezept, L);
      }
      EXPECT_EQ(Still, Bilder.back()) << Mittig << Wachstum;
    }
}

// Frame i of the turtle's path shows its first ceil(i L / N) lines; the last
// is the whole drawing.
TEST_P(Animation, PathFramesShowTheFirstLines) {
  const TLauf R = Pflanze(GetParam());
  const uint64_t L = Linienzahl(R);
  ASSERT_EQ(L, 240u);
  for (const int N : {7, 240, 500}) {
    const std::string Datei = Pfad("aufbau.png");
    ASSERT_TRUE(AufbauSchreiben(R, Datei, N, 40));
    const std::vector<QImage> Bilder = Einzelbilder(Datei);
    ASSERT_EQ(Bilder.size(), static_cast<size_t>(N));
    for (int i = 1; i <= N; i += std::max(1, N / 9)) {
      const auto k = static_cast<uint64_t>(std::ceil(i * static_cast<double>(L) / N));
      EXPECT_EQ(Bilder[i - 1], Bis(R, k)) << N << " " << i;
    }
    EXPECT_EQ(Bilder.back(), Gezeichnet(R, R.Tiefe)) << N;
  }
}

INSTANTIATE_TEST_SUITE_P(ExaktUndZufall, Animation, testing::Bool());

// The head of the path is where the last line drawn ended, in its heading.
TEST_F(Aufbau, HeadAtTheEndOfTheLastLine) {
  TLauf R;
  R.Regeln = TRegelstand::AusText("F+F+F\r\n90\r\n90\r\n");
  R.WinkelPlus = R.WinkelMinus = 90;
  R.Tiefe = 0;
  R.Einstellungen.SchrittweiteAnpassen = false;
  R.Schrittweite = 10;
  R.StartX = 100;
  R.StartY = 100;
  R.Startwinkel = 0;
  TKopf Kopf;
  Bis(R, 2, &Kopf);
  ASSERT_TRUE(Kopf.Da);
  EXPECT_EQ(Kopf.Ort, QPointF(110, 90));
  EXPECT_DOUBLE_EQ(Kopf.Richtung, 90);
  Bis(R, 0, &Kopf);
  EXPECT_FALSE(Kopf.Da);
}

// A stopped export leaves the old file as it was.
TEST_F(Aufbau, StoppedExportLeavesTheOldFile) {
  const std::string Datei = Pfad("alt.png");
  DateiSchreiben(Datei, "alt", TFehlerform::MitName);
  TLauf R = Pflanze();
  R.Tiefe = 7;
  int Aufrufe = 0;
  EXPECT_FALSE(AufbauSchreiben(R, Datei, 20, 40, [&](double) { return ++Aufrufe < 2; }));
  EXPECT_EQ(Lesen(Datei), "alt");
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"alt.png"});
}

// Many frames on few lines: each frame written asks whether to go on, so a
// stop acts after that frame, also where all frames fall on the last line.
TEST_F(Aufbau, StopActsBetweenFramesOfOneLine) {
  TLauf R = Pflanze();
  R.Regeln = TRegelstand::AusText("F+F\r\n90\r\n90\r\n");
  R.Tiefe = 0;
  for (const int Halt : {1, 3, 150}) {
    int Aufrufe = 0;
    EXPECT_FALSE(AufbauSchreiben(R, Pfad("a.png"), 200, 40, [&](double) {
      return ++Aufrufe < Halt;
    })) << Halt;
    EXPECT_EQ(Aufrufe, Halt);
  }
}

}  // namespace
