// The extra settings dialog: start thickness, shrink per branching level, the
// three random deviations and the drawing colour, edited as working values.
#pragma once

#include <QColor>
#include <cstdint>
#include <span>

#include "engine/Einstellungen.h"
#include "gui/Modal.h"

class QColorDialog;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TEingabefeld;
struct TRezeptfeld;

// The working values, edited in the dialog: the drawing window copies the
// settings in force here before it opens the dialog, and back after "Ok".
extern TEinstellungen ExtraWerte;

// Results of exec(): "Ok" gives 1, "Abbrechen" and the frame 2; neither Enter
// nor Escape does anything.
class TExtraEinstellungen : public TModalerDialog {
  Q_OBJECT

 public:
  explicit TExtraEinstellungen(QWidget* Eltern = nullptr);

  QGroupBox* GBLiniendicke;
  QLabel* LAnfangsdicke;
  TEingabefeld* EDicke;
  QLabel* LSchwund;
  TEingabefeld* ESchwund;
  QLabel* Label4;
  QPushButton* BZeichenfarbe;
  QGroupBox* GBZufallsabweichungen;
  QLabel* LAbweichungS;
  TEingabefeld* EAbweichungS;
  QLabel* Label1;
  QLabel* LAbweichungP;
  TEingabefeld* EAbweichungP;
  QLabel* Label3;
  QLabel* LAbweichungM;
  TEingabefeld* EAbweichungM;
  QLabel* Label2;
  QLabel* LSaat;
  TEingabefeld* ESaat;
  QPlainTextEdit* Memo1;
  QPushButton* BOk;
  QPushButton* BAbbrechen;
  QColorDialog* ColorDialog;

 protected:
  bool event(QEvent* E) override;

 private:
  void FormActivate();
  void EDickeExit();
  void ESchwundExit();
  void EAbweichungSExit();
  void EAbweichungPExit();
  void EAbweichungMExit();
  void ESaatExit();
  void BZeichenfarbeClick();
  void BOkClick();
  void BAbbrechenClick();

  // The chooser starts with the colour last confirmed in it, black at first.
  QColor LetzteFarbe = Qt::black;
};

// The one dialog, created hidden at start-up.
extern TExtraEinstellungen* ExtraEinstellungen;

// The working values the dialog edits, each a row of the field table
// (Rezeptfelder), with the field that shows it; the colour has none, it is
// chosen with BZeichenfarbe. The dialog fills and checks its fields by it.
struct TExtrawert {
  const char* Schluessel;
  TEingabefeld* TExtraEinstellungen::*Feld = nullptr;
};
std::span<const TExtrawert> Extrawerte();

// What a field shows of its row's value in W: in the row's unit (percent;
// for the shrink 100 - percent) with one decimal, the seed whole.
QString Extraanzeige(const TRezeptfeld& Feld, const TEinstellungen& W);

// 0x00BBGGRR <-> QColor.
QColor AlsQColor(uint32_t Farbe);
uint32_t AlsFarbwert(const QColor& Farbe);
