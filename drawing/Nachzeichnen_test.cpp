#include "drawing/Nachzeichnen.h"

#include "drawing/ZeichenfensterTest.h"
#include "gui/Dialoge.h"

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

// The built-in system at depth 4, random from seed 4711, live redraw on.
class ZufallspflanzeLive : public FensterTest {
 protected:
  void SetUp() override {
    FensterTest::SetUp();
    Standard();
    F->TiefeSetzen(4);
    Waehlen(F->RGZufallsModus, 1);
    Einstellungen.Saat = 4711;
    Waehlen(F->RGNachzeichnen, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return F->Nachzeichnen().Nachzeichnungen() == 1; }, 2000));
    Erstes = Bild();
  }
  QImage Erstes;
};

// A random plant keeps its shape: every redraw starts the generator from the
// state in force when live redraw was turned on, so an angle changed and
// changed back gives the first picture again.
TEST_F(ZufallspflanzeLive, RedrawsStartFromOneState) {
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
  LangerLauf("F->F+F", 0.5, 22);
  bool MittenImLauf = false;
  QTimer::singleShot(100, F, [&] {
    MittenImLauf = F->ZeichnungLaeuft();
    R.WinkelPlus = 10;
    F->RegelsystemGeaendert();
  });
  // A run that draws to its end brings the bar to 1000: only the second may.
  int Vollendet = 0;
  QObject::connect(F->PBFortschritt, &QProgressBar::valueChanged, F,
                   [&](int Wert) { Vollendet += Wert == 1000; });
  Waehlen(F->RGNachzeichnen, 1);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return F->Nachzeichnen().Nachzeichnungen() == 2 && !F->ZeichnungLaeuft(); }, 60000));
  EXPECT_TRUE(MittenImLauf);
  EXPECT_EQ(Vollendet, 1);
  const QImage Live = Bild();
  Waehlen(F->RGNachzeichnen, 0);
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), Live);
}

const QString Zuschwer = " zum sofortigen Nachzeichnen – „Zeichnen“ zeichnet es.";

// What would take much longer than a moment is left to "Zeichnen": many
// lines or characters that draw nothing where every one is walked (random
// mode), lines of a huge width. The note names the reason; the window stays
// idle; a light drawing redraws again.
TEST_F(FensterTest, LiveRedrawLeavesHeavyDrawingsToZeichnen) {
  const QString& Ende = Zuschwer;
  const struct {
    std::string Axiom, Regel;
    int Tiefe;
    double Dicke;
    QString Hinweis;
  } Faelle[] = {
      {"F", "F->FF", 24, 1, "Zu viele Linien" + Ende},
      {"f", "f->fff", 30, 1, "Zu viele Zeichen" + Ende},
      {"F", "F->FF", 13, 3e6, "Zu dicke Linien" + Ende},
  };
  Waehlen(F->RGSchrittweite, 0);
  Waehlen(F->RGNachzeichnen, 1);
  for (const auto& Fall : Faelle) {
    Regeln(Fall.Axiom, {Fall.Regel});
    Einstellungen.Anfangsdicke = Fall.Dicke;
    Einstellungen.Zufallsmodus = Fall.Dicke == 1;
    F->TiefeSetzen(Fall.Tiefe);
    const int Vorher = F->Nachzeichnen().Nachzeichnungen();
    // A redraw that started after all would run for ages: stopped, so that the test fails at once.
    QTimer::singleShot(1000, F, [&] {
      if (F->ZeichnungLaeuft()) F->BAbbrechen->click();
    });
    F->RegelsystemGeaendert();
    QTest::qWait(200);
    EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), Vorher) << Fall.Regel;
    EXPECT_FALSE(F->ZeichnungLaeuft());
    EXPECT_TRUE(F->LNachzeichnen->isVisible()) << Fall.Regel;
    EXPECT_EQ(F->LNachzeichnen->text(), Fall.Hinweis) << Fall.Regel;
    Eingeben(F->ETiefe, "5");
    QTest::qWait(200);
    EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), Vorher + 1) << Fall.Regel;
    EXPECT_FALSE(F->LNachzeichnen->isVisible()) << Fall.Regel;
    R.Delete(0);
  }
}

// An exact drawing jumps over what it cannot show: it is weighed by the work
// it really does. Deep, it is redrawn at once; past the limit it stops, and
// the note says why.
TEST_F(FensterTest, LiveRedrawWeighsExactDrawingsByTheirRealWork) {
  Waehlen(F->RGSchrittweite, 0);
  Waehlen(F->RGNachzeichnen, 1);
  Regeln("F", {"F->FF"});
  const auto Fertig = [&](int n) {
    return QTest::qWaitFor(
        [&] { return F->Nachzeichnen().Nachzeichnungen() == n && !F->ZeichnungLaeuft(); }, 5000);
  };
  for (const uint64_t Grenze : {TNachzeichner::Arbeitsgrenze, uint64_t{1}}) {
    const int Vorher = F->Nachzeichnen().Nachzeichnungen();
    F->Nachzeichnen().ArbeitsgrenzeSetzen(Grenze);
    F->TiefeSetzen(Vorher == 0 ? 24 : 25);
    F->RegelsystemGeaendert();
    ASSERT_TRUE(Fertig(Vorher + 1)) << Grenze;
    const bool Gestoppt = Grenze == 1;
    EXPECT_EQ(F->Maschine().Abgebrochen(), Gestoppt);
    EXPECT_EQ(F->LNachzeichnen->isVisible(), Gestoppt);
    if (Gestoppt) {
      EXPECT_EQ(F->LNachzeichnen->text(), "Zu viele Linien" + Zuschwer);
    }
  }
}

// A redraw never starts inside a modal dialog's loop, where it would hold up
// whoever opened the dialog; it waits until the dialog is closed.
TEST_F(FensterTest, RedrawWaitsForModalDialogs) {
  Standard();
  Waehlen(F->RGNachzeichnen, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return F->Nachzeichnen().Nachzeichnungen() == 1; }, 2000));
  int WaehrendDesDialogs = -1;
  R.WinkelPlus = 45;
  F->RegelsystemGeaendert();
  // Far beyond the moment a redraw waits for more changes.
  QTimer::singleShot(300, F, [&] {
    WaehrendDesDialogs = F->Nachzeichnen().Nachzeichnungen();
    QApplication::activeModalWidget()->close();
  });
  MeldungZeigen(QStringLiteral("Bitte warten"), F);
  EXPECT_EQ(WaehrendDesDialogs, 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return F->Nachzeichnen().Nachzeichnungen() == 2; }, 2000));
}

// An error of a live redraw shows in the note line, in the same words as the
// box of "Zeichnen", and no box takes the focus from the field the user types in.
TEST_F(FensterTest, RedrawErrorsGoToTheNoteLine) {
  Regeln("F]", {"F->FF"});
  F->TiefeSetzen(1);
  TAntworter A;
  Waehlen(F->RGNachzeichnen, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return F->Nachzeichnen().Nachzeichnungen() == 1; }, 2000));
  QTest::qWait(100);
  EXPECT_EQ(A.Meldungen, QStringList());
  EXPECT_TRUE(F->LNachzeichnen->isVisible());
  EXPECT_EQ(F->LNachzeichnen->text(), "Stapelfehler: Um mehr Positionen zurück als vorher gemerkt");
  // "Zeichnen" keeps its box.
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(A.Meldungen,
            QStringList({"Stapelfehler: Um mehr Positionen zurück als vorher gemerkt"}));
  // In step mode the note would stand over the string; it goes.
  Waehlen(F->RGSchrittModus, 1);
  EXPECT_FALSE(F->LNachzeichnen->isVisible());
}

// With live redraw on, the seed field shows the seed that every redraw starts
// from; a changed seed confirmed with "Ok" becomes theirs and redraws.
TEST_F(ZufallspflanzeLive, SeedOfTheRedrawsInTheExtraSettings) {
  QString Gezeigt;
  auto Saat = [&](const QString& Eingabe) {
    TAntworter A({SaatEingeben(Eingabe, Gezeigt), ExtrasKlicken(&TExtraEinstellungen::BOk)});
    QTest::mouseClick(F->BExtras, Qt::LeftButton);
    QTest::qWait(200);
  };
  Saat("4711");
  EXPECT_EQ(Gezeigt, "4711");
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 1);
  Saat("99");
  EXPECT_EQ(Gezeigt, "4711");
  EXPECT_EQ(Einstellungen.Saat, 99u);
  EXPECT_EQ(F->Nachzeichnen().Nachzeichnungen(), 2);
  EXPECT_NE(Bild(), Erstes);
  Saat("4711");
  EXPECT_EQ(Bild(), Erstes);
}

}  // namespace
