#include "drawing/Bildspeichern.h"

#include "drawing/ZeichenfensterTest.h"

namespace {

// Several runs on one surface, among them a random one, one stopped step by
// step and one cancelled at once: the SVG draws them again line for line, and
// the PNG is the surface with the recipe of the last run.
TEST_F(FensterTest, SavedPicturesHoldWhatTheSurfaceShows) {
  const QTemporaryDir Ordner;
  Standard();
  F->TiefeSetzen(4);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  Waehlen(F->RGZufallsModus, 1);
  F->StartwinkelSetzen(60);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  Waehlen(F->RGSchrittModus, 1);
  F->StartwinkelSetzen(120);
  {
    TProtokoll P;
    TAntworter A;
    for (int i = 0; i < 7; ++i) A.Anhaengen(Antwort(P, 1));
    A.Anhaengen(Antwort(P, 3));
    QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
    EXPECT_TRUE(A.Fertig());
  }
  Waehlen(F->RGSchrittModus, 0);
  Waehlen(F->RGZufallsModus, 0);
  F->StartwinkelSetzen(0);
  F->TiefeSetzen(30);
  Einstellungen.Anfangsdicke = 3;
  QTimer::singleShot(30, F, [&] { QTest::mouseClick(F->BAbbrechen, Qt::LeftButton); });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  ASSERT_TRUE(F->Maschine().Abbruch);

  F->BildSpeichern(Ordner.filePath("bild.svg"));
  int Linien = 0;
  EXPECT_EQ(SvgNachgezeichnet(Ordner.filePath("bild.svg"), Anfang, &Linien), Bild());
  EXPECT_GT(Linien, 150);

  F->BildSpeichern(Ordner.filePath("bild.png"));
  const QImage Png(Ordner.filePath("bild.png"));
  EXPECT_EQ(Png.convertToFormat(QImage::Format_RGB32), Bild());
  const TRezept Rezept = RezeptAusText(Png.text("Rankenwerk-Rezept").toStdString());
  EXPECT_EQ(Rezept.Tiefe, 30);
  EXPECT_EQ(Rezept.Anfangsdicke, 3.0);
}

// A run that changed while it drew, or that "Löschen" cut, cannot be drawn
// again: SVG is refused with the reason, PNG still works.
TEST_F(FensterTest, SvgRefusedWhenARunCannotBeRepeated) {
  const QTemporaryDir Ordner;
  Regeln("F", {"F->FF"});
  Waehlen(F->RGSchrittweite, 0);
  F->SchrittweiteSetzen(0.01);
  F->TiefeSetzen(30);
  const struct {
    const char* Eingriff;
    std::function<void()> Tun;
    QString Grund;
  } Faelle[] = {
      {"Zufall", [&] { Waehlen(F->RGZufallsModus, 1); },
       "während eines Laufs wurden Einstellungen geändert"},
      {"Regel", [&] { R.RegelHinzufuegen("G->F"); },
       "während eines Laufs wurden die Regeln geändert"},
      {"Löschen", [&] { QTest::mouseClick(F->BLoeschen, Qt::LeftButton); },
       "„Löschen“ hat einen Lauf unterbrochen"},
  };
  for (const auto& Fall : Faelle) {
    QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
    QTimer::singleShot(20, F, [&] {
      Fall.Tun();
      QTimer::singleShot(20, F, [&] { QTest::mouseClick(F->BAbbrechen, Qt::LeftButton); });
    });
    QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
    Waehlen(F->RGZufallsModus, 0);
    std::string Meldung;
    try {
      F->BildSpeichern(Ordner.filePath("nein.svg"));
    } catch (const std::exception& E) {
      Meldung = E.what();
    }
    EXPECT_EQ(QString::fromStdString(Meldung),
              "Als SVG lässt sich die Zeichnung nicht speichern: " + Fall.Grund +
                  ".\r\nAls PNG kann sie gespeichert werden.")
        << Fall.Eingriff;
    EXPECT_FALSE(QFile::exists(Ordner.filePath("nein.svg"))) << Fall.Eingriff;
    F->BildSpeichern(Ordner.filePath("ja.png"));
    EXPECT_EQ(QImage(Ordner.filePath("ja.png")).convertToFormat(QImage::Format_RGB32), Bild())
        << Fall.Eingriff;
  }
  // Cleared, the picture starts anew.
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  F->BildSpeichern(Ordner.filePath("leer.svg"));
  EXPECT_EQ(SvgNachgezeichnet(Ordner.filePath("leer.svg"), Anfang), Bild());
}

}  // namespace
