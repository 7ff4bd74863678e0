#include "drawing/Extras.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "engine/EinstellungenTest.h"
#include "gui/Eingabefeld.h"
#include "gui/TestHilfen.h"

namespace {

class ExtrasTest : public ::testing::Test {
 protected:
  // Opens the dialog modally; Schritte act on it (and on what it opens) once it
  // is active: it fills its fields then, and only then does moving the focus
  // leave a field.
  int Oeffnen(std::vector<TAntworter::TSchritt> Schritte) {
    Schritte.insert(Schritte.begin(), [this](QWidget* W) { return W == &D && D.isActiveWindow(); });
    TAntworter A(std::move(Schritte));
    const int Ergebnis = D.exec();
    EXPECT_TRUE(A.Fertig());
    Meldungen = A.Meldungen;
    return Ergebnis;
  }

  // A step: types Text into the field and moves the focus on with Tab.
  TAntworter::TSchritt Eingeben(TEingabefeld* Feld, QString Text) {
    return [this, Feld, Text](QWidget* W) {
      if (W != &D || !D.isActiveWindow()) return false;
      Feld->setFocus(Qt::TabFocusReason);
      Feld->setText(Text);
      D.BOk->setFocus(Qt::TabFocusReason);  // leaves the field, may show a message
      return true;
    };
  }

  TAntworter::TSchritt Klicken(QPushButton* Knopf) {
    return [this, Knopf](QWidget* W) {
      if (W != &D || !D.isActiveWindow()) return false;
      QTest::mouseClick(Knopf, Qt::LeftButton);
      return true;
    };
  }

  TAntworter::TSchritt Pruefen(std::function<void()> P) {
    return [this, P](QWidget* W) {
      if (W != &D || !D.isActiveWindow()) return false;
      P();
      return true;
    };
  }

  QStringList Felder() const {
    return {D.EDicke->text(), D.ESchwund->text(), D.EAbweichungS->text(), D.EAbweichungP->text(),
            D.EAbweichungM->text()};
  }

  TEinstellungenWache Wache{&Einstellungen, &ExtraWerte};
  TExtraEinstellungen D;
  QStringList Meldungen;
};

TEST_F(ExtrasTest, OpeningShowsWorkingValues) {
  QStringList Gezeigt;
  EXPECT_EQ(Oeffnen({Pruefen([&] { Gezeigt = Felder(); }), Klicken(D.BOk)}), 1);
  EXPECT_EQ(Gezeigt, QStringList({"1.0", "0.0", "30.0", "30.0", "30.0"}));
  EXPECT_TRUE(D.Memo1->isReadOnly());

  ExtraWerte.Schwundfaktor = 1.5;
  ExtraWerte.Anfangsdicke = 2.25;
  ExtraWerte.AbweichungSchritt = 0.125;
  EXPECT_EQ(Oeffnen({Pruefen([&] { Gezeigt = Felder(); }), Klicken(D.BAbbrechen)}), 2);
  EXPECT_EQ(Gezeigt, QStringList({"2.3", "-50.0", "12.5", "30.0", "30.0"}));
}

TEST_F(ExtrasTest, FieldChecks) {
  const struct {
    TEingabefeld* Feld;
    QString Eingabe;
    QString Meldung;  // empty: accepted
    double* Wert;
    double Erwartet;  // working value afterwards
    QString Text;     // field text afterwards
  } Faelle[] = {
      {D.ESchwund, "99", "", &ExtraWerte.Schwundfaktor, 0.01, "99"},
      {D.ESchwund, "99,5", "Schwund hat falsches Format ", &ExtraWerte.Schwundfaktor, 1.0, "0.0"},
      {D.ESchwund, "100", "Schwund hat falsches Format ", &ExtraWerte.Schwundfaktor, 1.0, "0.0"},
      {D.ESchwund, "-50", "", &ExtraWerte.Schwundfaktor, 1.5, "-50"},
      {D.ESchwund, "x", "Schwund hat falsches Format ", &ExtraWerte.Schwundfaktor, 1.0, "0.0"},
      {D.EDicke, "2,5", "", &ExtraWerte.Anfangsdicke, 2.5, "2,5"},
      {D.EDicke, "dick", "Liniendicke hat falsches Format.", &ExtraWerte.Anfangsdicke, 1.0, "1.0"},
      {D.EAbweichungS, "12.5", "", &ExtraWerte.AbweichungSchritt, 0.125, "12.5"},
      {D.EAbweichungS, "", "\"Abweichung Schritt\" hat falsches Format ",
       &ExtraWerte.AbweichungSchritt, 0.3, "30.0"},
      {D.EAbweichungP, "150", "", &ExtraWerte.AbweichungPlus, 1.5, "150"},
      {D.EAbweichungP, "1..2", "\"Abweichung +\" hat falsches Format ", &ExtraWerte.AbweichungPlus,
       0.3, "30.0"},
      {D.EAbweichungM, "-10", "", &ExtraWerte.AbweichungMinus, -0.1, "-10"},
      {D.EAbweichungM, "a", "\"Abweichung -\" hat falsches Format ", &ExtraWerte.AbweichungMinus,
       0.3,
       "30.0"},  // Beyond the range of a double: the error report, then the working value again.
      {D.EDicke, "1e400", "Gleitkommaüberlauf.", &ExtraWerte.Anfangsdicke, 1.0, "1.0"},
      {D.EAbweichungP, "-1e400", "Gleitkommaüberlauf.", &ExtraWerte.AbweichungPlus, 0.3, "30.0"},
  };
  for (const auto& F : Faelle) {
    ExtraWerte = TEinstellungen();
    QString Text;
    Oeffnen({Eingeben(F.Feld, F.Eingabe), Pruefen([&] { Text = F.Feld->text(); }),
             Klicken(D.BAbbrechen)});
    const QStringList Erwartet = F.Meldung.isEmpty() ? QStringList() : QStringList{F.Meldung};
    EXPECT_EQ(Meldungen, Erwartet) << F.Eingabe.toStdString();
    EXPECT_NEAR(*F.Wert, F.Erwartet, 1e-12) << F.Eingabe.toStdString();
    EXPECT_EQ(Text, F.Text) << F.Eingabe.toStdString();
  }
}

// The message of the field left by a press on "Ok" or "Abbrechen" takes the
// mouse release; the button acts all the same once the message is closed.
TEST_F(ExtrasTest, ButtonPressedAfterRefusedFieldActsAfterTheMessage) {
  const std::pair<QPushButton*, int> Faelle[] = {{D.BOk, 1}, {D.BAbbrechen, 2}};
  for (const auto& [Knopf, Ergebnis] : Faelle) {
    QString Meldung;
    EXPECT_EQ(Oeffnen({[&, Knopf = Knopf](QWidget* W) {
                         if (W != &D || !D.isActiveWindow()) return false;
                         D.ESchwund->setFocus(Qt::TabFocusReason);
                         D.ESchwund->setText("100");
                         QTest::mousePress(Knopf, Qt::LeftButton);
                         return true;
                       },
                       [&](QWidget* W) {
                         auto* Box = qobject_cast<QMessageBox*>(W);
                         if (!Box) return false;
                         Meldung = Box->text();
                         QTest::mouseClick(Box->buttons().front(), Qt::LeftButton);
                         return true;
                       }}),
              Ergebnis);
    EXPECT_EQ(Meldung, "Schwund hat falsches Format ");
    EXPECT_EQ(ExtraWerte.Schwundfaktor, 1.0);
    EXPECT_FALSE(Knopf->isDown());
  }
}

// Coming back from a message box is an activation of the dialog: the fields
// are filled again from the working values.
TEST_F(ExtrasTest, ReturnFromMessageBoxRefillsTheFields) {
  QStringList Danach;
  Oeffnen({Eingeben(D.EDicke, "2,5"), Eingeben(D.ESchwund, "x"), Pruefen([&] {
             Abwarten();
             Danach = Felder();
           }),
           Klicken(D.BAbbrechen)});
  EXPECT_EQ(Meldungen, QStringList{"Schwund hat falsches Format "});
  EXPECT_EQ(Danach, QStringList({"2.5", "0.0", "30.0", "30.0", "30.0"}));
}

TEST_F(ExtrasTest, EscapeAndEnterDoNothingFrameGivesCancel) {
  bool NochOffen = false;
  EXPECT_EQ(Oeffnen({Pruefen([&] {
                       QTest::keyClick(&D, Qt::Key_Escape);
                       QTest::keyClick(&D, Qt::Key_Return);
                       NochOffen = D.isVisible();
                     }),
                     Pruefen([&] { D.close(); })}),
            2);
  EXPECT_TRUE(NochOffen);
}

TEST_F(ExtrasTest, ColourChooserStartsWithLastConfirmedColour) {
  QColor Vorgabe1, Vorgabe2, Vorgabe3;
  auto Waehlen = [&](QColor& Vorgabe, QColor Farbe, bool Bestaetigen) {
    return [&Vorgabe, Farbe, Bestaetigen](QWidget* W) {
      auto* C = qobject_cast<QColorDialog*>(W);
      if (!C) return false;
      Vorgabe = C->currentColor();
      C->setCurrentColor(Farbe);
      if (Bestaetigen)
        C->accept();
      else
        C->reject();
      return true;
    };
  };
  EXPECT_EQ(Oeffnen({Klicken(D.BZeichenfarbe), Waehlen(Vorgabe1, QColor(255, 0, 0), true),
                     Klicken(D.BZeichenfarbe), Waehlen(Vorgabe2, QColor(0, 0, 255), false),
                     Klicken(D.BOk)}),
            1);
  EXPECT_EQ(Vorgabe1, QColor(Qt::black));
  EXPECT_EQ(Vorgabe2, QColor(255, 0, 0));
  EXPECT_EQ(ExtraWerte.Zeichenfarbe, 0x0000FFu);  // the cancelled blue did not count
  Oeffnen({Klicken(D.BZeichenfarbe), Waehlen(Vorgabe3, QColor(0, 0, 255), true),
           Klicken(D.BAbbrechen)});
  EXPECT_EQ(Vorgabe3, QColor(255, 0, 0));
  EXPECT_EQ(ExtraWerte.Zeichenfarbe, 0xFF0000u);
}

TEST(Farbwert, ConvertsBothWays) {
  EXPECT_EQ(AlsQColor(0x008000), QColor(0, 128, 0));
  EXPECT_EQ(AlsQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(AlsFarbwert(QColor(1, 2, 3)), 0x030201u);
}

}  // namespace
