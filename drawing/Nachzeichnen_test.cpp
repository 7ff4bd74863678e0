#include "drawing/Nachzeichnen.h"

#include "drawing/ZeichenfensterTest.h"

namespace {

// Live redraw: off by default; on, an accepted change clears and draws again
// once, a burst of changes draws once, and the picture is what "Zeichnen"
// draws on a cleared surface.
TEST_F(FensterTest, LiveRedrawAfterAcceptedChanges) {
  Standard();
  F->TiefeSetzen(3);
  auto Warten = [] { QTest::qWait(200); };
  R.WinkelPlus = 45;
  F->RegelsystemGeaendert();
  Warten();
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 0);
  EXPECT_EQ(Bild(), Anfang);

  Waehlen(F->RGNachzeichnen, 1);
  Warten();
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 1);
  R.WinkelPlus = 50;
  F->RegelsystemGeaendert();
  Eingeben(F->EWinkel, "80");
  R.WinkelMinus = 20;
  F->RegelsystemGeaendert();
  Warten();
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 2);
  const QImage Live = Bild();
  EXPECT_NE(Live, Anfang);

  Waehlen(F->RGNachzeichnen, 0);
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), Live);

  // Step by step never redraws by itself.
  Waehlen(F->RGNachzeichnen, 1);
  Warten();
  Waehlen(F->RGSchrittModus, 1);
  const int Bisher = F->Nachzeichnen().Nachzeichnungen();
  F->RegelsystemGeaendert();
  Warten();
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), Bisher);
}

// A random plant keeps its shape: every redraw starts the generator from the
// state in force when live redraw was turned on, so an angle changed and
// changed back gives the first picture again.
TEST_F(FensterTest, LiveRedrawStartsRandomPlantsFromOneState) {
  Standard();
  F->TiefeSetzen(4);
  Waehlen(F->RGZufallsModus, 1);
  Einstellungen.Saat = 4711;
  Waehlen(F->RGNachzeichnen, 1);
  QTest::qWait(200);
  const QImage Erstes = Bild();
  for (double Winkel : {40.0, 30.0}) {
    R.WinkelPlus = Winkel;
    F->RegelsystemGeaendert();
    QTest::qWait(200);
    if (Winkel == 40.0) {
      EXPECT_NE(Bild(), Erstes);
    }
  }
  EXPECT_EQ(Bild(), Erstes);
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 3);
}

// A change while a redraw draws stops it; the redraw that follows shows the
// change, as "Zeichnen" on a cleared surface would.
TEST_F(FensterTest, ChangeDuringARedrawStartsOver) {
  Regeln("F", {"F->F+F"});
  Waehlen(F->RGSchrittweite, 0);
  F->SchrittweiteSetzen(0.5);
  F->TiefeSetzen(22);
  bool MittenImLauf = false;
  QTimer::singleShot(100, F, [&] {
    MittenImLauf = F->ZeichnungLaeuft();
    R.WinkelPlus = 10;
    F->RegelsystemGeaendert();
  });
  Waehlen(F->RGNachzeichnen, 1);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return F->Nachzeichnen().Nachzeichnungen() == 2 && !F->ZeichnungLaeuft(); }, 60000));
  EXPECT_TRUE(MittenImLauf);
  const QImage Live = Bild();
  Waehlen(F->RGNachzeichnen, 0);
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), Live);
}

// Beyond about five million lines no redraw starts; a note says why.
TEST_F(FensterTest, LiveRedrawLeavesHugeDrawingsToZeichnen) {
  Regeln("F", {"F->FF"});
  F->TiefeSetzen(24);
  Waehlen(F->RGNachzeichnen, 1);
  QTest::qWait(200);
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 0);
  EXPECT_EQ(Bild(), Anfang);
  EXPECT_TRUE(F->LNachzeichnen->isVisible());
  Eingeben(F->ETiefe, "10");
  QTest::qWait(200);
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 1);
  EXPECT_FALSE(F->LNachzeichnen->isVisible());
}

}  // namespace
