// A titled group of radio items, as the drawing window has several of two.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

// Item 0 on top, the others below it.
class TRadioGruppe : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGruppe(const QString& Titel, const QStringList& Texte, QWidget* Eltern);
  TRadioGruppe(const QString& Titel, const QString& Item0, const QString& Item1, QWidget* Eltern)
      : TRadioGruppe(Titel, QStringList{Item0, Item1}, Eltern) {}

  int ItemIndex() const;
  // Chooses the item without emitting Geklickt.
  void ItemIndexSetzen(int Index);

  std::vector<QRadioButton*> Items;

 signals:
  // The user chose an item (also the one already chosen).
  void Geklickt(int Index);

 private:
  QButtonGroup* Gruppe;
};
