#include "gui/Radiogruppe.h"

#include <QButtonGroup>
#include <QRadioButton>

TRadioGruppe::TRadioGruppe(const QString& Titel, const QString& Item0, const QString& Item1,
                           QWidget* Eltern)
    : QGroupBox(Titel, Eltern), Gruppe(new QButtonGroup(this)) {
  const QString Texte[2] = {Item0, Item1};
  for (int i = 0; i < 2; ++i) {
    Items[i] = new QRadioButton(Texte[i], this);
    Items[i]->setGeometry(3, 16 + 15 * i, 92, 15);
    Gruppe->addButton(Items[i], i);
  }
  connect(Gruppe, &QButtonGroup::idClicked, this, &TRadioGruppe::Geklickt);
}

int TRadioGruppe::ItemIndex() const { return Gruppe->checkedId(); }

void TRadioGruppe::ItemIndexSetzen(int Index) { Items[Index]->setChecked(true); }
