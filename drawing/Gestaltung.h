// The window "Gestaltung": how plants are drawn — the rule choice, the
// colouring, the character set, the end and background colours and the seed.
// It sets the settings in force at once, as the drawing window's radio groups
// do; with "sofort" a change redraws.
#pragma once

#include <QWidget>

#include "engine/Einstellungen.h"

class QColorDialog;
class QLabel;
class QPushButton;
class TEingabefeld;
class TRadioGruppe;

class TGestaltung : public QWidget {
  Q_OBJECT

 public:
  explicit TGestaltung(QWidget* Eltern);

  TRadioGruppe* RGRegelwahl;
  TRadioGruppe* RGFaerbung;
  TRadioGruppe* RGZeichensatz;
  QLabel* LZeichenfarbe;
  QLabel* FZeichenfarbe;  // the drawing colour, shown beside the end colour
  QPushButton* BEndfarbe;
  QPushButton* BHintergrund;
  QLabel* LSaat;
  TEingabefeld* ESaat;
  QPushButton* BNeueSaat;
  QColorDialog* ColorDialog;

  // Shows the settings in force (also after a picture's recipe set them, or a
  // run moved the seed on).
  void Zeigen();

 signals:
  // The user changed a setting.
  void Geaendert();

 protected:
  void showEvent(QShowEvent* E) override;

 private:
  void FarbeWaehlen(uint32_t TEinstellungen::*Farbe);
  void ESaatExit();
  void BNeueSaatClick();
};
