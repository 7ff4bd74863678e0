#include "drawing/Bildspeichern.h"

#include "drawing/ZeichenfensterTest.h"
#include "engine/Laufprotokoll.h"

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
  // Walked character by character, as far as the SVG walks it again.
  const_cast<TZeichenmaschine&>(F->Maschine()).JedesZeichen(true);
  QTimer::singleShot(30, F, [&] { QTest::mouseClick(F->BAbbrechen, Qt::LeftButton); });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  ASSERT_TRUE(F->Maschine().Abgebrochen());

  EXPECT_EQ(BildGespeichert("bild.svg"), "(kein Fehler)");
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
      // Read once the fitting has let messages in: changed back, it counts all the same.
      {"Farbe hin und zurück",
       [&] {
         Einstellungen.Zeichenfarbe = 0x0000FF;
         QTimer::singleShot(5, F,
                            [] { Einstellungen.Zeichenfarbe = TEinstellungen().Zeichenfarbe; });
       },
       "während eines Laufs wurden Einstellungen geändert"},
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
    const std::string Meldung = BildGespeichert("nein.svg");
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
  EXPECT_EQ(BildGespeichert("leer.svg"), "(kein Fehler)");
  EXPECT_EQ(SvgNachgezeichnet(Lesen(Ordner.Pfad("leer.svg")), Anfang), Bild());
}

}  // namespace

namespace {

// While an SVG is written, the windows stay live, also the one it is saved
// from: clicks reach them as the window system delivers them. What the user
// does there counts, and the writing, reading copies of its own, neither loses
// it nor minds it. "Löschen" stops the save with a message, the program's end
// quietly; either way an older file of that name stays as it was, and no
// temporary one is left.
class SvgWaehrend : public FensterTest {
 protected:
  void SetUp() override {
    FensterTest::SetUp();
    // One line and 27^6 characters that draw nothing: a save that takes a
    // while, however fast the machine, of a small file. The random choice of
    // rules walks each of them, where jumps would pass over them at once.
    LangerLauf("F->F", 1, 6);
    Regeln("FA", {"A->" + std::string(27, 'A')});
    Einstellungen.Regelwahl = TRegelwahl::Zufaellig;
    QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
    Datei = QString::fromStdString(Ordner.Schreiben("bild.svg", "alt"));
  }

  // Saves, with Eingriff done while it writes, once its box is up.
  std::string Speichern(std::function<void()> Eingriff) {
    bool Waehrend = false;
    QObject Kontext;
    std::function<void()> Warten = [&] {
      auto* Box = F->findChild<QWidget*>("Speicherfortschritt");
      if (F->SpeichernLaeuft() && (!Box || !Box->isVisible())) {
        QTimer::singleShot(20, &Kontext, Warten);
        return;
      }
      Waehrend = F->SpeichernLaeuft();
      Eingriff();
    };
    QTimer::singleShot(0, &Kontext, Warten);
    const std::string Meldung =
        Gespeichert([&] { F->BildSpeichern(Datei); }, [&] { return F->SpeichernLaeuft(); });
    EXPECT_TRUE(Waehrend);
    return Meldung;
  }

  QString Datei;
};

TEST_F(SvgWaehrend, ChoicesMadeMeanwhileStay) {
  EXPECT_EQ(Speichern([&] { FensterKlick(F->RGZufallsModus->Items[1]); }), "(kein Fehler)");
  EXPECT_TRUE(Einstellungen.Zufallsmodus);
  EXPECT_EQ(F->RGZufallsModus->ItemIndex(), 1);
  EXPECT_EQ(SvgLinien(Lesen(Datei.toStdString())).size(), 1u);
}

TEST_F(SvgWaehrend, LoeschenStopsTheSaveWithAMessage) {
  EXPECT_EQ(Speichern([&] { FensterKlick(F->BLoeschen); }),
            "Die Zeichnung wurde nicht als SVG gespeichert: „Löschen“ hat das Speichern "
            "abgebrochen.\r\nEine ältere Datei dieses Namens bleibt, wie sie war.");
  EXPECT_EQ(Lesen(Ordner.Pfad("bild.svg")), "alt");
  EXPECT_EQ(Ordner.Inhalt(), std::vector<std::string>{"bild.svg"});
}

TEST_F(SvgWaehrend, TheProgramsEndStopsTheSaveQuietly) {
  EXPECT_EQ(Speichern([&] { ZeichnungBeenden(); }), "(kein Fehler)");
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

namespace {

// A view of a log too full to be drawn again would be blank: it is refused
// with the reason, and nothing is written.
TEST_F(FensterTest, ViewOfAnOverfullLogIsRefused) {
  TLaufprotokoll P;
  for (size_t i = 0; i <= TLaufprotokoll::MaxLaeufe; ++i) {
    P.Beginnen(F->LaufJetzt());
    P.Beenden(0, 10);
  }
  QImage Flaeche(1000, 680, QImage::Format_RGB32);
  TBildspeicher S(
      F, [&]() -> const QImage& { return Flaeche; }, P);
  S.Ansicht = [] { return std::optional<TAnsicht>(TAnsicht{0, 0, 2}); };
  EXPECT_EQ(Fehlertext([&] { S.Speichern(Ordner.Datei("blank.png")); }),
            "Als PNG lässt sich die Ansicht nicht speichern: seit dem letzten „Löschen“ wurden "
            "zu viele Läufe gezeichnet, um sie festzuhalten.");
  EXPECT_FALSE(S.SpeichernLaeuft());
  EXPECT_EQ(Ordner.Inhalt(), std::vector<std::string>());
}

}  // namespace
