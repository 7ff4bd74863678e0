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
  EXPECT_EQ(W->Stand(), 0u);
  EXPECT_EQ(W->LStand->text(), "Tiefe 0 von 3");
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(0));
  QTest::mouseClick(W->BVor, Qt::LeftButton);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(1));
  W->SLStand->setValue(3);
  ASSERT_TRUE(Warten());
  EXPECT_EQ(W->Bildflaeche->Bild(), Tiefe(3));
  // The tests' screen is narrower than the window would like: it opens on it,
  // every control in sight also at its smallest, and shows the frames whole.
  EXPECT_TRUE(W->screen()->availableGeometry().contains(W->frameGeometry()));
  EXPECT_LT(W->width(), W->sizeHint().width());
  const QRect Linien = Umfang(Tiefe(3), Gruen);
  for (const QSize Groesse : {W->size(), W->minimumSize()}) {
    W->resize(Groesse);
    EXPECT_EQ(NichtZuSehen(W, W->Bildflaeche), QStringList());
    const QImage Gezeigt = W->Bildflaeche->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double f = std::min(Gezeigt.width() / 1000.0, Gezeigt.height() / 680.0);
    const QRect Gefunden = Umfang(Gezeigt, qRgb(255, 255, 255), false);
    EXPECT_LE((Gefunden.topLeft() - Linien.topLeft() * f).manhattanLength() +
                  (Gefunden.bottomRight() - Linien.bottomRight() * f).manhattanLength(),
              4);
  }
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
  EXPECT_EQ(W->Stand(), 3u);
}

// The path: lines one by one with the turtle at the head, "Linie k von L".
TEST_F(WachstumTest, PathLineByLine) {
  Oeffnen();
  W->resize(W->sizeHint());  // the frames unscaled
  Waehlen(W->RGArt, 1);
  ASSERT_TRUE(Warten());
  const uint64_t L = W->Ende();
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

// The path's slider: position p of S shows line ceil(p * L / S) for any
// count, beyond 2^63 and saturated too; each key and step shows another line,
// and a step puts the slider at floor(k * S / L).
TEST_F(WachstumTest, PathSliderReachesItsLinesForAnyCount) {
  const struct {
    const char *Axiom, *Regeln;
    int32_t Tiefe;
    uint64_t L;
    int p;
    uint64_t Dort, Danach;  // the lines at p and p + 1
    int Zurueck;            // the slider a line before
  } Faelle[] = {
      {"F", "F->FF", 9, 512, 100, 100, 101, 99},  // fewer lines than the slider's 1000 steps
      {"X", "X->F+[[X]-X]-F[-X]+X F->FF", 6, 4032, 100, 404, 408, 99},
      {"F+F+F+F", "F->F+F-F-FF+F+F-F", 18, 1ull << 56, 500, 1ull << 55, 36100854613001896, 499},
      {"F", "F->FFFFFFFF", 21, 1ull << 63, 999, 9214148664817921033u, 1ull << 63, 998},
      // Too many lines for 64 bits: the count stops at the largest.
      {"F", "F->FFFFFFFFFFFFFFFF", 16, UINT64_MAX, 10, 184467440737095517, 202914184810805068, 9},
  };
  for (const auto& Fall : Faelle) {
    while (R.Count() > 0) R.Delete(0);
    std::vector<std::string> Zeilen;
    for (const QString& Z : QString(Fall.Regeln).split(' ')) Zeilen.push_back(Z.toStdString());
    Regeln(Fall.Axiom, Zeilen);
    Waehlen(F->RGSchrittweite, 0);  // no measuring walk
    F->TiefeSetzen(Fall.Tiefe);
    F->WachstumOeffnen();
    W = F->Wachstum();
    Waehlen(W->RGArt, 1);
    EXPECT_EQ(W->LStand->text(), QStringLiteral("Linie 0 von %1").arg(Fall.L));
    auto Linie = [&] { return W->LStand->text().section(' ', 1, 1).toULongLong(); };
    W->SLStand->setValue(Fall.p);
    QTest::mouseClick(W->BZurueck, Qt::LeftButton);
    EXPECT_EQ(W->SLStand->value(), Fall.Zurueck) << Fall.Regeln;
    std::vector<uint64_t> Linien{Linie()};
    QTest::mouseClick(W->BVor, Qt::LeftButton);
    EXPECT_EQ(W->SLStand->value(), Fall.p) << Fall.Regeln;
    for (const Qt::Key T : {Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_PageUp,
                            Qt::Key_End, Qt::Key_Home}) {
      Linien.push_back(Linie());
      QTest::keyClick(W->SLStand, T);
    }
    Linien.push_back(Linie());
    EXPECT_NE(Linien[4], Fall.Dort) << Fall.Regeln;  // ten steps down
    EXPECT_EQ(Linien, (std::vector<uint64_t>{Fall.Dort - 1, Fall.Dort, Fall.Danach, Fall.Dort,
                                             Linien[4], Fall.Dort, Fall.L, 0}))
        << Fall.Regeln;
  }
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
    // Random factors are drawn one by one: no part is jumped over.
    Waehlen(F->RGZufallsModus, Fall == Escape || Fall == Ende ? 1 : 0);
    F->WachstumOeffnen();
    W = F->Wachstum();
    ASSERT_TRUE(Warten());
    Waehlen(W->RGArt, Fall == Fremd ? 1 : 0);
    if (Fall == Fremd) {
      EXPECT_TRUE(Tippen(W->EBilder, "10000").isEmpty());
    }
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
