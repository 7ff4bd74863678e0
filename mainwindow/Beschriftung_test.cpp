// Every caption of every window fits its control with the fonts installed.
#include "gui/Beschriftung.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>

#include "drawing/Extras.h"
#include "drawing/LSystemZeichnen.h"
#include "drawing/UnitWeiter.h"
#include "drawing/ZeichenfensterTest.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"
#include "mainwindow/AboutBoxDialog.h"
#include "mainwindow/LsystemHauptfenster.h"

namespace {

QString Bericht(const QList<TUeberstand>& Liste) {
  QString Text;
  for (const TUeberstand& U : Liste)
    Text += QStringLiteral("\n  %1 \"%2\": %3 px")
                .arg(QString::fromLatin1(U.Steuerelement->metaObject()->className()), U.Text)
                .arg(U.Pixel);
  return Text;
}

class Beschriftungen : public testing::Test {
 protected:
  void SetUp() override {
    Hauptfenster = std::make_unique<TForm1>();
    ZeichenfensterErzeugen();
    Info = std::make_unique<TAboutBox>();
  }
  void TearDown() override { ZeichenfensterEntfernen(); }

  std::unique_ptr<TForm1> Hauptfenster;
  std::unique_ptr<TAboutBox> Info;
};

TEST_F(Beschriftungen, FitInEveryWindow) {
  QWidget* const Fenster[] = {Hauptfenster.get(), Info.get(), FZeichenform, ExtraEinstellungen,
                              WeiterBox};
  for (QWidget* F : Fenster) {
    F->show();
    const QList<TUeberstand> Liste = Ueberstaende(F) + Ueberdeckungen(F);
    EXPECT_TRUE(Liste.isEmpty()) << F->windowTitle().toStdString() << ":"
                                 << Bericht(Liste).toStdString();
    F->hide();
  }
}

TEST_F(Beschriftungen, ExplanationShowsEachLineWholeOnOneLine) {
  QPlainTextEdit* Memo = ExtraEinstellungen->Memo1;
  ExtraEinstellungen->show();
  const int Breite = Memo->viewport()->width() - 2 * Memo->document()->documentMargin();
  int Zeilen = 0;
  for (QTextBlock B = Memo->document()->begin(); B.isValid(); B = B.next(), ++Zeilen) {
    EXPECT_EQ(B.layout()->lineCount(), 1) << B.text().toStdString();
    EXPECT_LE(Memo->fontMetrics().horizontalAdvance(B.text()), Breite) << B.text().toStdString();
    if (!B.next().isValid()) {
      EXPECT_LE(Memo->cursorRect(QTextCursor(B)).bottom(), Memo->viewport()->height());
    }
  }
  EXPECT_EQ(Zeilen, 15);
  ExtraEinstellungen->hide();
}

// What the fitting of the fonts cannot mend is found: a caption moved over
// its neighbour, and one that its parent cuts because the parent got smaller.
TEST_F(Beschriftungen, OverlapAndCutByTheParentAreFound) {
  FZeichenform->show();
  QLabel* Label = FZeichenform->LTiefe;
  Label->move(FZeichenform->ETiefe->pos() + QPoint(2, 2));
  const QList<TUeberstand> Ueber = Ueberdeckungen(FZeichenform);
  ASSERT_EQ(Ueber.size(), 1) << Bericht(Ueber).toStdString();
  EXPECT_EQ(Ueber.front().Steuerelement, Label);
  Label->move(11, 76);
  EXPECT_TRUE(Ueberdeckungen(FZeichenform).isEmpty());

  TRadioGruppe* Gruppe = FZeichenform->RGSchrittModus;
  Gruppe->resize(60, Gruppe->height());
  const QList<TUeberstand> Geschnitten = Ueberstaende(FZeichenform);
  ASSERT_FALSE(Geschnitten.isEmpty());
  EXPECT_EQ(Geschnitten.back().Steuerelement, static_cast<QWidget*>(Gruppe->Items[1]));
  EXPECT_EQ(Geschnitten.back().Text, "schrittweise");
}

TEST_F(Beschriftungen, NarrowedControlIsFound) {
  QPushButton* Knopf = FZeichenform->BZwischenablage;
  Knopf->resize(Knopf->width() / 2, Knopf->height());
  const QList<TUeberstand> Liste = Ueberstaende(FZeichenform);
  ASSERT_EQ(Liste.size(), 1);
  EXPECT_EQ(Liste.front().Steuerelement, Knopf);
  EXPECT_EQ(Liste.front().Text, "In Zwischenablage");
}

}  // namespace
