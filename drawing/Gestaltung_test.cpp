#include "drawing/Gestaltung.h"

#include <QColorDialog>
#include <QPushButton>

#include "drawing/ZeichenfensterTest.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"

namespace {

// The window sets what it shows at once, in force and in the extra settings'
// working values; a background counts from the next "Löschen" on, and the
// runs on the surface record the background it has.
TEST_F(FensterTest, GestaltungSetsThePlantSettingsAtOnce) {
  Standard();
  F->GestaltungOeffnen();
  TGestaltung* G = F->Gestaltung();
  ASSERT_TRUE(G && G->isVisible());
  int Gemeldet = 0;  // the main window's note follows the rule choice
  F->EinstellungenGeaendert = [&Gemeldet] { ++Gemeldet; };
  const struct {
    TRadioGruppe* Gruppe;
    int Item;
    bool (*Gesetzt)(const TEinstellungen&);
  } Faelle[] = {
      {G->RGRegelwahl, 1,
       [](const TEinstellungen& E) { return E.Regelwahl == TRegelwahl::Zufaellig; }},
      {G->RGFaerbung, 2, [](const TEinstellungen& E) { return E.Faerbung == TFaerbung::Alter; }},
      {G->RGFaerbung, 3, [](const TEinstellungen& E) { return E.Faerbung == TFaerbung::Regel; }},
      {G->RGZeichensatz, 1,
       [](const TEinstellungen& E) { return E.Zeichensatz == TZeichensatz::MitBlaettern; }},
  };
  for (const auto& Fall : Faelle) {
    Waehlen(Fall.Gruppe, Fall.Item);
    EXPECT_TRUE(Fall.Gesetzt(Einstellungen) && Fall.Gesetzt(ExtraWerte)) << Fall.Item;
  }
  EXPECT_EQ(Gemeldet, 4);

  {  // its answerer gone before the next one waits for a box
    TAntworter Farbe({[](QWidget* W) {
      auto* C = qobject_cast<QColorDialog*>(W);
      if (!C) return false;
      C->setCurrentColor(QColor(0, 0, 64));
      C->accept();
      return true;
    }});
    QTest::mouseClick(G->BHintergrund, Qt::LeftButton);
    EXPECT_EQ(Einstellungen.Hintergrund, 0x400000u);
    const QPoint Ecke(2, 2);
    EXPECT_EQ(Bild().pixel(Ecke), qRgb(255, 255, 255));
    F->BZeichnenClick();
    EXPECT_EQ(F->Protokoll().Abschrift().back().Lauf.Einstellungen.Hintergrund, 0xFFFFFFu);
    QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
    EXPECT_EQ(Bild().pixel(Ecke), qRgb(0, 0, 64));
    F->BZeichnenClick();
    EXPECT_EQ(F->Protokoll().Abschrift().back().Lauf.Einstellungen.Hintergrund, 0x400000u);
  }

  TAntworter Saat;
  G->ESaat->setFocus(Qt::TabFocusReason);
  G->ESaat->setText(QStringLiteral("4294967296"));
  G->BNeueSaat->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Saat.Meldungen.isEmpty(); }, 2000));
  EXPECT_EQ(Saat.Meldungen,
            QStringList{"Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295"});
  EXPECT_EQ(G->ESaat->text(), QString::number(Einstellungen.Saat));
  const uint32_t Vorher = Einstellungen.Saat;
  QTest::mouseClick(G->BNeueSaat, Qt::LeftButton);
  EXPECT_NE(Einstellungen.Saat, Vorher);
  EXPECT_EQ(G->ESaat->text(), QString::number(Einstellungen.Saat));
}

}  // namespace
