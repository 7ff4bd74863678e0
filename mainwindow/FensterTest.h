// Fixture of the main window tests: a fresh working folder and a shown,
// active main window built without the about box; a drawing window or an
// alarm a test left goes at its end.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "drawing/ZeichenfensterTest.h"
#include "gui/Eingabefeld.h"
#include "gui/TestHilfen.h"
#include "mainwindow/LsystemHauptfenster.h"

class HauptfensterTest : public testing::Test {
 protected:
  void SetUp() override {
    Vorher = QDir::currentPath();
    QDir::setCurrent(Ordner.Weg());
  }
  void TearDown() override {
    alarm(0);
    EXPECT_EQ(Antworten.Meldungen, QStringList());
    EXPECT_EQ(Antworten.Titel, QStringList());
    Form.reset();
    // A drawing window a test made goes with it, with its dialogs.
    ZeichenfensterEntfernen();
    QDir::setCurrent(Vorher);
  }

  void Oeffnen(const QStringList& Argumente = {}) {
    Form = std::make_unique<TForm1>(Argumente);
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }

  void Schreiben(const std::string& Name, const std::string& Inhalt) const {
    Ordner.Schreiben(Name, Inhalt);
  }

  QStringList Eintraege() const {
    QStringList L;
    for (int i = 0; i < Form->LBRegeln->count(); ++i) L << Form->LBRegeln->item(i)->text();
    return L;
  }

  QStringList Regeln() const {
    QStringList L;
    for (int i = 0; i < Form->Regelsystem.Count(); ++i)
      L << QString::fromLatin1(TRegelsystem::RegelAlsText(Form->Regelsystem.Items(i)));
    return L;
  }

  void Klicken(QWidget* W) {
    QTest::mouseClick(W, Qt::LeftButton);
    Abwarten();
  }

  void Taste(QWidget* W, Qt::Key T) {
    QTest::keyClick(W, T);
    Abwarten();
  }

  // The dialogs to come, answered in the order asked for.
  void BoxBeantworten(TBoxInhalt& Box, const QString& Knopf = QStringLiteral("OK")) {
    Antworten.Anhaengen(TAntworter::Box(Box, Knopf));
  }
  void ModalBeantworten(std::function<void(QWidget*)> Antwort) {
    Antworten.Anhaengen(TAntworter::Jeder(std::move(Antwort)));
  }

  // Answers the next file dialog: picks Pfad, or cancels for an empty one,
  // then answers the message box that may follow.
  void DateiWaehlen(const QString& Pfad, TBoxInhalt* Danach = nullptr) {
    ModalBeantworten([this, Pfad, Danach](QWidget* W) {
      auto* D = qobject_cast<QFileDialog*>(W);
      ASSERT_NE(D, nullptr);
      if (Danach) BoxBeantworten(*Danach);
      if (Pfad.isEmpty()) {
        D->reject();
      } else {
        D->findChild<QLineEdit*>("fileNameEdit")->setText(Pfad);
        static_cast<QDialog*>(D)->accept();
      }
    });
  }

  void EintragKlicken(int Zeile) {
    QListWidget* L = Form->LBRegeln;
    QTest::mouseClick(L->viewport(), Qt::LeftButton, {},
                      L->visualItemRect(L->item(Zeile)).center());
    Abwarten();
  }

  TEinstellungenWache Wache{&Einstellungen, &ExtraWerte};
  TQOrdner Ordner;
  QString Vorher;
  std::unique_ptr<TForm1> Form;
  TAntworter Antworten;  // dialogs no test asked for land in its Meldungen and Titel
};
