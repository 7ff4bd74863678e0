#include "drawing/Lupe.h"

#include <QLabel>
#include <QMessageBox>
#include <QWheelEvent>

#include "drawing/ZeichenfensterTest.h"
#include "gui/Dialoge.h"
#include "pictures/Bilddatei.h"

namespace {

class LupeTest : public FensterTest {
 protected:
  // The magnifier once it has drawn its view whole.
  TLupe* Fertig() {
    TLupe* L = F->Lupe();
    EXPECT_NE(L, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([L] { return L->Fertig(); }, 20000));
    return L;
  }
  // The magnifier does not show the start marker: it goes before lines are drawn over it.
  void MarkeWeg() { F->StartMarkeZeichnen(); }
  void Rad(QWidget* W, QPointF Ort, int Winkel) {
    QWheelEvent E(Ort, W->mapToGlobal(Ort), {}, {0, Winkel}, Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(W, &E);
  }
};

// At scale 1 the whole surface is the surface, in a view of any size: on the
// tests' screen, narrower than it would like, it opens with every control in
// sight, also at its smallest, and the view takes the rest; a copy keeps the
// surface's size. The magnifier follows a new run and "Löschen".
TEST_F(LupeTest, WholeSurfaceEqualsTheSurfaceAndFollowsIt) {
  Standard();
  F->TiefeSetzen(4);
  MarkeWeg();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  F->LupeOeffnen(TAnsicht{0, 0, 1});
  TLupe* L = Fertig();
  EXPECT_TRUE(L->screen()->availableGeometry().contains(L->frameGeometry()));
  EXPECT_LT(L->width(), L->sizeHint().width());
  for (const QSize Groesse : {L->size(), L->minimumSize(), QSize(1200, 900), L->sizeHint()}) {
    L->resize(Groesse);
    const QImage Ansicht = Fertig()->Ansichtsflaeche->Bild();
    const QSize V = L->Ansichtsflaeche->size();
    const QRect Beide(QPoint(), V.boundedTo(Bild().size()));  // beyond, what the surface cuts off
    EXPECT_EQ(NichtZuSehen(L, L->Ansichtsflaeche), QStringList());
    EXPECT_TRUE(L->LMassstab->text().endsWith(
        QStringLiteral("bis %1.0, y 0.0 bis %2.0").arg(V.width()).arg(V.height())));
    EXPECT_EQ(Ansicht.size(), V);
    EXPECT_EQ(Ansicht.copy(Beide), Bild().copy(Beide)) << Groesse.width();
    EXPECT_EQ(Gespeichert([&] { L->BZwischenablageClick(); }, [&] { return L->SpeichernLaeuft(); }),
              "(kein Fehler)");
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), Bild());
  }
  EXPECT_EQ(F->Lupe()->windowTitle(), "Lupe");
  F->StartwinkelSetzen(30);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Fertig()->Ansichtsflaeche->Bild(), Bild());
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  MarkeWeg();
  EXPECT_EQ(Fertig()->Ansichtsflaeche->Bild(), Bild());
}

// The wheel over the surface opens it zoomed about that point; in it the wheel
// zooms about the pointer, dragging pans, and + - 0 and the arrows do the same.
TEST_F(LupeTest, WheelDragAndKeysMoveTheView) {
  Standard();
  Rad(F->zeichenflaeche, QPointF(200, 100), 120);
  TLupe* L = F->Lupe();
  ASSERT_NE(L, nullptr);
  EXPECT_TRUE(L->isVisible());
  EXPECT_DOUBLE_EQ(L->Ansicht().Massstab, 1.5);
  // The point as far into the view as into the surface: the view is smaller.
  const QSize V = L->Ansichtsflaeche->size();
  EXPECT_NEAR((200 - L->Ansicht().X) * 1.5, 200.0 * V.width() / 1000, 1e-9);
  EXPECT_NEAR((100 - L->Ansicht().Y) * 1.5, 100.0 * V.height() / 680, 1e-9);

  auto Punkt = [L](QPointF Ort) {
    const TAnsicht& A = L->Ansicht();
    return QPointF(A.X + Ort.x() / A.Massstab, A.Y + Ort.y() / A.Massstab);
  };
  const QPointF Zeiger(300, 250), Vorher = Punkt(Zeiger);
  Rad(L->Ansichtsflaeche, Zeiger, 240);
  EXPECT_DOUBLE_EQ(L->Ansicht().Massstab, 1.5 * 1.5 * 1.5);
  EXPECT_NEAR(Punkt(Zeiger).x(), Vorher.x(), 1e-9);
  EXPECT_NEAR(Punkt(Zeiger).y(), Vorher.y(), 1e-9);

  const TAnsicht A = L->Ansicht();
  QTest::mousePress(L->Ansichtsflaeche, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(L->Ansichtsflaeche, QPoint(130, 90));
  QTest::mouseRelease(L->Ansichtsflaeche, Qt::LeftButton, {}, QPoint(130, 90));
  EXPECT_NEAR(L->Ansicht().X, A.X - 30 / A.Massstab, 1e-9);
  EXPECT_NEAR(L->Ansicht().Y, A.Y + 10 / A.Massstab, 1e-9);

  L->activateWindow();
  const TAnsicht B = L->Ansicht();
  QTest::keyClick(L, Qt::Key_Right);
  EXPECT_NEAR(L->Ansicht().X, B.X + V.width() / 10.0 / B.Massstab, 1e-9);
  QTest::keyClick(L, Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(L->Ansicht().Massstab, B.Massstab * 2);
  QTest::keyClick(L, Qt::Key_Minus);
  QTest::keyClick(L, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(L->Ansicht().Massstab, B.Massstab / 2);
  QTest::keyClick(L, Qt::Key_0);
  EXPECT_EQ(L->Ansicht().X, 0.0);
  EXPECT_EQ(L->Ansicht().Massstab, 1.0);
  // The scale stays within 1/4 and 1,000,000.
  for (int i = 0; i < 10; ++i) QTest::keyClick(L, Qt::Key_Minus);
  EXPECT_EQ(L->Ansicht().Massstab, 0.25);
  L->AnsichtSetzen({0, 0, 1e9});
  EXPECT_EQ(L->Ansicht().Massstab, 1e6);
  EXPECT_TRUE(L->LMassstab->text().startsWith("Maßstab 1000000 : 1"))
      << L->LMassstab->text().toStdString();
}

// A run that cannot be drawn again exactly is left out, with a note saying so.
TEST_F(LupeTest, UnrepeatableRunIsLeftOutWithANote) {
  Standard();
  F->TiefeSetzen(4);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  F->TiefeSetzen(30);
  Waehlen(F->RGSchrittweite, 0);
  F->SchrittweiteSetzen(0.001);
  // Walked character by character: jumps would end it before the change.
  Einstellungen.Regelwahl = TRegelwahl::Zufaellig;
  QTimer::singleShot(20, F, [&] {
    Waehlen(F->RGZufallsModus, 1);
    QTimer::singleShot(20, F, [&] { QTest::mouseClick(F->BAbbrechen, Qt::LeftButton); });
  });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  F->LupeOeffnen(TAnsicht{0, 0, 1});
  TLupe* L = Fertig();
  EXPECT_EQ(L->LHinweis->text(),
            "Ein Lauf lässt sich nicht genau wiederholen und fehlt hier: während eines Laufs "
            "wurden Einstellungen geändert");
  // The first run is there.
  EXPECT_TRUE(Umfang(L->Ansichtsflaeche->Bild(), Gruen).isValid());
}

// Like live redraw, the magnifier does not draw while a modal dialog is open;
// it waits until the dialog is closed.
TEST_F(LupeTest, WaitsForModalDialogs) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  F->LupeOeffnen(TAnsicht{0, 0, 1});
  TLupe* L = Fertig();
  bool FertigImDialog = true;
  QTimer::singleShot(0, F, [&] { L->AnsichtSetzen({10, 10, 2}); });
  QTimer::singleShot(300, F, [&] {
    FertigImDialog = L->Fertig();
    QApplication::activeModalWidget()->close();
  });
  MeldungZeigen(QStringLiteral("Bitte warten"), F);
  EXPECT_FALSE(FertigImDialog);
  EXPECT_TRUE(QTest::qWaitFor([L] { return L->Fertig(); }, 5000));
}

// Escape stops a slow view; the picture so far stays, and a note says so.
TEST_F(LupeTest, EscapeStopsASlowView) {
  LangerLauf("F->F+F", 0.001, 22);
  Waehlen(F->RGZufallsModus, 1);  // random: every part is walked
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  F->LupeOeffnen(TAnsicht{400, 600, 1000});
  TLupe* L = F->Lupe();
  QTest::qWait(100);
  L->activateWindow();
  QTest::keyClick(L, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor(
      [L] { return L->LHinweis->text().startsWith("Angehalten: die Ansicht ist unvollständig"); },
      5000));
  EXPECT_FALSE(L->Fertig());
}

// The view saved as PNG and as SVG carries the recipe with the view: drawn
// from it again, it is the same picture; loaded, it opens the magnifier on it.
TEST_F(LupeTest, SavedViewCarriesItsRecipe) {
  Standard();
  F->TiefeSetzen(5);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  const TAnsicht A{450, 580, 4};
  F->LupeOeffnen(A);
  F->Lupe()->resize(F->Lupe()->sizeHint());  // a view of the surface's size
  TLupe* L = Fertig();
  for (const char* Name : {"lupe.png", "lupe.svg"})
    EXPECT_EQ(Gespeichert([&] { L->BildSpeichern(Ordner.Datei(Name)); },
                          [&] { return L->SpeichernLaeuft(); }),
              "(kein Fehler)");
  const QImage Png(Ordner.Datei("lupe.png"));
  EXPECT_EQ(Png.convertToFormat(QImage::Format_RGB32), L->Ansichtsflaeche->Bild());
  for (const char* Datei : {"lupe.png", "lupe.svg"}) {
    TLauf R = RezeptAusText(RezeptTextLesen(Ordner.Datei(Datei).toStdString()));
    ASSERT_TRUE(R.Ausschnitt) << Datei;
    EXPECT_EQ(*R.Ausschnitt, (TRechteck{450, 580, 250, 170})) << Datei;
    QImage Wieder(1000, 680, QImage::Format_RGB32);
    Wieder.fill(Qt::white);
    {
      TBildLeinwand Leinwand(Wieder);
      LaufZeichnen(R, Leinwand);
      Leinwand.Ausgeben();
    }
    EXPECT_EQ(Wieder, L->Ansichtsflaeche->Bild()) << Datei;
  }
  L->GanzeFlaeche();
  F->RezeptUebernehmen(RezeptAusText(RezeptTextLesen(Ordner.Datei("lupe.png").toStdString())));
  EXPECT_DOUBLE_EQ(L->Ansicht().X, 450);
  EXPECT_DOUBLE_EQ(L->Ansicht().Massstab, 4);
}

}  // namespace
