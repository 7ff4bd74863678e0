#include "drawing/Wachstum.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressDialog>
#include <QSlider>
#include <QTimer>

#include "drawing/ZeichenfensterTest.h"
#include "pictures/ApngLesen_test.h"

namespace {

class WachstumTest : public FensterTest {
 protected:
  // The built-in system at depth 3, fitted, opened in the growth window.
  TWachstum* Oeffnen(bool Zufall = false) {
    R.RegelnHinzufuegen(StandardRegeln);
    F->RegelsystemUebergeben(R);
    F->TiefeSetzen(3);
    if (Zufall) Waehlen(F->RGZufallsModus, 1);
    F->WachstumOeffnen();
    W = F->Wachstum();
    EXPECT_TRUE(Warten());
    return W;
  }
  bool Warten() {
    return QTest::qWaitFor([this] { return W->Fertig(); }, 10000);
  }
  QImage Tiefe(int32_t t, double Schritt = 0) const {
    QImage B(F->zeichenflaeche->size(), QImage::Format_RGB32);
    B.fill(Qt::white);
    TBildLeinwand L(B);
    WachstumsbildZeichnen(F->LaufJetzt(), t, L, Schritt);
    L.Ausgeben();
    return B;
  }
  // Types into a field of the growth window and leaves it; the messages shown.
  QStringList Tippen(TEingabefeld* Feld, const QString& Text) {
    TAntworter A;
    Aktivieren(W);
    Feld->setFocus(Qt::TabFocusReason);
    Feld->setText(Text);
    W->BSpeichern->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
    return A.Meldungen;
  }
  TWachstum* W = nullptr;
};

// It opens paused on the axiom; steps, the slider and play go through the
// depths, each drawn as "Zeichnen" draws it (fitted, from the same seed).
TEST_F(WachstumTest, DepthsStepByStepAndPlayed) {
  Oeffnen(true);
  EXPECT_EQ(W->windowTitle(), "Wachstum");
  EXPECT_FALSE(W->Spielt());
  EXPECT_EQ(W->Stand(), 0);
  EXPECT_EQ(W->LStand->text(), "Tiefe 0 von 3");
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(0));
  QTest::mouseClick(W->BVor, Qt::LeftButton);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(1));
  W->SLStand->setValue(3);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(3));
  QTest::mouseClick(W->BZurueck, Qt::LeftButton);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->LStand->text(), "Tiefe 2 von 3");

  // Held, every depth has the deepest one's scale.
  QTest::mouseClick(W->CBFesthalten, Qt::LeftButton);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(2, AngepassteSchrittweite(F->LaufJetzt()).value()));

  // Played from the end, it starts over and stops at the last depth.
  EXPECT_TRUE(Tippen(W->EBildzeit, "10").isEmpty());
  QTest::mouseClick(W->BAbspielen, Qt::LeftButton);
  EXPECT_EQ(W->BAbspielen->text(), "Pause");
  EXPECT_TRUE(QTest::qWaitFor([this] { return !W->Spielt() && W->Fertig(); }, 10000));
  EXPECT_EQ(W->Stand(), 3);
}

// The path: lines one by one with the turtle at the head, "Linie k von L".
TEST_F(WachstumTest, PathLineByLine) {
  Oeffnen();
  Waehlen(W->RGArt, 1);
  ASSERT_TRUE(Warten());
  const int64_t L = W->Ende();
  EXPECT_EQ(W->LStand->text(), QStringLiteral("Linie 0 von %1").arg(L));
  for (int i = 0; i < 3; ++i) QTest::mouseClick(W->BVor, Qt::LeftButton);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->LStand->text(), QStringLiteral("Linie 3 von %1").arg(L));
  QImage Drei(F->zeichenflaeche->size(), QImage::Format_RGB32);
  Drei.fill(Qt::white);
  {
    TBildLeinwand Leinwand(Drei);
    AufbauZeichnen(F->LaufJetzt(), 3, Leinwand);
  }
  // The picture holds the three lines and, over them, the turtle's symbol.
  const QImage Gezeigt = W->Bildflaeche->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int Anders = 0;
  for (int y = 0; y < Drei.height(); ++y)
    for (int x = 0; x < Drei.width(); ++x) Anders += Gezeigt.pixel(x, y) != Drei.pixel(x, y);
  EXPECT_GT(Anders, 10);  // the symbol
  EXPECT_EQ(W->Bildflaeche->Bild(), Drei);
  EXPECT_TRUE(Tippen(W->ETempo, "100000").isEmpty());
  QTest::mouseClick(W->BAbspielen, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !W->Spielt() && W->Fertig(); }, 10000));
  EXPECT_EQ(W->Stand(), L);
}

// Both are saved as animated PNG, frame by frame as shown; the fields refuse
// what they cannot take.
TEST_F(WachstumTest, SavedAsAnimations) {
  Oeffnen();
  auto Gespeichert = [&](const char* Name) {
    return ::Gespeichert([&] { W->Speichern(Ordner.Datei(Name)); },
                         [&] { return W->SpeichernLaeuft(); });
  };
  ASSERT_EQ(Gespeichert("w.png"), "(kein Fehler)");
  const std::vector<QImage> Tiefen = Einzelbilder(Ordner.Datei("w.png").toStdString());
  ASSERT_EQ(Tiefen.size(), 4u);
  EXPECT_EQ(Tiefen[2], Tiefe(2));
  Waehlen(W->RGArt, 1);
  EXPECT_TRUE(Tippen(W->EBilder, "7").isEmpty());
  ASSERT_EQ(Gespeichert("a.png"), "(kein Fehler)");
  EXPECT_EQ(Einzelbilder(Ordner.Datei("a.png").toStdString()).size(), 7u);

  const struct {
    TEingabefeld* Feld;
    QString Eingabe, Meldung, Danach;
  } Faelle[] = {
      {W->EBilder, "0", "Bilder außerhalb des zulässigen Bereichs von 1 bis 10000", "7"},
      {W->EBildzeit, "9", "Bildzeit außerhalb des zulässigen Bereichs von 10 bis 60000", "500"},
      {W->EBildzeit, "60001", "Bildzeit außerhalb des zulässigen Bereichs von 10 bis 60000", "500"},
      {W->ETempo, "x", "Linien je Sekunde außerhalb des zulässigen Bereichs von 1 bis 1000000",
       "200"},
  };
  for (const auto& Fall : Faelle) {
    EXPECT_EQ(Tippen(Fall.Feld, Fall.Eingabe), QStringList{Fall.Meldung});
    EXPECT_EQ(Fall.Feld->text(), Fall.Danach);
  }
}

// A long export shows its progress box beside the windows; Escape there, as
// "Abbrechen", stops it, in growth and in path mode, also when the box is not
// the active window (Qt's own shortcut acts only while it is). What the
// windows do meanwhile is none of the export's business: it draws what was
// chosen when it started. The program's end stops it as well. Either way no
// file is left.
TEST_F(WachstumTest, ExportsWorkOnTheirCopyAndStop) {
  enum { Escape, Fremd, Ende, Wechsel };
  for (const int Fall : {Escape, Fremd, Wechsel, Ende}) {
    Regeln("F", {"F->F+F-F"});
    QFile::remove(Ordner.Datei("w.png"));
    // Deep enough that the export takes seconds even on a machine many times
    // faster than ours: one that ends before its box shows proves nothing.
    F->TiefeSetzen(Fall == Wechsel ? 12 : Fall == Fremd ? 9 : 16);
    F->WachstumOeffnen();
    W = F->Wachstum();
    ASSERT_TRUE(Warten());
    Waehlen(W->RGArt, Fall == Fremd ? 1 : 0);
    if (Fall == Fremd) EXPECT_TRUE(Tippen(W->EBilder, "10000").isEmpty());
    const TLauf Vorher = F->LaufJetzt();
    bool Eingegriffen = false;
    QObject Kontext;  // a tick still pending when the export ended dies with it
    std::function<void()> Eingreifen = [&] {
      auto* Box = W->findChild<QProgressDialog*>("Speicherfortschritt");
      if (Fall != Wechsel && (!Box || !Box->isVisible())) {
        QTimer::singleShot(50, &Kontext, Eingreifen);
        return;
      }
      if (Fall == Escape) {
        QTest::keyClick(Box, Qt::Key_Escape);
      } else if (Fall == Fremd) {
        QApplication::setActiveWindow(W);
        QKeyEvent Taste(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(Box, &Taste);
      } else if (Fall == Ende) {
        ZeichnungBeenden();
      } else if (W->SpeichernLaeuft()) {
        // Another rule system and depth, taken over by the window as the user would.
        Regeln("F", {"F->FF"});
        F->TiefeSetzen(1);
        F->WachstumOeffnen();
      } else {
        return;  // too late: the export is over
      }
      Eingegriffen = true;
    };
    QTimer::singleShot(50, &Kontext, Eingreifen);
    const QString Datei = Ordner.Datei("w.png");
    EXPECT_EQ(Gespeichert([&] { W->Speichern(Datei); }, [&] { return W->SpeichernLaeuft(); }),
              "(kein Fehler)")
        << Fall;
    EXPECT_TRUE(Eingegriffen) << Fall;
    if (Fall != Wechsel) {
      EXPECT_EQ(Ordner.Inhalt(), std::vector<std::string>()) << Fall;
      continue;
    }
    const std::vector<QImage> Bilder = Einzelbilder(Datei.toStdString());
    ASSERT_EQ(Bilder.size(), 13u);
    QImage Letztes = LeeresBild(Vorher.Breite, Vorher.Hoehe, Vorher.Einstellungen);
    {
      TBildLeinwand L(Letztes);
      WachstumsbildZeichnen(Vorher, 12, L);
    }
    EXPECT_EQ(Bilder.back(), Letztes);
    EXPECT_EQ(RezeptAusText(RezeptTextLesen(Datei.toStdString())).Regeln->Text(),
              Vorher.Regeln->Text());
  }
}

}  // namespace
