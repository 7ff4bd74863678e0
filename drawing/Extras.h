// The extra settings dialog: start thickness, shrink per branching level, the
// three random deviations and the drawing colour, edited as working values.
#pragma once

#include <QColor>
#include <QDialog>
#include <cstdint>

class QColorDialog;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TEingabefeld;

// Working values; equal to the settings in force whenever the dialog is closed.
extern double ExtraAnfangsdicke;       // 1.0
extern double ExtraSchwundfaktor;      // 1.0, = 1 - shrink/100
extern double ExtraAbweichungPlus;     // 0.3
extern double ExtraAbweichungMinus;    // 0.3
extern double ExtraAbweichungSchritt;  // 0.3
extern uint32_t ExtraZeichenfarbe;     // 0x008000, 0x00BBGGRR
// The random generator's state to draw from; the drawing window puts the
// generator's state here before it opens the dialog, and takes a changed
// value over with "Ok".
extern uint32_t ExtraSaat;

class TExtraEinstellungen : public QDialog {
  Q_OBJECT

 public:
  // Results of exec(): "Ok" gives 1, "Abbrechen" and the frame 2.
  enum { ErgebnisOk = 1, ErgebnisAbbrechen = 2 };

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

  void reject() override;

 protected:
  bool event(QEvent* E) override;
  void keyPressEvent(QKeyEvent* E) override;

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

// 0x00BBGGRR <-> QColor.
QColor AlsQColor(uint32_t Farbe);
uint32_t AlsFarbwert(const QColor& Farbe);
