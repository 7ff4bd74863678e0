#include "drawing/Bildspeichern.h"

#include "drawing/ZeichenfensterTest.h"

namespace {

// Several runs on one surface, among them a random one, one stopped step by
// step and one cancelled at once: the SVG draws them again line for line, and
// the PNG is the surface with the recipe of the last run.
TEST_F(FensterTest, SavedPicturesHoldWhatTheSurfaceShows) {
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
  ASSERT_TRUE(F->Maschine().Abgebrochen());

  F->BildSpeichern(Ordner.Datei("bild.svg"));
  const std::string Svg = Lesen(Ordner.Pfad("bild.svg"));
  EXPECT_EQ(SvgNachgezeichnet(Svg, Anfang), Bild());
  EXPECT_GT(SvgLinien(Svg).size(), 150u);

  F->BildSpeichern(Ordner.Datei("bild.png"));
  const QImage Png(Ordner.Datei("bild.png"));
  EXPECT_EQ(Png.convertToFormat(QImage::Format_RGB32), Bild());
  const TLauf Rezept = RezeptAusText(Png.text("Rankenwerk-Rezept").toStdString());
  EXPECT_EQ(Rezept.Tiefe, 30);
  EXPECT_EQ(Rezept.Einstellungen.Anfangsdicke, 3.0);
}

// A run that changed while it drew, or that "Löschen" cut, cannot be drawn
// again: SVG is refused with the reason, PNG still works.
TEST_F(FensterTest, SvgRefusedWhenARunCannotBeRepeated) {
  LangerLauf("F->FF", 0.01, 30);
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
    const std::string Meldung = Fehlertext([&] { F->BildSpeichern(Ordner.Datei("nein.svg")); });
    EXPECT_EQ(QString::fromStdString(Meldung),
              "Als SVG lässt sich die Zeichnung nicht speichern: " + Fall.Grund +
                  ".\r\nAls PNG kann sie gespeichert werden.")
        << Fall.Eingriff;
    EXPECT_FALSE(QFile::exists(Ordner.Datei("nein.svg"))) << Fall.Eingriff;
    F->BildSpeichern(Ordner.Datei("ja.png"));
    EXPECT_EQ(QImage(Ordner.Datei("ja.png")).convertToFormat(QImage::Format_RGB32), Bild())
        << Fall.Eingriff;
  }
  // Cleared, the picture starts anew.
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  F->BildSpeichern(Ordner.Datei("leer.svg"));
  EXPECT_EQ(SvgNachgezeichnet(Lesen(Ordner.Pfad("leer.svg")), Anfang), Bild());
}

}  // namespace

namespace {

// While an SVG is written, the windows stay live: what the user does there
// counts, and the replay, reading copies of its own, neither loses it nor
// minds it. "Löschen" stops the save with a message, the program's end
// quietly; either way an older file of that name stays as it was, and no
// temporary one is left.
class SvgWaehrend : public FensterTest {
 protected:
  void SetUp() override {
    FensterTest::SetUp();
    LangerLauf("F->F+F", 0.05, 16);
    QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
    Datei = QString::fromStdString(Ordner.Schreiben("bild.svg", "alt"));
  }

  // Saves, with Eingriff done from the save's first look at the events.
  std::string Speichern(std::function<void()> Eingriff) {
    bool Waehrend = false;
    QTimer::singleShot(0, F, [&] {
      Waehrend = F->SvgWirdGeschrieben();
      Eingriff();
    });
    std::string Meldung = Fehlertext([&] { F->BildSpeichern(Datei); });
    EXPECT_TRUE(Waehrend);
    return Meldung;
  }

  QString Datei;
};

TEST_F(SvgWaehrend, ChoicesMadeMeanwhileStay) {
  EXPECT_EQ(Speichern([&] { Waehlen(F->RGZufallsModus, 1); }), "(kein Fehler)");
  EXPECT_TRUE(Einstellungen.Zufallsmodus);
  EXPECT_EQ(F->RGZufallsModus->ItemIndex(), 1);
  EXPECT_EQ(SvgLinien(Lesen(Datei.toStdString())).size(), 1u << 16);
}

TEST_F(SvgWaehrend, LoeschenStopsTheSaveWithAMessage) {
  EXPECT_EQ(Speichern([&] { QTest::mouseClick(F->BLoeschen, Qt::LeftButton); }),
            "Die Zeichnung wurde nicht als SVG gespeichert: „Löschen“ hat das Speichern "
            "abgebrochen.\r\nEine ältere Datei dieses Namens bleibt, wie sie war.");
  EXPECT_EQ(Lesen(Ordner.Pfad("bild.svg")), "alt");
  EXPECT_EQ(Ordner.Inhalt(), std::vector<std::string>{"bild.svg"});
}

TEST_F(SvgWaehrend, TheProgramsEndStopsTheSaveQuietly) {
  EXPECT_EQ(Speichern([&] { F->ZeichnungBeenden(); }), "(kein Fehler)");
  EXPECT_EQ(Lesen(Ordner.Pfad("bild.svg")), "alt");
  EXPECT_EQ(Ordner.Inhalt(), std::vector<std::string>{"bild.svg"});
}

// A name with another ending is no picture's name: refused with a message,
// and the dialog comes again; nothing is written under a name never confirmed.
TEST_F(FensterTest, PictureNameWithAnotherEndingIsRefused) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  auto Name = [&](const QString& Text) {
    return [this, Text](QWidget* W) {
      auto* D = qobject_cast<QFileDialog*>(W);
      if (!D) return false;
      if (Text.isEmpty()) {
        D->reject();
      } else {
        D->findChild<QLineEdit*>("fileNameEdit")->setText(Ordner.Datei(Text));
        static_cast<QDialog*>(D)->accept();
      }
      return true;
    };
  };
  TAntworter A({Name("x.jpg")});
  A.Anhaengen(A.BoxOk());
  A.Anhaengen(Name(""));
  QTest::mouseClick(F->BBildSpeichern, Qt::LeftButton);
  EXPECT_TRUE(A.Fertig());
  EXPECT_EQ(A.Meldungen, QStringList{"„x.jpg“ ist kein Name für ein Bild: Bilder werden als PNG "
                                     "(.png) oder SVG (.svg) gespeichert."});
  EXPECT_EQ(Ordner.Inhalt(), std::vector<std::string>());
}

}  // namespace
