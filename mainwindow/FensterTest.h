// Fixture of the main window tests: a fresh working folder and a shown,
// active main window built without the about box.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "drawing/FensterTestHilfen.h"
#include "drawing/LSystemZeichnen.h"
#include "drawing/UnitWeiter.h"
#include "gui/Eingabefeld.h"
#include "gui/TestHilfen.h"
#include "mainwindow/LsystemHauptfenster.h"

class HauptfensterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Ordner.isValid());
    Vorher = QDir::currentPath();
    QDir::setCurrent(Ordner.path());
  }
  void TearDown() override {
    AntwortenVerwerfen();
    Form.reset();
    // A drawing window a test made goes with it, with its dialogs.
    delete FZeichenform;
    FZeichenform = nullptr;
    WeiterBox = nullptr;
    ExtraEinstellungen = nullptr;
    QDir::setCurrent(Vorher);
  }

  void Oeffnen(const QStringList& Argumente = {}) {
    Form = std::make_unique<TForm1>(Argumente);
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }

  static void Schreiben(const QString& Name, const QByteArray& Inhalt) {
    QFile D(Name);
    ASSERT_TRUE(D.open(QIODevice::WriteOnly));
    D.write(Inhalt);
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

  void EintragKlicken(int Zeile) {
    QListWidget* L = Form->LBRegeln;
    QTest::mouseClick(L->viewport(), Qt::LeftButton, {},
                      L->visualItemRect(L->item(Zeile)).center());
    Abwarten();
  }

  TEinstellungenWache Wache;
  QTemporaryDir Ordner;
  QString Vorher;
  std::unique_ptr<TForm1> Form;
};
