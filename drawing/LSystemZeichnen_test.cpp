#include "drawing/LSystemZeichnen.h"

#include <QApplication>
#include <QTest>

#include "drawing/ZeichenfensterTest.h"
#include "engine/EinstellungenTest.h"
#include "gui/Radiogruppe.h"
#include "gui/TestHilfen.h"
#include "rules/Regelsystem.h"

namespace {

TEST_F(FensterTest, InitialState) {
  EXPECT_EQ(F->Ex->text(), "500.0");
  EXPECT_EQ(F->Ey->text(), "680.0");
  EXPECT_EQ(F->EWinkel->text(), "90.0");
  EXPECT_EQ(F->ETiefe->text(), "2");
  EXPECT_EQ(F->ESchrittweite->text(), "10.000");
  EXPECT_TRUE(F->RGSchrittweite->Items[1]->isChecked());
  EXPECT_TRUE(F->RGSchrittModus->Items[0]->isChecked());
  EXPECT_TRUE(F->RGZufallsModus->Items[0]->isChecked());
  EXPECT_TRUE(F->RGTurtleZeigen->Items[1]->isChecked());
  EXPECT_TRUE(F->BAbbrechen->isHidden());
  EXPECT_FALSE(F->BAbbrechen->isEnabled());
  EXPECT_TRUE(F->EZeichen->isHidden());
  EXPECT_FALSE(F->EZeichen->isEnabled());
  // Display only, but a "+" in it is as dark as normal text, not a faint grey.
  F->EZeichen->setText("+");
  const QImage Zeichen = F->EZeichen->grab().toImage();
  int Dunkelste = 255;
  for (int y = 0; y < Zeichen.height(); ++y)
    for (int x = 0; x < Zeichen.width(); ++x)
      Dunkelste = std::min(Dunkelste, qGray(Zeichen.pixel(x, y)));
  EXPECT_LT(Dunkelste, 60);
  EXPECT_TRUE(F->EString->isHidden());
  EXPECT_EQ(F->Vorgaben().Tiefe, 2);
  EXPECT_EQ(F->Maschine().Schrittweite(), 10.0);
  EXPECT_EQ(F->Regelsystem(), nullptr);

  EXPECT_EQ(F->size(), QSize(1000, 680));
  EXPECT_EQ(Anfang.size(), QSize(1000, 680));
  EXPECT_EQ(F->Turtle().SymbolGroesse, 15.0);
  EXPECT_EQ(F->Turtle().Farbe, 0x008000u);
  EXPECT_EQ(F->Turtle().X, 500.0);
  EXPECT_EQ(F->Turtle().Y, 340.0);
  // Only the upper half of the marker lies on the surface.
  EXPECT_EQ(Umfang(Anfang, Rot), QRect(QPoint(495, 675), QPoint(505, 679)));
  EXPECT_EQ(Anfang.pixel(500, 675), Rot);
  EXPECT_EQ(Anfang.pixel(500, 678), qRgb(255, 255, 255));
}

TEST_F(FensterTest, LayoutAndHints) {
  const struct {
    QWidget* W;
    QRect Ort;  // empty: not checked
    QString Hinweis;
  } Faelle[] = {
      {F->PBedienung, {0, 0, 111, 675}, ""},
      {F->BZeichnen,
       {7, 7, 98, 26},
       "Zeichnung ausgeben, notfalls mit Schalter 'Abbrechen' stoppen"},
      {F->BLoeschen, {}, "Zeichnung löschen"},
      {F->ETiefe, {13, 89, 79, 21}, "Entwicklungstiefe angeben"},
      {F->ESchrittweite,
       {},
       "Schrittweite für 'L', wird je nach Einstellung automatisch an die Bildgröße angepaßt"},
      {F->Ex, {}, "x-Wert für Startposition"},
      {F->EWinkel, {}, "Startwinkel für die Zeichnung (90° zeigt nach oben)"},
      {F->RGZufallsModus,
       {},
       "Hie wählen, ob zufällige Schwankungen beim Zeichnen berücksichtigt werden sollen. "},
      {F->RGSchrittModus, {}, "Hier Einzelschritt oder ganzes Bild wählen"},
      {F->RGTurtleZeigen,
       {7, 423, 98, 48},
       "Einstellen, ob die Turtle als Symbol sichtbar sein soll"},
      {F->BZwischenablage, {7, 611, 98, 27}, "Bild in die Zwischneablage kopieren"},
      {F->BBildSpeichern, {7, 642, 98, 27}, "Zeichnung als PNG- oder SVG-Datei speichern"},
      {F->EString, {117, 7, 462, 26}, ""},
      {F->EZeichen, {546, 39, 33, 28}, ""},
      {F->BAbbrechen, {520, 7, 85, 26}, "Vorgang abbrechen, wenn's zu lange dauert!"},
      {F->PBFortschritt, {611, 9, 150, 22}, ""},
  };
  for (const auto& Fall : Faelle) {
    const std::string Name = Fall.W->objectName().toStdString();
    if (!Fall.Ort.isEmpty()) {
      EXPECT_EQ(Fall.W->geometry(), Fall.Ort) << Name;
    }
    EXPECT_EQ(Fall.W->toolTip(), Fall.Hinweis) << Name;
  }
}

// A value typed into a field and left: the message shown (none when it is
// taken) and the field's text afterwards.
struct TFeldfall {
  TEingabefeld* TFZeichenform::*Feld;
  const char* Eingabe;
  std::string Meldung;
  const char* Text;
};

const std::string Bereich = "außerhalb des zulässigen Bereichs von 0 bis ";
const std::string Tiefe = "Tiefe " + Bereich + "30";
const std::string Schritt = "Schrittweite falsches Format oder\r\n" + Bereich + "1000.00";
const std::string X = "x hat falsches Format oder\r\n" + Bereich + "1000";

const TFeldfall Feldfaelle[] = {
    {&TFZeichenform::ETiefe, "30", "", "30"},
    {&TFZeichenform::ETiefe, "31", Tiefe, "2"},
    {&TFZeichenform::ETiefe, "-1", Tiefe, "2"},
    {&TFZeichenform::ETiefe, "2.5", Tiefe, "2"},
    {&TFZeichenform::ETiefe, "0", "", "0"},
    {&TFZeichenform::ESchrittweite, "0", Schritt, "10.000"},
    {&TFZeichenform::ESchrittweite, "1000", "", "1000.000"},
    {&TFZeichenform::ESchrittweite, "0,5", "", "0.500"},
    {&TFZeichenform::ESchrittweite, "1000,01", Schritt, "10.000"},
    {&TFZeichenform::ESchrittweite, "weit", Schritt, "10.000"},
    {&TFZeichenform::Ex, "1000", "", "1000.0"},
    {&TFZeichenform::Ex, "1001", X, "500.0"},
    {&TFZeichenform::Ex, "-0,5", X, "500.0"},
    {&TFZeichenform::Ex, "12,25", "", "12.3"},
    {&TFZeichenform::Ey, "680", "", "680.0"},
    {&TFZeichenform::Ey, "681", "y hat falsches Format oder\r\n" + Bereich + "680", "680.0"},
    {&TFZeichenform::Ey, "0", "", "0.0"},
    {&TFZeichenform::EWinkel, "-45", "", "-45.0"},
    {&TFZeichenform::EWinkel, "nach oben", "Winkel hat falsches Format ", "90.0"},
    // Beyond the range of a double: the error report, then the value in force again.
    {&TFZeichenform::ESchrittweite, "1e400", "Gleitkommaüberlauf.", "10.000"},
    {&TFZeichenform::Ex, "500.01e308", "Gleitkommaüberlauf.", "500.0"},
};

void PrintTo(const TFeldfall& Fall, std::ostream* Aus) { *Aus << '"' << Fall.Eingabe << '"'; }

class Feldpruefung : public FensterTest, public testing::WithParamInterface<TFeldfall> {};

TEST_P(Feldpruefung, MessageAndTextAfterLeaving) {
  const TFeldfall& Fall = GetParam();
  const QStringList Erwartet =
      Fall.Meldung.empty() ? QStringList() : QStringList{QString::fromStdString(Fall.Meldung)};
  EXPECT_EQ(Eingeben(F->*Fall.Feld, Fall.Eingabe), Erwartet);
  EXPECT_EQ((F->*Fall.Feld)->text(), Fall.Text);
}

INSTANTIATE_TEST_SUITE_P(FensterTest, Feldpruefung, testing::ValuesIn(Feldfaelle));

TEST_F(FensterTest, FieldValuesReachTheWindow) {
  Eingeben(F->ETiefe, "7");
  Eingeben(F->ESchrittweite, "2,5");
  Eingeben(F->EWinkel, "-45");
  Eingeben(F->Ex, "1000");
  Eingeben(F->Ey, "100");
  EXPECT_EQ(F->Vorgaben().Tiefe, 7);
  EXPECT_EQ(F->Maschine().Schrittweite(), 2.5);
  EXPECT_EQ(F->Vorgaben().Startwinkel, -45.0);
  // The marker moved with the start position; the client width bounds x.
  EXPECT_EQ(Umfang(Bild(), Rot), QRect(QPoint(995, 95), QPoint(999, 105)));
  Eingeben(F->ETiefe, "99");
  EXPECT_EQ(F->Vorgaben().Tiefe, 7);
}

TEST_F(FensterTest, MouseSetsStartPosition) {
  const struct {
    Qt::MouseButton Knopf;
    QPoint Punkt;
    QString X, Y;
  } Faelle[] = {
      {Qt::LeftButton, {300, 200}, "300.0", "200.0"},
      {Qt::RightButton, {400, 250}, "400.0", "250.0"},
      {Qt::MiddleButton, {600, 600}, "400.0", "250.0"},
  };
  for (const auto& Fall : Faelle) {
    QTest::mouseClick(F->zeichenflaeche, Fall.Knopf, {}, Fall.Punkt);
    EXPECT_EQ(F->Ex->text(), Fall.X) << Fall.Punkt.x();
    EXPECT_EQ(F->Ey->text(), Fall.Y) << Fall.Punkt.x();
  }
  EXPECT_EQ(F->Vorgaben().StartX, 400.0);
  EXPECT_EQ(Umfang(Bild(), Rot), QRect(QPoint(395, 245), QPoint(405, 255)));
}

TEST_F(FensterTest, BuiltInSystemAtDepthOneDrawsFourLines) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), MitLinien(Anfang, VierLinien));
  EXPECT_NEAR(F->Turtle().X, 500.0, 1e-9);
  EXPECT_NEAR(F->Turtle().Y, 660.0, 1e-9);
  EXPECT_NEAR(F->Turtle().Richtung, 60.0, 1e-9);
  EXPECT_TRUE(F->BAbbrechen->isHidden());
  EXPECT_TRUE(F->EZeichen->isHidden());
}

TEST_F(FensterTest, LoeschenLeavesOnlyTheMarker) {
  Standard();
  F->TiefeSetzen(4);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  ASSERT_NE(Bild(), Anfang);
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  EXPECT_EQ(Bild(), Anfang);
}

TEST_F(FensterTest, TwoRunsLeaveBothDrawings) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  QTest::mouseClick(F->zeichenflaeche, Qt::LeftButton, {}, QPoint(300, 500));
  const QImage NachMarke = Bild();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), MitLinien(NachMarke, {{300, 500, 300, 490},
                                          {300, 490, 300, 480},
                                          {300, 480, 295, 471},
                                          {300, 480, 305, 471}}));
}

TEST_F(FensterTest, StepByStepAllConfirmed) {
  Standard();
  Waehlen(F->RGSchrittModus, 1);
  TProtokoll P;
  TAntworter A;
  for (int i = 0; i < 11; ++i) A.Anhaengen(Antwort(P, 1));
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(A.Fertig());
  EXPECT_EQ(P.Zeichen, QStringList({"", "F", "F", "+", "[", "F", "]", "-", "-", "[", "F"}));
  EXPECT_EQ(P.Strings, QStringList(11, "FF+[F]--[F]"));
  // The character that acted last is marked: none before the first step.
  EXPECT_EQ(P.Auswahl, QList<int>({-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(P.Markiert, P.Zeichen);
  EXPECT_EQ(P.OkFokus, 11);
  EXPECT_EQ(P.Ort, F->mapToGlobal(QPoint(113, 35)));
  EXPECT_TRUE(F->EZeichen->isHidden());
  EXPECT_TRUE(F->EString->isHidden());
  EXPECT_EQ(Bild(), MitLinien(Anfang, VierLinien));
}

// Step by step, answered with OK up to one prompt and there stopped.
struct TStopp {
  const char* Weg;
  int Ergebnis;  // of that prompt
  int Bei;       // its number
  std::vector<QLine> Linien;
};

void PrintTo(const TStopp& Fall, std::ostream* Aus) { *Aus << Fall.Weg; }

class Schrittstopp : public FensterTest, public testing::WithParamInterface<TStopp> {};

TEST_P(Schrittstopp, LeavesTheLinesDrawnSoFar) {
  const TStopp& Fall = GetParam();
  Standard();
  Waehlen(F->RGSchrittModus, 1);
  TProtokoll P;
  TAntworter A;
  for (int i = 1; i < Fall.Bei; ++i) A.Anhaengen(Antwort(P, 1));
  A.Anhaengen(Antwort(P, Fall.Ergebnis));
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(P.Zeichen.size(), Fall.Bei);
  EXPECT_EQ(A.Titel, QStringList());  // no prompt after the stop
  EXPECT_TRUE(F->EZeichen->isHidden());
  EXPECT_TRUE(F->EString->isHidden());
  EXPECT_EQ(Bild(), MitLinien(Anfang, Fall.Linien));
}

INSTANTIATE_TEST_SUITE_P(
    FensterTest, Schrittstopp,
    testing::Values(
        TStopp{"Abbruch am Anfang", 3, 1, {}},
        TStopp{"Rahmen beim dritten", 2, 3, {VierLinien[0], VierLinien[1]}},
        TStopp{"Abbruch beim sechsten", 3, 6, {VierLinien[0], VierLinien[1], VierLinien[2]}}));

class Stringlaenge : public FensterTest, public testing::WithParamInterface<int> {};

TEST_P(Stringlaenge, StringShownBelowHundredCharacters) {
  const int Laenge = GetParam();
  Regeln(std::string(Laenge, 'F'), {});
  F->TiefeSetzen(0);
  Waehlen(F->RGSchrittModus, 1);
  TProtokoll P;
  TAntworter A({Antwort(P, 3)});
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  ASSERT_EQ(P.Strings.size(), 1);
  EXPECT_EQ(P.Strings[0], Laenge == 99 ? QString(99, 'F') : QString("-"));
  EXPECT_EQ(P.Zeichen[0], "");
}

INSTANTIATE_TEST_SUITE_P(FensterTest, Stringlaenge, testing::Values(99, 100));

TEST_F(FensterTest, AtOnceAfterStepModeHidesEZeichen) {
  Standard();
  Waehlen(F->RGSchrittModus, 1);
  TProtokoll P;
  {
    TAntworter A({Antwort(P, 1), [](QWidget* W) {
                    if (W != WeiterBox) return false;
                    // Switching to "schnell" while the prompt waits is impossible; check
                    // the field is shown now and stop.
                    EXPECT_TRUE(FZeichenform->EZeichen->isVisible());
                    WeiterBox->close();
                    return true;
                  }});
    QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  }
  F->EZeichen->show();  // as if left over
  Waehlen(F->RGSchrittModus, 0);
  EXPECT_TRUE(F->EZeichen->isHidden());
  F->EZeichen->show();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(F->EZeichen->isHidden());
}

TEST_F(FensterTest, ExtraSettingsTakenOverOnlyWithOk) {
  Standard();
  auto Oeffnen = [&](QString Abweichung, QColor Farbe, QPushButton* TExtraEinstellungen::*Knopf) {
    TAntworter A({
        [](QWidget* W) { return W == ExtraEinstellungen; },  // wait until it is up
        [Abweichung](QWidget* W) {
          if (W != ExtraEinstellungen) return false;
          ExtraEinstellungen->EAbweichungP->setFocus(Qt::TabFocusReason);
          ExtraEinstellungen->EAbweichungP->setText(Abweichung);
          ExtraEinstellungen->BOk->setFocus(Qt::TabFocusReason);
          QTest::mouseClick(ExtraEinstellungen->BZeichenfarbe, Qt::LeftButton);
          return true;
        },
        [Farbe](QWidget* W) {
          auto* C = qobject_cast<QColorDialog*>(W);
          if (!C) return false;
          C->setCurrentColor(Farbe);
          C->accept();
          return true;
        },
        ExtrasKlicken(Knopf),
    });
    QTest::mouseClick(F->BExtras, Qt::LeftButton);
    EXPECT_TRUE(A.Fertig());
  };
  Oeffnen("50", Qt::blue, &TExtraEinstellungen::BAbbrechen);
  EXPECT_EQ(Einstellungen.AbweichungPlus, 0.3);
  EXPECT_EQ(ExtraWerte.AbweichungPlus, 0.3);
  EXPECT_EQ(Einstellungen.Zeichenfarbe, 0x008000u);
  EXPECT_EQ(ExtraWerte.Zeichenfarbe, 0x008000u);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), MitLinien(Anfang, VierLinien));

  Oeffnen("50", Qt::blue, &TExtraEinstellungen::BOk);
  EXPECT_EQ(Einstellungen.AbweichungPlus, 0.5);
  EXPECT_EQ(Einstellungen.Zeichenfarbe, 0xFF0000u);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Bild(), MitLinien(Anfang, VierLinien, 0xFF0000));
}

// A person presses a control right after typing a depth the window refuses:
// the message box takes the mouse release, or the person holds the button,
// answers the box with the keyboard and lets go over the control. Either way
// the press acts once the box is closed, and the control does not stay drawn
// pressed.
TEST_F(FensterTest, ClickAfterRefusedFieldActsAfterTheMessage) {
  Standard();
  struct {
    const char* Name;
    QAbstractButton* Knopf;
    std::function<bool()> Gewirkt;
    std::function<void()> Vorher;
  } const Faelle[] = {
      {"Zeichnen", F->BZeichnen, [&] { return Bild() == MitLinien(Anfang, VierLinien); },
       [&] { F->BLoeschenClick(); }},
      {"Löschen", F->BLoeschen, [&] { return Bild() == Anfang; }, [&] { F->BZeichnenClick(); }},
      {"Zufall", F->RGZufallsModus->Items[1], [] { return Einstellungen.Zufallsmodus; }, [] {}},
      {"schrittweise", F->RGSchrittModus->Items[1], [] { return Einstellungen.Schrittmodus; },
       [] {}},
  };
  QWindow* Fenster = F->windowHandle();
  for (const bool Gehalten : {false, true})
    for (const auto& Fall : Faelle) {
      const std::string Wie = std::string(Fall.Name) + (Gehalten ? ", gehalten" : ", geschluckt");
      Waehlen(F->RGSchrittModus, 0);
      Waehlen(F->RGZufallsModus, 0);
      Fall.Vorher();
      F->ETiefe->setFocus(Qt::TabFocusReason);
      F->ETiefe->setText("99");
      QString Meldung;
      TAntworter A({TAntworter::Jeder([&](QWidget* W) {
        auto* Box = qobject_cast<QMessageBox*>(W);
        ASSERT_TRUE(Box);
        Meldung = Box->text();
        if (Gehalten)
          QTest::keyClick(Box, Qt::Key_Return);
        else
          QTest::mouseClick(Box->buttons().front(), Qt::LeftButton);
      })});
      const QPoint Ort = Fall.Knopf->mapTo(F, QPoint(8, Fall.Knopf->height() / 2));
      if (Gehalten) {
        QTest::mousePress(Fenster, Qt::LeftButton, {}, Ort);
        QTest::mouseRelease(Fenster, Qt::LeftButton, {}, Ort);
      } else {
        QTest::mousePress(Fall.Knopf, Qt::LeftButton, {}, QPoint(8, Fall.Knopf->height() / 2));
      }
      Abwarten();
      EXPECT_EQ(Meldung, "Tiefe außerhalb des zulässigen Bereichs von 0 bis 30") << Wie;
      EXPECT_EQ(F->ETiefe->text(), "1") << Wie;
      EXPECT_TRUE(Fall.Gewirkt()) << Wie;
      EXPECT_FALSE(Fall.Knopf->isDown()) << Wie;
      Fall.Knopf->setDown(false);  // the next case starts clean also after a failure
    }
}

// The seed field shows the generator's state on opening; a changed value
// confirmed with "Ok" sets the generator, "Abbrechen" leaves it.
TEST_F(FensterTest, SeedInTheExtraSettings) {
  const struct {
    QString Eingabe;
    QPushButton* TExtraEinstellungen::*Knopf;
    uint32_t Danach;
    QStringList Meldungen;
  } Faelle[] = {
      {"123", &TExtraEinstellungen::BOk, 123, {}},
      {"4711", &TExtraEinstellungen::BAbbrechen, 99, {}},
      {"4294967296",
       &TExtraEinstellungen::BOk,
       99,
       {"Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295"}},
      {"4294967295", &TExtraEinstellungen::BOk, 4294967295u, {}},
  };
  for (const auto& Fall : Faelle) {
    Einstellungen.Saat = 99;
    QString Gezeigt;
    TAntworter A({SaatEingeben(Fall.Eingabe, Gezeigt), ExtrasKlicken(Fall.Knopf)});
    QTest::mouseClick(F->BExtras, Qt::LeftButton);
    EXPECT_TRUE(A.Fertig()) << Fall.Eingabe.toStdString();
    EXPECT_EQ(Gezeigt, "99");
    EXPECT_EQ(A.Meldungen, Fall.Meldungen) << Fall.Eingabe.toStdString();
    EXPECT_EQ(Einstellungen.Saat, Fall.Danach) << Fall.Eingabe.toStdString();
  }
}

// Centred, the drawing's box sits in the middle of the surface, and the start
// fields and the marker show the start it was drawn from.
TEST_F(FensterTest, CentredDrawingShowsItsStart) {
  Standard();
  F->TiefeSetzen(4);
  Waehlen(F->RGLage, 1);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  const QRect Box = Umfang(Bild(), Gruen);
  EXPECT_NEAR(Box.center().x(), 500, 1.5);
  EXPECT_NEAR(Box.center().y(), 340, 1.5);
  EXPECT_NE(F->Vorgaben().StartY, 680.0);
  EXPECT_EQ(F->Ey->text(), QString::number(F->Vorgaben().StartY, 'f', 1));
  EXPECT_EQ(Bild().pixel(static_cast<int>(F->Vorgaben().StartX) - 5,
                         static_cast<int>(F->Vorgaben().StartY)),
            Rot);
  Waehlen(F->RGLage, 0);
  EXPECT_FALSE(Einstellungen.Zentriert);
}

TEST_F(FensterTest, ClipboardHoldsTheSurface) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  QTest::mouseClick(F->BZwischenablage, Qt::LeftButton);
  const QImage Kopie = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Kopie, MitLinien(Anfang, VierLinien));
}

TEST_F(FensterTest, TurtleSymbolShownThenHiddenLeavesThePicture) {
  Standard();
  F->TiefeSetzen(3);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  const QImage Ohne = Bild();
  Waehlen(F->RGTurtleZeigen, 0);
  const QImage Mit = Bild();
  EXPECT_NE(Mit, Ohne);
  EXPECT_TRUE(F->Turtle().Sichtbar);

  // Each return from another window of the program toggles a shown symbol.
  QWidget Anderes;
  Anderes.show();
  Aktivieren(&Anderes);
  EXPECT_EQ(Bild(), Mit);
  Aktivieren(F);
  EXPECT_EQ(Bild(), Ohne);
  Aktivieren(&Anderes);
  Aktivieren(F);
  EXPECT_EQ(Bild(), Mit);

  Waehlen(F->RGTurtleZeigen, 1);
  EXPECT_EQ(Bild(), Ohne);
  EXPECT_FALSE(F->Turtle().Sichtbar);
}

// A message box or the extra settings dialog is a window of the program:
// coming back from it is an activation, counted once, even though the box
// is gone by the time the window is active again.
TEST_F(FensterTest, ReturnFromOwnDialogsTogglesTheSymbolOnce) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  const QImage Ohne = Bild();
  Waehlen(F->RGTurtleZeigen, 0);
  const QImage Mit = Bild();
  ASSERT_NE(Mit, Ohne);
  EXPECT_EQ(Eingeben(F->ETiefe, "99").size(), 1);
  EXPECT_EQ(Bild(), Ohne);
  EXPECT_EQ(Eingeben(F->Ex, "-1").size(), 1);
  EXPECT_EQ(Bild(), Mit);
  TAntworter A({ExtrasKlicken(&TExtraEinstellungen::BAbbrechen)});
  QTest::mouseClick(F->BExtras, Qt::LeftButton);
  Abwarten();
  EXPECT_TRUE(A.Fertig());
  EXPECT_EQ(Bild(), Ohne);
}

TEST_F(FensterTest, ComingBackFromNoActiveWindowDoesNotToggle) {
  Standard();
  Waehlen(F->RGTurtleZeigen, 0);
  const QImage Mit = Bild();
  // The user works in another application: the window system reports that no
  // window of the program has the focus. Coming back is no activation to count.
  QWidget Anderes;
  Anderes.show();
  Aktivieren(&Anderes);
  emit qGuiApp->focusWindowChanged(nullptr);
  Aktivieren(F);
  EXPECT_EQ(Bild(), Mit);
}

TEST_F(FensterTest, AnglesCopiedOnActivation) {
  R.WinkelPlus = 25;
  R.WinkelMinus = 20;
  F->RegelsystemUebergeben(R);
  EXPECT_EQ(F->Maschine().WinkelPlus(), 25.0);
  EXPECT_EQ(F->Maschine().WinkelMinus(), -20.0);
  R.WinkelPlus = 45;
  R.WinkelMinus = 15;
  QWidget Anderes;
  Anderes.show();
  Aktivieren(&Anderes);
  Aktivieren(F);
  EXPECT_EQ(F->Maschine().WinkelPlus(), 45.0);
  EXPECT_EQ(F->Maschine().WinkelMinus(), -15.0);
}

TEST_F(FensterTest, AbbrechenStopsADeepDrawing) {
  LangerLauf("F->FF", 0.001, 30);
  bool Sichtbar = false;
  QTimer::singleShot(50, F, [&] {
    Sichtbar =
        F->BAbbrechen->isVisible() && F->BAbbrechen->isEnabled() && F->PBFortschritt->isVisible();
    QTest::mouseClick(F->BAbbrechen, Qt::LeftButton);
    EXPECT_TRUE(F->PBFortschritt->isHidden());
  });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(Sichtbar);
  EXPECT_TRUE(F->PBFortschritt->isHidden());
  EXPECT_LT(F->PBFortschritt->value(), 100);
  EXPECT_GT(F->Turtle().Y, -1e5);  // stopped long before the end at 680 - 0.001 * 2^30
  EXPECT_TRUE(F->Maschine().Abgebrochen());
  EXPECT_TRUE(F->BAbbrechen->isHidden());
  EXPECT_FALSE(F->BAbbrechen->isEnabled());
}

class Fortschritt : public FensterTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Fortschritt, BarFollowsTheRun) {
  const bool Anpassen = GetParam();
  EXPECT_EQ(F->PBFortschritt->maximum(), 1000);
  Regeln("F", {"F->FF"});
  Waehlen(F->RGSchrittweite, Anpassen ? 1 : 0);
  F->SchrittweiteSetzen(0.001);
  // Long enough for several of the engine's message passes, a few each second.
  F->TiefeSetzen(22);
  const_cast<TZeichenmaschine&>(F->Maschine()).JedesZeichen(true);  // jumps would end it at once
  EXPECT_TRUE(F->PBFortschritt->isHidden());
  QList<int> Werte;
  int Unsichtbar = 0;  // values set while the bar or BAbbrechen was hidden
  QObject::connect(F->PBFortschritt, &QProgressBar::valueChanged, F, [&](int Wert) {
    if (Wert > 0) Unsichtbar += F->PBFortschritt->isHidden() || F->BAbbrechen->isHidden();
    Werte << Wert;
  });
  bool ImLauf = false;  // seen from a message pass of the run
  QTimer::singleShot(0, F, [&] {
    ImLauf = F->ZeichnungLaeuft() && F->PBFortschritt->isVisible() && F->BAbbrechen->isVisible();
  });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(ImLauf);
  EXPECT_TRUE(F->PBFortschritt->isHidden());
  EXPECT_EQ(F->PBFortschritt->value(), 1000);
  EXPECT_EQ(Unsichtbar, 0);
  // Rising from 0 to 1000 once per walk: the fitting, then the drawing.
  int Vorher = 0, Neuanfaenge = 0, Zwischenwerte = 0;
  for (int Wert : Werte) {
    if (Wert < Vorher) {
      EXPECT_EQ(Wert, 0);
      ++Neuanfaenge;
    } else {
      EXPECT_GT(Wert, Vorher);
    }
    Zwischenwerte += Wert > 0 && Wert < 1000;
    Vorher = Wert;
  }
  EXPECT_EQ(Neuanfaenge, Anpassen ? 1 : 0);
  EXPECT_EQ(Werte.count(1000), Anpassen ? 2 : 1);
  EXPECT_GT(Zwischenwerte, 2);
}

INSTANTIATE_TEST_SUITE_P(FensterTest, Fortschritt, ::testing::Bool());

const QString Tiefenhinweis = "Entwicklungstiefe angeben";

// The depth's hint tells the lines to expect once there is a rule system.
struct TLinienfall {
  std::vector<std::string> Zeilen;
  int32_t Tiefe;
  const char* Zeile;
};

void PrintTo(const TLinienfall& Fall, std::ostream* Aus) { *Aus << Fall.Zeile; }

class ErwarteteLinien : public FensterTest, public testing::WithParamInterface<TLinienfall> {};

TEST_P(ErwarteteLinien, TellsExpectedLines) {
  const TLinienfall& Fall = GetParam();
  F->TiefeSetzen(Fall.Tiefe);
  EXPECT_EQ(F->ETiefe->toolTip(), Tiefenhinweis);  // no rule system yet
  for (const std::string& Z : Fall.Zeilen) R.RegelHinzufuegen(Z);
  F->RegelsystemUebergeben(R);
  EXPECT_EQ(F->ETiefe->toolTip(), Tiefenhinweis + "\n" + Fall.Zeile);
}

const std::vector<std::string> Eingebaut(std::begin(StandardRegeln), std::end(StandardRegeln));

INSTANTIATE_TEST_SUITE_P(
    FensterTest, ErwarteteLinien,
    testing::Values(
        TLinienfall{Eingebaut, 0, "Erwartete Linien bei Tiefe 0: 0"},
        TLinienfall{Eingebaut, 1, "Erwartete Linien bei Tiefe 1: 4"},
        TLinienfall{Eingebaut, 2, "Erwartete Linien bei Tiefe 2: 12"},
        TLinienfall{Eingebaut, 4, "Erwartete Linien bei Tiefe 4: 76"},
        TLinienfall{{"A->F", "F->FF"}, 30, "Erwartete Linien bei Tiefe 30: 536.870.912"},
        TLinienfall{{"A->FFFFF", "F->FFFFF"},
                    27,
                    "Erwartete Linien bei Tiefe 27: 7.450.580.596.923.828.125"},
        TLinienfall{{"A->FFFFF", "F->FFFFF"},
                    28,
                    "Erwartete Linien bei Tiefe 28: mehr als 18.446.744.073.709.551.615"}));

// Accepting a depth, and showing the hint after the rules changed elsewhere.
TEST_F(FensterTest, DepthHintFollowsDepthAndRules) {
  Standard();
  EXPECT_EQ(Eingeben(F->ETiefe, "3"), QStringList());
  EXPECT_EQ(F->ETiefe->toolTip(), Tiefenhinweis + "\nErwartete Linien bei Tiefe 3: 32");
  R.Axiom = "AA";
  QHelpEvent Frage(QEvent::ToolTip, QPoint(5, 5), F->ETiefe->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(F->ETiefe, &Frage);
  EXPECT_EQ(F->ETiefe->toolTip(), Tiefenhinweis + "\nErwartete Linien bei Tiefe 3: 64");
}

// Pixels of the field in its highlight colour, as it shows now.
int Hervorgehoben(QLineEdit* E) {
  const QImage Bild = E->grab().toImage();
  const QRgb Farbe = E->palette().color(QPalette::Active, QPalette::Highlight).rgb();
  int Anzahl = 0;
  for (int y = 0; y < Bild.height(); ++y)
    for (int x = 0; x < Bild.width(); ++x) Anzahl += Bild.pixel(x, y) == Farbe;
  return Anzahl;
}

// A style whose inactive windows show selections pale, set before the
// window is made.
class BlasseAuswahl : public FensterTest {
 protected:
  void SetUp() override {
    QPalette P = Alt;
    P.setColor(QPalette::Inactive, QPalette::Highlight, QColor(230, 230, 230));
    QApplication::setPalette(P);
    FensterTest::SetUp();
  }
  void TearDown() override {
    FensterTest::TearDown();
    QApplication::setPalette(Alt);
  }
  const QPalette Alt = QApplication::palette();
};

TEST_F(BlasseAuswahl, MarkedCharacterShowsWhileThePromptWaits) {
  // 99 characters, far more than the field shows at once.
  Regeln(std::string(90, 'F') + std::string(9, '+'), {});
  F->TiefeSetzen(0);
  Waehlen(F->RGSchrittModus, 1);
  QList<int> Auswahl, Pixel;  // at the first, third and last prompt
  TAntworter A;
  for (int i = 1; i <= 99; ++i)
    A.Anhaengen([&, i](QWidget* W) {
      if (W != WeiterBox || !WeiterBox->isActiveWindow()) return false;
      EXPECT_FALSE(FZeichenform->isActiveWindow());
      if (i == 1 || i == 3 || i == 99) {
        Auswahl << FZeichenform->EString->selectionStart();
        Pixel << Hervorgehoben(FZeichenform->EString);
      }
      QTest::keyClick(WeiterBox, Qt::Key_Return);
      return true;
    });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(A.Fertig());
  EXPECT_EQ(Auswahl, QList<int>({-1, 1, 97}));
  ASSERT_EQ(Pixel.size(), 3);
  EXPECT_EQ(Pixel[0], 0);
  // Highlighted although the window is not active, and scrolled into view.
  EXPECT_GT(Pixel[1], 20);
  EXPECT_GT(Pixel[2], 20);
}

TEST_F(FensterTest, StoppedFittingUsesStepOneTenthAndStillDraws) {
  Regeln("F", {"F->FF"});
  F->TiefeSetzen(30);
  const_cast<TZeichenmaschine&>(F->Maschine()).JedesZeichen(true);  // jumps would end it at once
  TAntworter A;
  A.Anhaengen([&](QWidget* W) {
    auto* Box = qobject_cast<QMessageBox*>(W);
    if (!Box) return false;
    A.Meldungen << Box->text();
    // The drawing that follows is stopped as well.
    QTimer::singleShot(50, F, [&] { QTest::mouseClick(F->BAbbrechen, Qt::LeftButton); });
    Box->buttons().first()->click();
    return true;
  });
  QTimer::singleShot(50, F, [&] { QTest::mouseClick(F->BAbbrechen, Qt::LeftButton); });
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(A.Meldungen,
            QStringList({"Bestimmung der Schrittweite abgebrochen.\r\nSchrittweite 0.1 gewählt"}));
  EXPECT_EQ(F->ESchrittweite->text(), "0.100");
  EXPECT_TRUE(F->BAbbrechen->isHidden());
}

TEST_F(FensterTest, StackErrorEndsOnlyTheRun) {
  Regeln("F]", {});
  Waehlen(F->RGSchrittweite, 0);
  F->TiefeSetzen(0);
  TAntworter A;
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(A.Meldungen,
            QStringList({"Stapelfehler: Um mehr Positionen zurück als vorher gemerkt"}));
  EXPECT_EQ(A.Titel, QStringList({"Rankenwerk"}));
  EXPECT_EQ(Bild(), MitLinien(Anfang, {{500, 680, 500, 670}}));
  // The window goes on working.
  R.Axiom = "F";
  F->StartYSetzen(600);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(A.Meldungen.size(), 1);
  EXPECT_EQ(Bild().pixel(500, 595), Gruen);
}

TEST_F(FensterTest, StackErrorInStepModeHidesTheFields) {
  Regeln("F]", {});
  Waehlen(F->RGSchrittweite, 0);
  Waehlen(F->RGSchrittModus, 1);
  F->TiefeSetzen(0);
  TProtokoll P;
  TAntworter A({Antwort(P, 1), Antwort(P, 1)});
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(P.Strings, QStringList({"F]", "F]"}));
  EXPECT_EQ(A.Meldungen,
            QStringList({"Stapelfehler: Um mehr Positionen zurück als vorher gemerkt"}));
  EXPECT_TRUE(F->EZeichen->isHidden());
  EXPECT_TRUE(F->EString->isHidden());
  EXPECT_FALSE(F->ZeichnungLaeuft());
}

TEST_F(FensterTest, ZeichnungBeendenStopsPromptAndDrawing) {
  Standard();
  Waehlen(F->RGSchrittModus, 1);
  TProtokoll P;
  TAntworter A({Antwort(P, 1), [&](QWidget* W) {
                  if (W != WeiterBox) return false;
                  ZeichnungBeenden();
                  return true;
                }});
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(A.Fertig());
  EXPECT_EQ(P.Zeichen.size(), 1);
  EXPECT_TRUE(WeiterBox->isHidden());
  EXPECT_EQ(Bild(), MitLinien(Anfang, {VierLinien[0]}));
}

TEST_F(FensterTest, ZeichnungBeendenDuringADeepDrawing) {
  Regeln("F", {"F->FF"});
  F->TiefeSetzen(30);
  QTimer::singleShot(50, F, [] { ZeichnungBeenden(); });
  TAntworter A;  // no message may come, not even the one of the stopped fitting
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_TRUE(A.Meldungen.isEmpty());
  EXPECT_FALSE(F->ZeichnungLaeuft());
  EXPECT_GT(F->Turtle().Y, -1e6);  // stopped long before the end at 680 - 0.1 * 2^30
}

TEST_F(FensterTest, QuittingTheApplicationEndsARunningDrawing) {
  LangerLauf("F->FF", 10, 30);
  bool Lief = false;
  TAntworter A;
  // As in the program: the event loop runs, a click starts the drawing, and the
  // main window's closing asks the application to quit while it draws.
  QTimer::singleShot(0, F, [&] { QTest::mouseClick(F->BZeichnen, Qt::LeftButton); });
  QTimer::singleShot(50, F, [&] {
    Lief = F->ZeichnungLaeuft();
    QCoreApplication::quit();
  });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(Lief);
  EXPECT_GT(F->Turtle().Y, -1e9);  // far from the end at 680 - 10 * 2^30
  EXPECT_FALSE(F->ZeichnungLaeuft());
  EXPECT_TRUE(F->isHidden());
  EXPECT_TRUE(A.Meldungen.isEmpty());
}

TEST_F(FensterTest, ClosingOnlyHides) {
  Standard();
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  const QImage Vorher = Bild();
  F->close();
  EXPECT_TRUE(F->isHidden());
  F->show();
  EXPECT_EQ(Bild(), Vorher);
  EXPECT_EQ(F->ETiefe->text(), "1");
}

// Qt's own icon provider reads files to type them and hangs on /proc/kmsg.
TEST_F(FensterTest, SaveDialogTypesFilesByNameOnly) {
  bool Gesehen = false;
  TAntworter A({TAntworter::Jeder([&](QWidget* W) {
    auto* D = qobject_cast<QFileDialog*>(W);
    ASSERT_NE(D, nullptr);
    Gesehen = dynamic_cast<TDateisymbole*>(D->iconProvider()) != nullptr;
    D->reject();
  })});
  QTest::mouseClick(F->BBildSpeichern, Qt::LeftButton);
  EXPECT_TRUE(Gesehen);
}

// The access key pressed as a person does, then time for the button's
// animated click.
void Druecken(QWidget* Fenster, Qt::Key Taste) {
  QTest::keyClick(Fenster, Taste, Qt::AltModifier);
  QTest::qWait(250);
}

// The drawing window with the built-in system at depth 1; the parameter is the
// random mode it starts in.
class KuerzelZeichenfenster : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    Einstellungen.Zufallsmodus = GetParam();
    ZeichenfensterErzeugen();
    F = FZeichenform;
    R.RegelnHinzufuegen(StandardRegeln);
    F->RegelsystemUebergeben(R);
    F->TiefeSetzen(1);
    F->show();
    Aktivieren(F);
    Leer = Bild();
  }
  void TearDown() override { ZeichenfensterEntfernen(); }
  QImage Bild() const { return F->zeichenflaeche->Bitmap().copy(); }

  TEinstellungenWache Wache{&Einstellungen, &ExtraWerte};
  TRegelsystem R;
  TFZeichenform* F = nullptr;
  QImage Leer;
};

TEST_P(KuerzelZeichenfenster, AltZDrawsAndLeavesTheRandomModeAlone) {
  const int Gruppe = F->RGZufallsModus->ItemIndex();
  // Qt hands a shared key to each of its controls in turn: the second press
  // would go to the group.
  for (int Mal = 1; Mal <= 2; ++Mal) {
    Druecken(F, Qt::Key_Z);
    EXPECT_NE(Bild(), Leer) << Mal << ". Alt+Z zeichnet nicht";
    EXPECT_EQ(QApplication::focusWidget(), F->BZeichnen) << Mal;
    EXPECT_EQ(Einstellungen.Zufallsmodus, GetParam()) << Mal;
    EXPECT_EQ(F->RGZufallsModus->ItemIndex(), Gruppe) << Mal;
    Druecken(F, Qt::Key_L);
    EXPECT_EQ(Bild(), Leer) << Mal << ". Alt+L löscht nicht";
  }
  // "&Tiefe" and "Schri&ttweite" share a key too.
  for (int Mal = 1; Mal <= 2; ++Mal) {
    Druecken(F, Qt::Key_T);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(F->ETiefe)) << Mal;
  }
  EXPECT_EQ(F->BZeichnen->text(), "&Zeichnen");
  EXPECT_EQ(F->RGZufallsModus->title(), "&ZufallsModus");
}

INSTANTIATE_TEST_SUITE_P(Zufall, KuerzelZeichenfenster, testing::Bool());

}  // namespace
