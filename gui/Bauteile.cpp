#include "gui/Bauteile.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"

QPushButton* Knopf(QWidget* Eltern, const char* Name, const QString& Titel, QRect Ort,
                   const QString& Hinweis) {
  auto* B = new QPushButton(Titel, Eltern);
  B->setObjectName(QLatin1String(Name));
  B->setGeometry(Ort);
  B->setToolTip(Hinweis);
  return B;
}

QLabel* Beschriftung(QWidget* Eltern, const char* Name, const QString& Text, QPoint Ort,
                     QWidget* Buddy) {
  auto* L = new QLabel(Text, Eltern);
  L->setObjectName(QLatin1String(Name));
  L->move(Ort);
  if (Buddy) L->setBuddy(Buddy);
  L->adjustSize();
  return L;
}

TEingabefeld* Feld(QWidget* Eltern, const char* Name, QRect Ort, const QString& Hinweis) {
  auto* E = new TEingabefeld(Eltern);
  E->setObjectName(QLatin1String(Name));
  E->setGeometry(Ort);
  E->setToolTip(Hinweis);
  return E;
}

QFrame* Rahmen(QWidget* Eltern, const char* Name, QRect Ort, int Stil) {
  auto* F = new QFrame(Eltern);
  F->setObjectName(QLatin1String(Name));
  F->setFrameStyle(Stil);
  F->setGeometry(Ort);
  return F;
}

TRadioGruppe* Gruppe(QWidget* Eltern, const char* Name, const QString& Titel, const QString& Item0,
                     const QString& Item1, QRect Ort, const QString& Hinweis) {
  return Gruppe(Eltern, Name, Titel, QStringList{Item0, Item1}, Ort, Hinweis);
}

TRadioGruppe* Gruppe(QWidget* Eltern, const char* Name, const QString& Titel,
                     const QStringList& Items, QRect Ort, const QString& Hinweis) {
  auto* G = new TRadioGruppe(Titel, Items, Eltern);
  G->setObjectName(QLatin1String(Name));
  G->setGeometry(Ort);
  G->setToolTip(Hinweis);
  return G;
}

void Tabfolge(std::initializer_list<QWidget*> Steuerelemente) {
  std::vector<QWidget*> Folge;
  for (QWidget* W : Steuerelemente) {
    if (auto* G = qobject_cast<TRadioGruppe*>(W)) {
      Folge.insert(Folge.end(), G->Items.begin(), G->Items.end());
    } else {
      Folge.push_back(W);
    }
  }
  for (size_t i = 1; i < Folge.size(); ++i) QWidget::setTabOrder(Folge[i - 1], Folge[i]);
}

QFileDialog* Dateidialog(QWidget* Eltern, const QString& Titel, QFileDialog::AcceptMode Modus,
                         const QStringList& Filter, const QString& Endung) {
  auto* D = new QFileDialog(Eltern, Titel, QDir::currentPath());
  D->setOption(QFileDialog::DontUseNativeDialog);
  DateisymboleSetzen(D);
  D->setAcceptMode(Modus);
  D->setFileMode(Modus == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
  D->setNameFilters(Filter);
  D->setDefaultSuffix(Endung);
  return D;
}
