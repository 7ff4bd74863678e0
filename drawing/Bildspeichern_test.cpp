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

namespace {

// While an SVG is written, the windows stay live: what the user does there
// counts, and the replay, reading copies of its own, neither loses it nor
// minds it. "Löschen" stops the save with a message, the program's end
// quietly; either way an older file of that name stays as it was.
class SvgWaehrend : public FensterTest {
 protected:
  void SetUp() override {
    FensterTest::SetUp();
    Regeln("F", {"F->F+F"});
    Waehlen(F->RGSchrittweite, 0);
    F->SchrittweiteSetzen(0.05);
    F->TiefeSetzen(16);
    QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
    Datei = Ordner.filePath("bild.svg");
    QFile Alt(Datei);
    ASSERT_TRUE(Alt.open(QIODevice::WriteOnly));
    Alt.write("alt");
  }

  // Saves, with Eingriff done from the save's first look at the events.
  std::string Speichern(std::function<void()> Eingriff) {
    bool Waehrend = false;
    QTimer::singleShot(0, F, [&] {
      Waehrend = F->SvgWirdGeschrieben();
      Eingriff();
    });
    std::string Meldung;
    try {
      F->BildSpeichern(Datei);
    } catch (const std::exception& E) {
      Meldung = E.what();
    }
    EXPECT_TRUE(Waehrend);
    return Meldung;
  }

  QByteArray Inhalt() const {
    QFile D(Datei);
    return D.open(QIODevice::ReadOnly) ? D.readAll() : QByteArray();
  }
  // Nothing but the picture and the old file: no temporary one was left.
  QStringList Dateien() const { return QDir(Ordner.path()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir Ordner;
  QString Datei;
};

TEST_F(SvgWaehrend, ChoicesMadeMeanwhileStay) {
  EXPECT_EQ(Speichern([&] { Waehlen(F->RGZufallsModus, 1); }), "");
  EXPECT_TRUE(Einstellungen.Zufallsmodus);
  EXPECT_EQ(F->RGZufallsModus->ItemIndex(), 1);
  int Linien = 0;
  SvgNachgezeichnet(Datei, Anfang, &Linien);
  EXPECT_EQ(Linien, 1 << 16);
}

TEST_F(SvgWaehrend, LoeschenStopsTheSaveWithAMessage) {
  EXPECT_EQ(Speichern([&] { QTest::mouseClick(F->BLoeschen, Qt::LeftButton); }),
            "Die Zeichnung wurde nicht als SVG gespeichert: „Löschen“ hat das Speichern "
            "abgebrochen.\r\nEine ältere Datei dieses Namens bleibt, wie sie war.");
  EXPECT_EQ(Inhalt(), "alt");
  EXPECT_EQ(Dateien(), QStringList{"bild.svg"});
}

TEST_F(SvgWaehrend, TheProgramsEndStopsTheSaveQuietly) {
  EXPECT_EQ(Speichern([&] { F->ZeichnungBeenden(); }), "");
  EXPECT_EQ(Inhalt(), "alt");
  EXPECT_EQ(Dateien(), QStringList{"bild.svg"});
}

// A name with another ending is no picture's name: refused with a message,
// and the dialog comes again; nothing is written under a name never confirmed.
TEST_F(FensterTest, PictureNameWithAnotherEndingIsRefused) {
  const QTemporaryDir Ordner;
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  auto Name = [&](const QString& Text) {
    return [Text, &Ordner](QWidget* W) {
      auto* D = qobject_cast<QFileDialog*>(W);
      if (!D) return false;
      if (Text.isEmpty()) {
        D->reject();
      } else {
        D->findChild<QLineEdit*>("fileNameEdit")->setText(Ordner.filePath(Text));
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
  EXPECT_EQ(QDir(Ordner.path()).entryList(QDir::Files), QStringList());
}

}  // namespace
