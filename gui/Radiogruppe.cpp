#include "gui/Radiogruppe.h"

#include <QButtonGroup>
#include <QRadioButton>

TRadioGruppe::TRadioGruppe(const QString& Titel, const QStringList& Texte, QWidget* Eltern)
    : QGroupBox(Titel, Eltern), Gruppe(new QButtonGroup(this)) {
  for (int i = 0; i < Texte.size(); ++i) {
    auto* Item = new QRadioButton(Texte[i], this);
    Item->setGeometry(3, 16 + 15 * i, 92, 15);
    Gruppe->addButton(Item, i);
    Items.push_back(Item);
  }
  connect(Gruppe, &QButtonGroup::idClicked, this, &TRadioGruppe::Geklickt);
}

int TRadioGruppe::ItemIndex() const { return Gruppe->checkedId(); }

void TRadioGruppe::ItemIndexSetzen(int Index) { Items[Index]->setChecked(true); }
