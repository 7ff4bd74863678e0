#include "mainwindow/LsystemHauptfenster.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "drawing/LSystemZeichnen.h"
#include "gui/Dateisymbole.h"
#include "gui/Dialoge.h"
#include "mainwindow/FensterTest.h"
#include "mainwindow/Programm.h"
#include "pictures/Bilddatei.h"
#include "tools/Bildausgabe.h"

namespace {

const QStringList Eingebaut = {"A->FF+[FA]--[FA]", "B->F", "F->FB"};

TEST_F(HauptfensterTest, StartsWithBuiltInRulesSorted) {
  Oeffnen();
  EXPECT_EQ(Eintraege(), Eingebaut);
  EXPECT_EQ(Regeln(), Eingebaut);
  EXPECT_EQ(Form->LBRegeln->currentRow(), 0);
  EXPECT_EQ(Form->ERegel->text(), "A->FF+[FA]--[FA]");
  EXPECT_EQ(Form->EAxiom->text(), "A");
  EXPECT_EQ(Form->EPlus->text(), "30.00");
  EXPECT_EQ(Form->EMinus->text(), "30.00");
  EXPECT_EQ(Form->ETiefeString->text(), "0");
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem");
  EXPECT_EQ(Form->windowTitle(), "Rankenwerk 4.0                              © Rankenwerk-Team");
  EXPECT_EQ(QApplication::focusWidget(), Form->BZeichnen);
}

TEST_F(HauptfensterTest, StartFileIsLoadedAndSorted) {
  Schreiben("Start.LSY", "FA\r\n45\r\n22.5\r\nF->F+F\r\nA->FA\r\nB->F\r\n");
  Oeffnen();
  EXPECT_EQ(Eintraege(), (QStringList{"A->FA", "B->F", "F->F+F"}));
  EXPECT_EQ(Form->EAxiom->text(), "FA");
  EXPECT_EQ(Form->EPlus->text(), "45.00");
  EXPECT_EQ(Form->EMinus->text(), "22.50");
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem");
}

TEST_F(HauptfensterTest, CommandLineFileWithLowerCaseExtension) {
  Schreiben("Start.LSY", "S\r\n30\r\n30\r\nS->S\r\n");
  Schreiben("baum.lsy", "X\r\n90\r\n90\r\nX->F[X]\r\n");
  const QString Pfad = Ordner.Datei("baum.lsy");
  Oeffnen({Pfad, "zweites.LSY"});
  EXPECT_EQ(Eintraege(), QStringList{"X->F[X]"});
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  " + Pfad.toUpper());
}

class UnbrauchbaresArgument : public HauptfensterTest,
                              public testing::WithParamInterface<const char*> {};

TEST_P(UnbrauchbaresArgument, KeepsBuiltInsAndSkipsStartFile) {
  Schreiben("Start.LSY", "S\r\n30\r\n30\r\nS->S\r\n");
  Schreiben("regeln.txt", "X\r\n90\r\n90\r\nX->F[X]\r\n");
  Oeffnen({GetParam()});
  EXPECT_EQ(Eintraege(), Eingebaut);
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem");
}

INSTANTIATE_TEST_SUITE_P(HauptfensterTest, UnbrauchbaresArgument,
                         testing::Values("regeln.txt", "fehlt.LSY", "Start"));

// A FIFO as the start file, and one named on the command line (the parameter).
class Rohr : public HauptfensterTest, public testing::WithParamInterface<const char*> {};

TEST_P(Rohr, IsSkippedWithoutBlocking) {
  ASSERT_EQ(mkfifo("Start.LSY", 0600), 0);
  ASSERT_EQ(mkfifo("rohr.LSY", 0600), 0);
  alarm(60);  // opening a FIFO to read would block; a hang ends the run instead
  Oeffnen(*GetParam() ? QStringList{GetParam()} : QStringList());
  EXPECT_EQ(Eintraege(), Eingebaut);
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem");
}

INSTANTIATE_TEST_SUITE_P(HauptfensterTest, Rohr, testing::Values("", "rohr.LSY"));

TEST_F(HauptfensterTest, AxiomCommitsOnEnterAndLeavingAndEscRestores) {
  Oeffnen();
  Form->EAxiom->setFocus();
  Form->EAxiom->setText("F+F");
  Taste(Form->EAxiom, Qt::Key_Return);
  EXPECT_EQ(Form->Regelsystem.Axiom, "F+F");
  Form->EAxiom->setText("  ");
  Taste(Form->EAxiom, Qt::Key_Escape);
  EXPECT_EQ(Form->EAxiom->text(), "F+F");
  Form->EAxiom->setText(" B ");
  Taste(Form->EAxiom, Qt::Key_Tab);
  EXPECT_EQ(Form->Regelsystem.Axiom, " B ");
}

TEST_F(HauptfensterTest, EnterInRuleFieldKeepsTypedForm) {
  Oeffnen();
  EintragKlicken(1);
  Form->ERegel->setFocus();
  Form->ERegel->setText("B -> F[+F]");
  Taste(Form->ERegel, Qt::Key_Return);
  EXPECT_EQ(Eintraege(), (QStringList{"A->FF+[FA]--[FA]", "B -> F[+F]", "F->FB"}));
  EXPECT_EQ(Regeln(), (QStringList{"A->FF+[FA]--[FA]", "B->F[+F]", "F->FB"}));
  EXPECT_EQ(Form->LBRegeln->currentRow(), 1);
  EXPECT_EQ(Form->ERegel->text(), "B -> F[+F]");
}

TEST_F(HauptfensterTest, EnterWithInvalidRuleShowsMessageAndChangesNothing) {
  Oeffnen();
  const std::pair<QString, QString> Faelle[] = {
      {"B -> F[+F", "Fehler in der Regel: \r\nKlammerfehler"},
      {"BF -> F", "Fehler in der Regel: \r\nRegelkopf falsch"},
      {"B", "Fehler in der Regel: \r\nleer"},
      {"", "Fehler in der Regel: \r\nleer"},
  };
  Form->ERegel->setFocus();
  for (const auto& [Zeile, Meldung] : Faelle) {
    Form->ERegel->setText(Zeile);
    TBoxInhalt Box;
    BoxBeantworten(Box);
    Taste(Form->ERegel, Qt::Key_Return);
    EXPECT_EQ(Box.Text, Meldung) << Zeile.toStdString();
    EXPECT_EQ(Box.Titel, "Rankenwerk");
    EXPECT_EQ(Box.Knoepfe, QStringList{"OK"});
    EXPECT_EQ(Form->ERegel->text(), Zeile);
    EXPECT_EQ(Eintraege(), Eingebaut);
    EXPECT_EQ(Regeln(), Eingebaut);
  }
  // The message box took the focus for a moment; that is no leaving of the field.
  EXPECT_EQ(Form->focusWidget(), Form->ERegel);
}

TEST_F(HauptfensterTest, EscRestoresCanonicalFormAndLeavingThenAsks) {
  Oeffnen();
  Form->ERegel->setFocus();
  Form->ERegel->setText("A -> F F");
  Taste(Form->ERegel, Qt::Key_Return);
  Form->ERegel->setText("A -> G");
  Taste(Form->ERegel, Qt::Key_Escape);
  EXPECT_EQ(Form->ERegel->text(), "A->FF");
  EXPECT_EQ(Form->LBRegeln->item(0)->text(), "A -> F F");

  TBoxInhalt Box;
  BoxBeantworten(Box, "Abbrechen");
  Taste(Form->ERegel, Qt::Key_Tab);
  EXPECT_EQ(Box.Anzahl, 1);
  EXPECT_EQ(Box.Titel, "Bestätigung");
  EXPECT_EQ(Box.Text, "Regel geändert aber nicht übernommen\r\nÜbernehmen?");
  EXPECT_EQ(Box.Symbol, QMessageBox::Question);
  EXPECT_EQ(Box.Knoepfe, (QStringList{"OK", "Abbrechen"}));
  EXPECT_EQ(Form->ERegel->text(), "A->FF");
  EXPECT_EQ(Form->LBRegeln->item(0)->text(), "A -> F F");
}

TEST_F(HauptfensterTest, LeavingUnchangedRuleFieldAsksNothing) {
  Oeffnen();
  Form->ERegel->setFocus();
  TBoxInhalt Box;
  BoxBeantworten(Box);
  Taste(Form->ERegel, Qt::Key_Tab);
  QTest::qWait(50);
  EXPECT_EQ(Box.Anzahl, 0);
  EXPECT_EQ(QApplication::focusWidget(), Form->Button1);
}

TEST_F(HauptfensterTest, LeavingWithChangeAnsweredOkCommits) {
  Oeffnen();
  Form->ERegel->setFocus();
  Form->ERegel->setText("A->F-F");
  TBoxInhalt Box;
  BoxBeantworten(Box, "OK");
  Taste(Form->ERegel, Qt::Key_Tab);
  EXPECT_EQ(Box.Anzahl, 1);
  EXPECT_EQ(Form->LBRegeln->item(0)->text(), "A->F-F");
  EXPECT_EQ(Regeln().front(), "A->F-F");
  EXPECT_EQ(QApplication::focusWidget(), Form->Button1);
}

TEST_F(HauptfensterTest, SelectingAnotherRuleCommitsToThePreviousOne) {
  Oeffnen();
  Form->ERegel->setFocus();
  Form->ERegel->setText("A -> FA");
  TBoxInhalt Box;
  BoxBeantworten(Box, "OK");
  EintragKlicken(2);
  EXPECT_EQ(Box.Anzahl, 1);
  EXPECT_EQ(Eintraege(), (QStringList{"A -> FA", "B->F", "F->FB"}));
  EXPECT_EQ(Regeln(), (QStringList{"A->FA", "B->F", "F->FB"}));
  EXPECT_EQ(Form->LBRegeln->currentRow(), 2);
  EXPECT_EQ(Form->ERegel->text(), "F->FB");
  // Arrow keys select as well.
  Taste(Form->LBRegeln, Qt::Key_Up);
  EXPECT_EQ(Form->ERegel->text(), "B->F");
}

TEST_F(HauptfensterTest, DeletingAsksAndSelectsFirstRule) {
  Oeffnen();
  EintragKlicken(2);
  TBoxInhalt Box;
  BoxBeantworten(Box, "Abbrechen");
  Klicken(Form->Button1);
  EXPECT_EQ(Box.Text, "Regel F->FB  löschen?");
  EXPECT_EQ(Box.Titel, "Bestätigung");
  EXPECT_EQ(Eintraege(), Eingebaut);

  BoxBeantworten(Box, "OK");
  Klicken(Form->Button1);
  EXPECT_EQ(Eintraege(), (QStringList{"A->FF+[FA]--[FA]", "B->F"}));
  EXPECT_EQ(Regeln(), (QStringList{"A->FF+[FA]--[FA]", "B->F"}));
  EXPECT_EQ(Form->LBRegeln->currentRow(), 0);
  EXPECT_EQ(Form->ERegel->text(), "A->FF+[FA]--[FA]");
}

TEST_F(HauptfensterTest, DeletingTheOnlyRuleLeavesThePlaceholder) {
  Schreiben("Start.LSY", "A\r\n30\r\n30\r\nA->B\r\n");
  Oeffnen();
  TBoxInhalt Box;
  BoxBeantworten(Box, "OK");
  Klicken(Form->Button1);
  EXPECT_EQ(Box.Text, "Regel A->B  löschen?");
  EXPECT_EQ(Eintraege(), QStringList{"* -> *"});
  ASSERT_EQ(Form->Regelsystem.Count(), 1);
  EXPECT_EQ(Form->Regelsystem.Items(0).Kopf, '*');
  EXPECT_EQ(Form->Regelsystem.Items(0).Rumpf, "*");
  EXPECT_EQ(Form->ERegel->text(), "* -> *");
}

TEST_F(HauptfensterTest, InsertAndDeleteKeysInTheList) {
  Oeffnen();
  EintragKlicken(1);
  Taste(Form->LBRegeln, Qt::Key_Insert);
  EXPECT_EQ(Eintraege(), (QStringList{"A->FF+[FA]--[FA]", "B->F", "F->FB", "* -> *"}));
  EXPECT_EQ(Regeln().back(), "*->*");
  EXPECT_EQ(Form->LBRegeln->currentRow(), 3);
  EXPECT_EQ(Form->ERegel->text(), "* -> *");
  EXPECT_EQ(QApplication::focusWidget(), Form->LBRegeln);

  TBoxInhalt Box;
  BoxBeantworten(Box, "OK");
  Taste(Form->LBRegeln, Qt::Key_Delete);
  EXPECT_EQ(Box.Text, "Regel * -> *  löschen?");
  EXPECT_EQ(Eintraege(), Eingebaut);
  EXPECT_EQ(Form->LBRegeln->currentRow(), 0);

  Klicken(Form->BRegelEinfuegen);
  EXPECT_EQ(Eintraege().size(), 4);
  EXPECT_EQ(Form->ERegel->text(), "* -> *");
}

TEST_F(HauptfensterTest, AngleFieldsTakeCommaAndRefuseJunk) {
  Oeffnen();
  Form->EPlus->setFocus();
  Form->EPlus->setText("45,5");
  Taste(Form->EPlus, Qt::Key_Tab);
  EXPECT_EQ(Form->Regelsystem.WinkelPlus, 45.5);
  EXPECT_EQ(Form->EPlus->text(), "45,5");

  struct {
    QLineEdit* Feld;
    QString Meldung;
  } Faelle[] = {{Form->EPlus, "Winkel für \"+\" hat falsches Format."},
                {Form->EMinus, "Winkel für \"-\" hat falsches Format."}};
  for (const auto& F : Faelle) {
    F.Feld->setFocus();
    F.Feld->setText("abc");
    TBoxInhalt Box;
    BoxBeantworten(Box);
    Klicken(Form->EAxiom);
    EXPECT_EQ(Box.Text, F.Meldung);
    EXPECT_EQ(Box.Titel, "Rankenwerk");
  }
  EXPECT_EQ(Form->EPlus->text(), "45.50");
  EXPECT_EQ(Form->EMinus->text(), "30.00");
  EXPECT_EQ(Form->Regelsystem.WinkelPlus, 45.5);
  EXPECT_EQ(Form->Regelsystem.WinkelMinus, 30.0);
}

TEST_F(HauptfensterTest, ClickAfterLeavePromptStillCounts) {
  Oeffnen();
  Form->EPlus->setFocus();
  Form->EPlus->setText("abc");
  TBoxInhalt Nachricht;
  QString Meldung, Titel;
  ModalBeantworten([&](QWidget* W) {
    // The box of the angle field takes the release of the press on BSave.
    auto* Box = qobject_cast<QMessageBox*>(W);
    Meldung = Box->text();
    ModalBeantworten([&](QWidget* D) {
      Titel = D->windowTitle();
      BoxBeantworten(Nachricht);
      static_cast<QDialog*>(D)->reject();
    });
    QTest::mouseClick(Box->buttons().front(), Qt::LeftButton);
  });
  QTest::mousePress(Form->BSave, Qt::LeftButton);
  Abwarten();
  EXPECT_EQ(Meldung, "Winkel für \"+\" hat falsches Format.");
  EXPECT_EQ(Titel, "Lindenmayer-Regelsystem speichern");
  EXPECT_EQ(Nachricht.Text, "Regelsystem nicht gespeichert.");
  EXPECT_FALSE(Form->BSave->isDown());
}

TEST_F(HauptfensterTest, ErrorInHandlerReachesTheErrorBox) {
  Oeffnen();
  Form->EMinus->setFocus();
  Form->EMinus->setText("1e400");
  TBoxInhalt Box;
  BoxBeantworten(Box);
  Taste(Form->EMinus, Qt::Key_Tab);
  EXPECT_EQ(Box.Text, "Gleitkommaüberlauf.");
  EXPECT_EQ(Box.Symbol, QMessageBox::Critical);
  EXPECT_EQ(Form->Regelsystem.WinkelMinus, 30.0);
  EXPECT_EQ(Form->EMinus->text(), "30.00");  // the angle in force, not the refused text

  // A derivation beyond the length limit ends the action; the views stay.
  Form->MBildStringAlle->setPlainText("alt");
  Form->ETiefeString->setText("40");
  BoxBeantworten(Box);
  Klicken(Form->BAnzeigen);
  EXPECT_TRUE(Box.Text.startsWith("Stringlaenge ist zu groß:  ")) << Box.Text.toStdString();
  EXPECT_TRUE(Box.Text.endsWith(".")) << Box.Text.toStdString();
  EXPECT_EQ(Box.Symbol, QMessageBox::Critical);
  EXPECT_EQ(Form->MBildStringAlle->toPlainText(), "alt");
  EXPECT_TRUE(Form->isVisible());
}

TEST_F(HauptfensterTest, DerivedStringsView) {
  Oeffnen();
  Klicken(Form->BAnzeigen);
  EXPECT_EQ(Form->MBildStringAlle->toPlainText(), "A");
  EXPECT_EQ(Form->MBildStringTerminal->toPlainText(), "");
  Form->ETiefeString->setFocus();
  Form->ETiefeString->setText("1");
  Klicken(Form->BAnzeigen);
  EXPECT_EQ(Form->Regelsystem.Tiefe, 1);
  EXPECT_EQ(Form->MBildStringAlle->toPlainText(), "FF+[FA]--[FA]");
  EXPECT_EQ(Form->MBildStringTerminal->toPlainText(), "FF+[F]--[F]");

  Form->ETiefeString->setFocus();
  Form->ETiefeString->setText("abc");
  TBoxInhalt Box;
  Klicken(Form->EAxiom);
  EXPECT_EQ(Form->ETiefeString->text(), "1");

  Form->ETiefeString->setText("-3");
  Form->ETiefeString->setFocus();
  Klicken(Form->BAnzeigen);
  EXPECT_EQ(Form->MBildStringAlle->toPlainText(), "A");

  // With leaves their characters are terminal.
  Form->Regelsystem.Axiom = "A{f}|";
  Einstellungen.Zeichensatz = TZeichensatz::MitBlaettern;
  Klicken(Form->BAnzeigen);
  EXPECT_EQ(Form->MBildStringTerminal->toPlainText(), "{f}|");
}

TEST_F(HauptfensterTest, NoteOnlyWhereTheFirstOfSeveralRulesActs) {
  using T = std::tuple<const char*, TRegelwahl, bool>;
  Oeffnen();
  for (const auto& [Regeln, Wahl, Sichtbar] :
       {T{"X->F\r\nX->FF\r\n", TRegelwahl::ErsteRegel, true},
        T{"X->F\r\nX->FF\r\n", TRegelwahl::Zufaellig, false},
        T{"X->F\r\nF->FF\r\n", TRegelwahl::ErsteRegel, false}}) {
    Einstellungen.Regelwahl = Wahl;
    Schreiben("p.LSY", std::string("X\r\n30\r\n30\r\n") + Regeln);
    Form->DateiLaden(Ordner.Datei("p.LSY"));
    EXPECT_EQ(Form->LRegelwahl->isVisibleTo(Form.get()), Sichtbar) << Regeln;
  }
}

TEST_F(HauptfensterTest, ViewShows999CharactersAndRefuses1000) {
  Oeffnen();
  Form->Regelsystem.Axiom = std::string(999, 'F');
  Klicken(Form->BAnzeigen);
  EXPECT_EQ(Form->MBildStringAlle->toPlainText(), QString(999, 'F'));
  EXPECT_EQ(Form->MBildStringTerminal->toPlainText(), QString(999, 'F'));

  Form->Regelsystem.Axiom = std::string(1000, 'B');
  TBoxInhalt Box;
  BoxBeantworten(Box);
  Klicken(Form->BAnzeigen);
  EXPECT_EQ(Box.Text, "Zeichenfolgen zu lang zur Anzeige: \r\n1000  Zeichen");
  EXPECT_EQ(Box.Titel, "Rankenwerk");
  EXPECT_EQ(Form->MBildStringAlle->toPlainText(), QString(999, 'F'));
  EXPECT_EQ(Form->MBildStringTerminal->toPlainText(), QString(999, 'F'));
}

// A name typed while the dialog's completion list shows, then Return: the
// dialog closes and takes its list with it, so the next click is not lost.
TEST_F(HauptfensterTest, FileDialogLeavesNoPopupBehind) {
  Schreiben("abc1.LSY", "F\r\n90\r\n90\r\nF->FF\r\n");
  Schreiben("abc2.LSY", "F\r\n90\r\n90\r\n");
  Oeffnen();
  bool ListeGezeigt = false, Angenommen = false;
  Antworten.Anhaengen([&](QWidget* W) {
    // Until it is active, the dialog still sets up its name field.
    if (!W->isActiveWindow()) return false;
    auto* Name = W->findChild<QLineEdit*>("fileNameEdit");
    EXPECT_NE(Name, nullptr);
    if (!Name) return true;
    Name->clear();
    QTest::keyClicks(Name, "abc1.LSY");
    QAbstractItemView* Liste = Name->completer()->popup();
    // The list comes once the folder is read, which happens in the background:
    // the last key again, as a person would, until it shows.
    for (int i = 0; i < 100 && !Liste->isVisible(); ++i) {
      QTest::keyClick(Name, Qt::Key_Backspace);
      QTest::keyClicks(Name, "Y");  // keyClick(Key_Y) would type a small y
      QTest::qWait(50);
    }
    ListeGezeigt = Liste->isVisible();
    // Return with no entry of the list chosen goes to the name field.
    Liste->setCurrentIndex(QModelIndex());
    QTest::keyClick(Name, Qt::Key_Return);
    Angenommen = !W->isVisible();
    if (!Angenommen) static_cast<QDialog*>(W)->reject();
    return true;
  });
  Klicken(Form->BLoad);
  EXPECT_TRUE(ListeGezeigt);
  EXPECT_TRUE(Angenommen);
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  ABC1.LSY");
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  for (QWidget* W : QApplication::topLevelWidgets())
    EXPECT_FALSE(W->isVisible() && W->windowType() == Qt::Popup) << W->metaObject()->className();
}

TEST_F(HauptfensterTest, SaveDialogCancelledOrUsed) {
  Oeffnen();
  TBoxInhalt Box;
  QString Titel, Vorschlag;
  QStringList Knoepfe;
  ModalBeantworten([&](QWidget* W) {
    auto* D = qobject_cast<QFileDialog*>(W);
    Titel = D->windowTitle();
    for (QAbstractButton* B : D->findChild<QDialogButtonBox*>()->buttons())
      Knoepfe << B->text().remove(QLatin1Char('&'));
    Vorschlag = QFileInfo(D->selectedFiles().value(0)).fileName();
    BoxBeantworten(Box);
    D->reject();
  });
  Klicken(Form->BSave);
  EXPECT_EQ(Titel, "Lindenmayer-Regelsystem speichern");
  EXPECT_EQ(Vorschlag, "temp.LSY");
  EXPECT_EQ(Knoepfe, (QStringList{"Speichern", "Abbrechen"}));
  EXPECT_EQ(Box.Text, "Regelsystem nicht gespeichert.");
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem");

  DateiWaehlen(Ordner.Datei("baum"));
  Klicken(Form->BSave);
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  BAUM.LSY");
  EXPECT_EQ(Lesen(Ordner.Pfad("baum.LSY")),
            "A\r\n 3.00000000000000E+0001\r\n 3.00000000000000E+0001\r\n"
            "A->FF+[FA]--[FA]\r\nB->F\r\nF->FB\r\n");

  // The dialog proposes the name chosen last.
  ModalBeantworten([&](QWidget* W) {
    auto* Dlg = qobject_cast<QFileDialog*>(W);
    Vorschlag = Dlg->selectedFiles().value(0);
    BoxBeantworten(Box);
    Dlg->reject();
  });
  Klicken(Form->BSave);
  EXPECT_EQ(Vorschlag, Ordner.Datei("baum.LSY"));
}

TEST_F(HauptfensterTest, SavingOverAnExistingFileAsksFirst) {
  Schreiben("alt.LSY", "alt");
  Oeffnen();
  for (const QString& Antwort : {QString("&Nein"), QString("&Ja")}) {
    TBoxInhalt Frage, Nachricht;
    ModalBeantworten([&](QWidget* W) {
      auto* D = qobject_cast<QFileDialog*>(W);
      D->findChild<QLineEdit*>("fileNameEdit")->setText(Ordner.Datei("alt.LSY"));
      BoxBeantworten(Frage, Antwort);
      static_cast<QDialog*>(D)->accept();
      // After "Nein" the dialog stays open for another name.
      if (D->isVisible()) {
        BoxBeantworten(Nachricht);
        D->reject();
      }
    });
    Klicken(Form->BSave);
    EXPECT_EQ(Frage.Anzahl, 1);
    EXPECT_TRUE(Frage.Text.contains("alt.LSY")) << Frage.Text.toStdString();
    EXPECT_EQ(Frage.Knoepfe, (QStringList{"&Ja", "&Nein"}));
  }
  EXPECT_EQ(Lesen(Ordner.Pfad("alt.LSY")).substr(0, 3), "A\r\n");
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  ALT.LSY");
}

// A picture's name is refused in any case, also after the question whether
// to replace the file, and the dialog comes again with the name ending in
// .LSY; the file stays as it was.
TEST_F(HauptfensterTest, RuleSystemsAreNotSavedUnderPictureNames) {
  Schreiben("Bild.PNG", "Bild");
  Oeffnen();
  TBoxInhalt Ersetzen, Bildname, Nicht;
  QString Vorschlag;
  DateiWaehlen(Ordner.Datei("Bild.PNG"));
  BoxBeantworten(Ersetzen, QStringLiteral("&Ja"));
  BoxBeantworten(Bildname);
  ModalBeantworten([&](QWidget* W) {
    Vorschlag = qobject_cast<QFileDialog*>(W)->selectedFiles().value(0);
    static_cast<QDialog*>(W)->reject();
  });
  BoxBeantworten(Nicht);
  Klicken(Form->BSave);
  EXPECT_EQ(Ersetzen.Anzahl, 1);
  EXPECT_EQ(Bildname.Text,
            "„Bild.PNG“ ist kein Name für ein Regelsystem: die Endung „.PNG“ gehört zu Bildern. "
            "Regelsysteme werden als .LSY-Datei gespeichert.");
  EXPECT_EQ(Vorschlag, Ordner.Datei("Bild.LSY"));
  EXPECT_EQ(Nicht.Text, "Regelsystem nicht gespeichert.");
  EXPECT_EQ(Lesen(Ordner.Pfad("Bild.PNG")), "Bild");
}

TEST_F(HauptfensterTest, LoadKeepsFileOrderAndCancelRefreshes) {
  Schreiben("zwei.LSY", "X\r\n90\r\n-45\r\nX->F[X]\r\nF->FF\r\n");
  Schreiben("kaputt.LSY", "Y\r\n10\r\n10\r\nY->[\r\n");
  Oeffnen();
  Form->ERegel->setFocus();
  Form->ERegel->setText("A - > FF+[FA]--[FA]");
  Taste(Form->ERegel, Qt::Key_Return);

  DateiWaehlen("");
  Klicken(Form->BLoad);
  EXPECT_EQ(Eintraege(), Eingebaut);

  DateiWaehlen(Ordner.Datei("zwei.LSY"));
  Klicken(Form->BLoad);
  EXPECT_EQ(Eintraege(), (QStringList{"X->F[X]", "F->FF"}));
  EXPECT_EQ(Form->EAxiom->text(), "X");
  EXPECT_EQ(Form->EPlus->text(), "90.00");
  EXPECT_EQ(Form->EMinus->text(), "-45.00");
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  ZWEI.LSY");

  TBoxInhalt Box;
  DateiWaehlen(Ordner.Datei("kaputt.LSY"), &Box);
  Klicken(Form->BLoad);
  EXPECT_EQ(Box.Text, "Klammerfehler.");
  EXPECT_EQ(Box.Symbol, QMessageBox::Critical);
  EXPECT_EQ(Eintraege(), (QStringList{"X->F[X]", "F->FF"}));
  EXPECT_EQ(Regeln(), (QStringList{"X->F[X]", "F->FF"}));
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  ZWEI.LSY");
}

TEST_F(HauptfensterTest, DrawButtonHandsOverTheSharedSystemAfterLeaving) {
  Oeffnen();
  TRegelsystem* Erhalten = nullptr;
  double Plus = 0;
  Form->ZeichenfensterOeffnen = [&](TRegelsystem& R) {
    Erhalten = &R;
    Plus = R.WinkelPlus;
  };
  Form->EPlus->setFocus();
  Form->EPlus->setText("60");
  Klicken(Form->BZeichnen);
  EXPECT_EQ(Erhalten, &Form->Regelsystem);
  EXPECT_EQ(Plus, 60.0);
}

TEST_F(HauptfensterTest, EightBitTextsSurviveFieldsAndList) {
  Oeffnen();
  std::string Alle;
  for (int B = 1; B < 256; ++B) Alle.push_back(static_cast<char>(B));
  Form->EAxiom->setFocus();
  Form->EAxiom->setText(AusCp1252(Alle));
  Taste(Form->EAxiom, Qt::Key_Return);
  EXPECT_EQ(Form->Regelsystem.Axiom, Alle);

  std::string Rumpf;
  for (char C : Alle)
    if (C != ' ' && C != '[' && C != ']') Rumpf.push_back(C);
  const std::string Zeile = "\xE4 -> " + Rumpf;
  Form->ERegel->setFocus();
  Form->ERegel->setText(AusCp1252(Zeile));
  Taste(Form->ERegel, Qt::Key_Return);
  EXPECT_EQ(Form->Regelsystem.Items(0).Kopf, '\xE4');
  EXPECT_EQ(Form->Regelsystem.Items(0).Rumpf, Rumpf);
  EXPECT_EQ(NachCp1252(Form->LBRegeln->item(0)->text()), Zeile);

  Form->RegelsystemAnzeigen();
  EXPECT_EQ(NachCp1252(Form->LBRegeln->item(0)->text()), "\xE4->" + Rumpf);
  EXPECT_EQ(NachCp1252(Form->EAxiom->text()), Alle);
}

// A picture saved from the drawing window brings back, through "Regelsystem
// laden", its rule system and the drawing window's settings and random state:
// on a cleared surface "Zeichnen" draws it again. That holds for both formats.
TEST_F(HauptfensterTest, PictureLoadsItsRecipe) {
  Schreiben("farn.LSY", "X\r\n25\r\n25\r\nX->F+[[X]-X]-F[-X]+X\r\nF->FF\r\n");
  Schreiben("anders.LSY", "F\r\n90\r\n90\r\nF->F+F\r\n");
  ZeichenfensterErzeugen();
  Oeffnen();
  Form->RezeptUebergeben = [](const TLauf& Z) { FZeichenform->RezeptUebernehmen(Z); };
  TFZeichenform* F = FZeichenform;
  F->RegelsystemUebergeben(Form->Regelsystem);
  Form->DateiLaden("farn.LSY");
  F->FormActivate();
  F->TiefeSetzen(4);
  Einstellungen.Zufallsmodus = true;
  Einstellungen.Anfangsdicke = 2;
  Einstellungen.Schwundfaktor = 0.8;
  Einstellungen.Zeichenfarbe = 0x0000FF;
  Einstellungen.Saat = 12345;
  F->BZeichnenClick();
  const QImage Gespeichert = F->zeichenflaeche->Bitmap().copy();
  F->BildSpeichern("bild.png");
  F->BildSpeichern("bild.svg");

  for (const QString Datei : {"bild.png", "bild.svg"}) {
    Form->DateiLaden("anders.LSY");
    Einstellungen = TEinstellungen();
    Einstellungen.Saat = 7;
    F->TiefeSetzen(2);
    DateiWaehlen(Ordner.Datei(Datei));
    Klicken(Form->BLoad);
    EXPECT_EQ(Regeln(), QStringList({"X->F+[[X]-X]-F[-X]+X", "F->FF"})) << Datei.toStdString();
    EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  " + Datei.toUpper());
    EXPECT_EQ(F->Vorgaben().Tiefe, 4);
    F->FormActivate();
    F->BLoeschenClick();
    F->BZeichnenClick();
    EXPECT_EQ(F->zeichenflaeche->Bitmap(), Gespeichert) << Datei.toStdString();
  }
}

// A random picture from rankenwerk-render, loaded here and drawn on a cleared
// surface, comes out the same; only the window's start marker is extra.
TEST_F(HauptfensterTest, RenderedPictureIsDrawnAgainInTheWindow) {
  std::string Fehler;
  ASSERT_EQ(BildAusgeben({"--zufall", "--saat", "7", "--tiefe", "5", "-o",
                          Ordner.Datei("render.png").toStdString()},
                         Fehler),
            0)
      << Fehler;
  Oeffnen();
  ZeichenfensterAnschliessen(*Form);
  TFZeichenform* F = FZeichenform;
  DateiWaehlen(Ordner.Datei("render.png"));
  Klicken(Form->BLoad);
  Klicken(Form->BZeichnen);
  F->BLoeschenClick();
  const QImage Marke = F->zeichenflaeche->Bitmap().convertToFormat(QImage::Format_RGB32);
  F->BZeichnenClick();
  const QImage Fenster = F->zeichenflaeche->Bitmap().convertToFormat(QImage::Format_RGB32);
  const QImage Render = QImage(Ordner.Datei("render.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(Fenster.size(), Render.size());
  int Abweichend = 0, Linienpunkte = 0;
  for (int y = 0; y < Render.height(); ++y)
    for (int x = 0; x < Render.width(); ++x) {
      if (Render.pixel(x, y) != qRgb(255, 255, 255)) ++Linienpunkte;
      if (Marke.pixel(x, y) == qRgb(255, 255, 255) && Fenster.pixel(x, y) != Render.pixel(x, y))
        ++Abweichend;
    }
  EXPECT_EQ(Abweichend, 0);
  EXPECT_GT(Linienpunkte, 1000);
}

// Dropped on the window or on one of its fields, a rule system loads as with
// "Regelsystem laden" (fields take only text); anything else, and several
// files at once, are refused with the reason, and nothing changes. The file
// is loaded after the drop is over, so its source never waits on a message.
TEST_F(HauptfensterTest, DroppedFilesLoadOrAreRefused) {
  Schreiben("busch.lsy", "F\r\n22.5\r\n22.5\r\nF->FF+[+F-F-F]-[-F+F+F]\r\n");
  Schreiben("notiz.txt", "F\r\n");
  QImage Leer(10, 10, QImage::Format_RGB32);
  Leer.fill(Qt::white);
  Leer.save("leer.png");
  Oeffnen();
  // Delivered as the window system does at the end of a drag: enter, then drop.
  auto Ablegen = [&](QWidget* Ziel, const QStringList& Namen) {
    QMimeData Daten;
    QList<QUrl> Adressen;
    QStringList Pfade;
    for (const QString& Name : Namen) {
      Adressen << QUrl::fromLocalFile(Ordner.Datei(Name));
      Pfade << Adressen.back().toString();
    }
    // A file manager sends the names as text, too.
    Daten.setUrls(Adressen);
    Daten.setText(Pfade.join(QLatin1Char('\n')));
    const QPointF Ort(Ziel->width() / 2.0, Ziel->height() / 2.0);
    QDragEnterEvent Eintritt(Ort.toPoint(), Qt::CopyAction, &Daten, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Ziel, &Eintritt);
    QWidget* Empfaenger = Eintritt.isAccepted() ? Ziel : Form.get();
    QDropEvent Ablage(Empfaenger == Ziel ? Ort : QPointF(Ziel->mapTo(Form.get(), Ort.toPoint())),
                      Qt::CopyAction, &Daten, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Empfaenger, &Ablage);
    const QStringList Vorher = Regeln();
    const QString Axiom = Form->EAxiom->text();
    Abwarten();
    return std::make_pair(Vorher, Axiom);
  };
  const struct {
    QStringList Namen;
    QString Meldung;
  } Abgelehnt[] = {
      {{"notiz.txt"},
       "„notiz.txt“ lässt sich nicht laden: hier lassen sich nur Regelsysteme (.LSY) "
       "und Bilder mit Rezept (.png, .svg) ablegen."},
      {{"leer.png"}, "Das Bild enthält kein Rankenwerk-Rezept."},
      {{"busch.lsy", "notiz.txt"},
       "Es lässt sich nur eine Datei auf einmal laden; abgelegt wurden 2. Keine davon wurde "
       "geladen."},
  };
  for (const auto& Fall : Abgelehnt) {
    TBoxInhalt Box;
    BoxBeantworten(Box);
    Ablegen(Form.get(), Fall.Namen);
    EXPECT_EQ(Box.Text, Fall.Meldung);
    EXPECT_EQ(Regeln(), Eingebaut);
    EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem");
  }
  // On the axiom's field: no path as text, and loaded only once the drop is over.
  const auto [WaehrendDerAblage, AxiomDanach] = Ablegen(Form->EAxiom, {"busch.lsy"});
  EXPECT_EQ(WaehrendDerAblage, Eingebaut);
  EXPECT_EQ(Regeln(), QStringList{"F->FF+[+F-F-F]-[-F+F+F]"});
  EXPECT_EQ(Eintraege(), QStringList{"F->FF+[+F-F-F]-[-F+F+F]"});
  EXPECT_EQ(Form->EPlus->text(), "22.50");
  EXPECT_EQ(Form->EAxiom->text(), "F");
  EXPECT_EQ(Form->GRegelsystem->title(), "Regelsystem:  BUSCH.LSY");
}

// A picture whose recipe holds a value out of its field's range is refused
// whole: the message names the value, and neither the rules nor the drawing
// window change; the window goes on as before.
TEST_F(HauptfensterTest, PictureWithAValueOutOfRangeChangesNothing) {
  Oeffnen();
  ZeichenfensterAnschliessen(*Form);
  TFZeichenform* F = FZeichenform;
  TLauf Z;
  Z.Regeln = TRegelstand::AusText("X\r\n25\r\n25\r\nX->F+[[X]-X]-F[-X]+X\r\nF->FF\r\n");
  Z.Tiefe = 4;
  std::string Text = RezeptAlsText(Z);
  Text.replace(Text.find("StartX: 500"), 11, "StartX: 1e19");
  QImage Bild(10, 10, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  PngSpeichern(Bild, Ordner.Datei("farn.png").toStdString(), Text);
  const TEinstellungen Vorher = Einstellungen;
  TBoxInhalt Box;
  DateiWaehlen(Ordner.Datei("farn.png"), &Box);
  Klicken(Form->BLoad);
  EXPECT_EQ(Box.Text,
            "Bild enthält kein gültiges Rezept: x hat falsches Format oder\r\naußerhalb des "
            "zulässigen Bereichs von 0 bis 1000.");
  EXPECT_EQ(Regeln(), Eingebaut);
  EXPECT_EQ(F->Vorgaben().Tiefe, 2);
  EXPECT_EQ(F->Vorgaben().StartX, 500.0);
  EXPECT_EQ(Einstellungen, Vorher);
  QTest::mouseClick(F->BLoeschen, Qt::LeftButton);
  QTest::mouseClick(F->BZeichnen, Qt::LeftButton);
  EXPECT_EQ(Antworten.Meldungen, QStringList());
}

// The picture's name proposed is that of the rule system's file, also when it
// was saved under a new name.
TEST_F(HauptfensterTest, PictureNamedAfterTheRuleSystemsFile) {
  Oeffnen();
  ZeichenfensterAnschliessen(*Form);
  DateiWaehlen(Ordner.Datei("neu.LSY"));
  Klicken(Form->BSave);
  QString Vorschlag;
  ModalBeantworten([&](QWidget* W) {
    auto* D = qobject_cast<QFileDialog*>(W);
    ASSERT_NE(D, nullptr);
    Vorschlag = D->findChild<QLineEdit*>("fileNameEdit")->text();
    D->reject();
  });
  Klicken(FZeichenform->BBildSpeichern);
  EXPECT_EQ(Vorschlag, "neu.png");
}

}  // namespace
