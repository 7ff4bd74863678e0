// A titled group of two radio items, as the drawing window has several.
#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// Item 0 above item 1.
class TRadioGruppe : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGruppe(const QString& Titel, const QString& Item0, const QString& Item1, QWidget* Eltern);

  int ItemIndex() const;
  // Chooses the item without emitting Geklickt.
  void ItemIndexSetzen(int Index);

  QRadioButton* Items[2];

 signals:
  // The user chose an item (also the one already chosen).
  void Geklickt(int Index);

 private:
  QButtonGroup* Gruppe;
};
