// Fixture of the drawing window's tests: a fresh window, shown and active,
// with the default settings and a folder of its own, and what the tests of its
// rooms share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLine>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "drawing/Extras.h"
#include "drawing/LSystemZeichnen.h"
#include "drawing/UnitWeiter.h"
#include "engine/EinstellungenTest.h"
#include "engine/Rezept.h"
#include "gui/Beschriftung.h"
#include "gui/Dateisymbole.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"
#include "gui/TestHilfen.h"
#include "pictures/BildLeinwand.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgTestHilfen.h"
#include "turtle/turtleUnit.h"

inline const QRgb Gruen = qRgb(0, 128, 0);
inline const QRgb Rot = qRgb(255, 0, 0);

// The built-in system at depth 1 with step 10 from (500, 680), heading 90.
inline const std::vector<QLine> VierLinien = {
    {500, 680, 500, 670}, {500, 670, 500, 660}, {500, 660, 495, 651}, {500, 660, 505, 651}};

// The picture with these one-pixel lines drawn over it.
inline QImage MitLinien(QImage Bild, const std::vector<QLine>& Linien, uint32_t Farbe = 0x008000) {
  {
    TBildLeinwand L(Bild);
    L.StiftFarbeSetzen(Farbe);
    L.StiftBreiteSetzen(1);
    for (const QLine& Z : Linien) L.Linie(Z.x1(), Z.y1(), Z.x2(), Z.y2());
    L.Ausgeben();
  }
  return Bild;
}

// The smallest rectangle holding all pixels of this colour, or with Gleich
// false of any other (empty when none).
inline QRect Umfang(const QImage& Bild, QRgb Farbe, bool Gleich = true) {
  QRect R;
  for (int y = 0; y < Bild.height(); ++y)
    for (int x = 0; x < Bild.width(); ++x)
      if ((Bild.pixel(x, y) == Farbe) == Gleich) R |= QRect(x, y, 1, 1);
  return R;
}

// Starts a save with Speichern and waits while Laeuft says it goes on in the
// background: what the start refused or a message at its end said, else
// "(kein Fehler)".
inline std::string Gespeichert(const std::function<void()>& Speichern,
                               const std::function<bool()>& Laeuft) {
  TAntworter A;
  std::string Meldung = Fehlertext(Speichern);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Laeuft(); }, 120000));
  Abwarten();
  if (Meldung != "(kein Fehler)" || A.Meldungen.empty()) return Meldung;
  return A.Meldungen.join('|').toStdString();
}

// The controls of Fenster that are not wholly in sight: outside the window,
// over the picture area Bild, or with a caption that runs over its control
// or over another one.
inline QStringList NichtZuSehen(QWidget* Fenster, QWidget* Bild) {
  QStringList Namen;
  for (QWidget* W : Fenster->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (W != Bild && W->isVisible() &&
        (!Fenster->rect().contains(W->geometry()) || W->geometry().intersects(Bild->geometry())))
      Namen << W->objectName();
  for (const TUeberstand& U : Ueberstaende(Fenster) + Ueberdeckungen(Fenster))
    Namen << U.Steuerelement->objectName() + ": " + U.Text;
  return Namen;
}

// Deletes the drawing window a test made, with its dialogs.
inline void ZeichenfensterEntfernen() {
  delete FZeichenform;
  FZeichenform = nullptr;
  WeiterBox = nullptr;
  ExtraEinstellungen = nullptr;
}

class FensterTest : public ::testing::Test {
 protected:
  // Saves the window's picture under this name in the folder and waits for it.
  std::string BildGespeichert(const char* Name) {
    return Gespeichert([&] { F->BildSpeichern(Ordner.Datei(Name)); },
                       [&] { return F->SpeichernLaeuft(); });
  }
  void SetUp() override {
    ZeichenfensterErzeugen();
    F = FZeichenform;
    Anfang = F->zeichenflaeche->Bitmap().copy();
    F->show();
    Aktivieren(F);
  }

  void TearDown() override { ZeichenfensterEntfernen(); }

  QImage Bild() const { return F->zeichenflaeche->Bitmap().copy(); }

  // Types Text into the field and tabs away; returns the messages shown.
  QStringList Eingeben(TEingabefeld* Feld, const QString& Text) {
    TAntworter A;
    Feld->setFocus(Qt::TabFocusReason);
    Feld->setText(Text);
    F->BZeichnen->setFocus(Qt::TabFocusReason);
    Aktivieren(F);
    return A.Meldungen;
  }

  // On the item's circle: a click beside a short caption hits nothing.
  void Waehlen(TRadioGruppe* G, int Item) {
    QRadioButton* R = G->Items[Item];
    QTest::mouseClick(R, Qt::LeftButton, {}, QPoint(8, R->height() / 2));
  }

  void Regeln(const std::string& Axiom, std::vector<std::string> Zeilen) {
    R.Axiom = Axiom;
    for (const std::string& Z : Zeilen) R.RegelHinzufuegen(Z);
    F->RegelsystemUebergeben(R);
  }

  // A long run to act in while it draws: axiom F with one rule, fixed step.
  void LangerLauf(const std::string& Regel, double Schritt, int32_t Tiefe) {
    Regeln("F", {Regel});
    Waehlen(F->RGSchrittweite, 0);
    F->SchrittweiteSetzen(Schritt);
    F->TiefeSetzen(Tiefe);
    // Jumps would end it at once.
    F->Maschine().JedesZeichen(true);
  }

  // Built-in system, depth 1, fixed step 10.
  void Standard() {
    R.RegelnHinzufuegen(StandardRegeln);
    F->RegelsystemUebergeben(R);
    Waehlen(F->RGSchrittweite, 0);
    F->TiefeSetzen(1);
  }

  TEinstellungenWache Wache{&Einstellungen, &ExtraWerte};
  TQOrdner Ordner;
  TRegelsystem R;
  TFZeichenform* F = nullptr;
  QImage Anfang;
};

// Steps on the extra settings dialog, each once it is active: one notes the
// seed shown, types Eingabe into the seed field and leaves it; one clicks a
// button.
inline TAntworter::TSchritt SaatEingeben(const QString& Eingabe, QString& Gezeigt) {
  return [Eingabe, &Gezeigt](QWidget* W) {
    if (W != ExtraEinstellungen || !W->isActiveWindow()) return false;
    Gezeigt = ExtraEinstellungen->ESaat->text();
    ExtraEinstellungen->ESaat->setFocus(Qt::TabFocusReason);
    ExtraEinstellungen->ESaat->setText(Eingabe);
    ExtraEinstellungen->EDicke->setFocus(Qt::TabFocusReason);
    return true;
  };
}

inline TAntworter::TSchritt ExtrasKlicken(QPushButton* TExtraEinstellungen::*Knopf) {
  return [Knopf](QWidget* W) {
    if (W != ExtraEinstellungen || !W->isActiveWindow()) return false;
    QTest::mouseClick(ExtraEinstellungen->*Knopf, Qt::LeftButton);
    return true;
  };
}

// A step that checks the state shown with the prompt, then answers it.
struct TProtokoll {
  QStringList Zeichen;   // EZeichen at each prompt
  QStringList Strings;   // EString at each prompt, "-" when hidden
  QList<int> Auswahl;    // start of EString's selection at each prompt
  QStringList Markiert;  // the selected text then
  int OkFokus = 0;
  QPoint Ort;
};

inline TAntworter::TSchritt Antwort(TProtokoll& P, int Ergebnis) {
  return [&P, Ergebnis](QWidget* W) {
    // Activation comes asynchronously; the focus is only set on it.
    if (W != WeiterBox || !WeiterBox->isActiveWindow()) return false;
    P.Zeichen << (FZeichenform->EZeichen->isVisible() ? FZeichenform->EZeichen->text() : "-");
    P.Strings << (FZeichenform->EString->isVisible() ? FZeichenform->EString->text() : "-");
    P.Auswahl << FZeichenform->EString->selectionStart();
    P.Markiert << FZeichenform->EString->selectedText();
    P.OkFokus += QApplication::focusWidget() == WeiterBox->OKBitBtn;
    P.Ort = WeiterBox->pos();
    if (Ergebnis == 1) QTest::keyClick(WeiterBox, Qt::Key_Return);
    if (Ergebnis == 2) WeiterBox->close();
    if (Ergebnis == 3) WeiterBox->AbbruchBitBtn->click();
    return true;
  };
}
