#include "gui/Kuerzel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include "gui/TestHilfen.h"

namespace {

// The access key pressed as a person does, then time for the button's
// animated click.
void Druecken(QWidget* Fenster, Qt::Key Taste) {
  QTest::keyClick(Fenster, Taste, Qt::AltModifier);
  QTest::qWait(250);
}

// Four controls that share Alt+A: two buttons, a group and a label with its
// field; the tab order starts at a field without a key.
struct TKuerzelfenster {
  TKuerzelfenster() {
    auto* Spalte = new QVBoxLayout(&Fenster);
    for (auto* W : std::initializer_list<QWidget*>{Start, Anker, Gruppe, Adresse, Feld, Apfel})
      Spalte->addWidget(W);
    auto* Items = new QVBoxLayout(Gruppe);
    for (auto* Item : Punkte) Items->addWidget(Item);
    Punkte[1]->setChecked(true);
    Adresse->setBuddy(Feld);
    for (QPushButton* K : {Anker, Apfel})
      QObject::connect(K, &QPushButton::clicked, [this, K] { ++Klicks[K == Apfel]; });
    KuerzelEindeutigMachen(&Fenster);
  }

  QWidget Fenster;
  QLineEdit* Start = new QLineEdit;
  QPushButton* Anker = new QPushButton("&Anker");
  QGroupBox* Gruppe = new QGroupBox("&Auswahl");
  QRadioButton* Punkte[2] = {new QRadioButton("eins"), new QRadioButton("zwei")};
  QLabel* Adresse = new QLabel("&Adresse");
  QLineEdit* Feld = new QLineEdit;
  QPushButton* Apfel = new QPushButton("&Apfel");
  int Klicks[2] = {0, 0};
};

TEST(Kuerzel, SharedKeyActsOnTheFirstInTabOrder) {
  // Controls named by letter: a Anker, g and h the group's items, f Feld, p Apfel.
  const struct {
    const char* Reihenfolge;
    char Aus;  // hidden, or disabled when it is Anker
    char Fokus;
    int KlicksAnker, KlicksApfel;
  } Faelle[] = {
      {"aghfp", 0, 'a', 2, 0},    // the drawing window's case
      {"ghafp", 0, 'g', 0, 0},    //
      {"fpagh", 0, 'f', 0, 0},    //
      {"pfagh", 0, 'p', 0, 2},    // tab order, not the order of creation
      {"pfagh", 'p', 'f', 0, 0},  // hidden controls have no key
      {"aghfp", 'a', 'g', 0, 0},  // nor have disabled ones
  };
  for (const auto& F : Faelle) {
    TKuerzelfenster K;
    const auto W = [&K](char c) -> QWidget* {
      switch (c) {
        case 'a':
          return K.Anker;
        case 'g':
          return K.Punkte[0];
        case 'h':
          return K.Punkte[1];
        case 'f':
          return K.Feld;
        case 'p':
          return K.Apfel;
      }
      return nullptr;
    };
    const std::string Name = std::string(F.Reihenfolge) + " ohne " + (F.Aus ? F.Aus : '-');
    QWidget* Vorher = K.Start;
    for (const char* c = F.Reihenfolge; *c; ++c) {
      QWidget::setTabOrder(Vorher, W(*c));
      Vorher = W(*c);
    }
    if (F.Aus == 'a')
      K.Anker->setEnabled(false);
    else if (F.Aus)
      W(F.Aus)->hide();
    K.Fenster.show();
    Aktivieren(&K.Fenster);
    Druecken(&K.Fenster, Qt::Key_A);
    Druecken(&K.Fenster, Qt::Key_A);
    EXPECT_EQ(QApplication::focusWidget(), W(F.Fokus)) << Name;
    EXPECT_EQ(K.Klicks[0], F.KlicksAnker) << Name;
    EXPECT_EQ(K.Klicks[1], F.KlicksApfel) << Name;
    EXPECT_TRUE(K.Punkte[1]->isChecked()) << Name;
  }
}

}  // namespace
