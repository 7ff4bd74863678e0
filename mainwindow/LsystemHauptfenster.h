// The main window: edits the program's one rule system, shows its derived
// strings, loads and saves it, and hands it to the drawing window.
#pragma once

#include <QWidget>
#include <functional>

#include "rules/Regelsystem.h"

class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QUrl;
class TEingabefeld;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
struct TLauf;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // Builds the window, shows the about box (if one exists), creates the rule
  // system with the built-in rules, loads the first argument (a .LSY file) or
  // "Start.LSY", sorts the rules and fills the fields. Loading errors propagate.
  explicit TForm1(const QStringList& Argumente = {}, QWidget* Eltern = nullptr);
  ~TForm1() override;

  TRegelsystem Regelsystem;

  // Opens the drawing window with this rule system; set by the program entry.
  std::function<void(TRegelsystem&)> ZeichenfensterOeffnen;
  // Show the magnifier and the growth window; set by the program entry.
  std::function<void()> LupeOeffnen;
  std::function<void(TRegelsystem&)> WachstumOeffnen;
  std::function<void(TRegelsystem&)> GestaltungOeffnen;
  // Hands the drawing settings of a loaded picture to the drawing window.
  std::function<void(const TLauf&)> RezeptUebergeben;
  // Told after every accepted change of the rule system (axiom, rules, angles,
  // a loaded file), for the drawing window's live redraw.
  std::function<void()> RegelsystemGeaendert;

  // The file last loaded (a rule system or a picture) or saved, empty when none.
  QString GeladeneDatei;

  // Loads a .LSY file, or the rule system of a picture with a recipe (.png,
  // .svg), all or nothing; sets the group caption, refills the views and
  // hands a picture's settings on. Errors propagate with the rule system unchanged.
  void DateiLaden(const QString& Pfad);

  // Refills EAxiom, LBRegeln (canonical items, first selected) and ERegel.
  void RegelsystemAnzeigen();
  // Refills EPlus and EMinus with two decimals.
  void WinkelAnzeigen();
  // Shows LRegelwahl where a head has several rules and only the first acts:
  // after every change of the rules, and of the rule choice in force.
  void RegelwahlHinweisSetzen();

  QFrame* Panel1;
  QFrame* Bevel1;
  QFrame* Bevel2;
  QPushButton* BLoad;
  QPushButton* BSave;
  QLabel* Label1;
  TEingabefeld* EPlus;
  QLabel* Label2;
  TEingabefeld* EMinus;
  QPushButton* BZeichnen;
  QPushButton* BLupe;
  QPushButton* BWachstum;
  QPushButton* BGestaltung;
  QGroupBox* GRegelsystem;
  QLabel* LAxiom;
  TEingabefeld* EAxiom;
  QLabel* LRegelEditieren;
  QLabel* Label3;
  TEingabefeld* ERegel;
  QPushButton* Button1;
  QPushButton* BRegelEinfuegen;
  QLabel* LRegelsystem;
  QListWidget* LBRegeln;
  QGroupBox* GroupBox1;
  QLabel* LAlleZeichen;
  QPlainTextEdit* MBildStringAlle;
  QLabel* LTerminalzeichen;
  QPlainTextEdit* MBildStringTerminal;
  QLabel* Label4;
  QLabel* LRegelwahl;
  TEingabefeld* ETiefeString;
  QPushButton* BAnzeigen;
  QFileDialog* OpenDialog;
  QFileDialog* SaveDialog;

  // The event handlers; each reports its own errors.
  void EAxiomKeyDown(int Taste);
  void EAxiomExit();
  void ERegelKeyDown(int Taste);
  void ERegelExit();
  void LBRegelnClick();
  void LBRegelnKeyDown(int Taste);
  void RegelLoeschen();
  void RegelEinfuegen();
  void EPlusExit();
  void EMinusExit();
  void BLoadClick();
  void BSaveClick();
  void BZeichnenClick();
  void BLupeClick();
  void BWachstumClick();
  void BGestaltungClick();
  void ETiefeStringExit();
  void BAnzeigenClick();

 protected:
  void closeEvent(QCloseEvent* Ereignis) override;
  // A file dropped on the window loads like "Regelsystem laden"; its fields
  // take only text.
  void dragEnterEvent(QDragEnterEvent* Ereignis) override;
  void dropEvent(QDropEvent* Ereignis) override;

 private:
  void SteuerelementeAnlegen();
  void Ablegen(const QList<QUrl>& Adressen);
  void Starten(const QStringList& Argumente);
  void Auswaehlen(int Index);
  void RegelUebernehmen();
  // Winkel as typed into Feld, checked as its field table row Schluessel says.
  void WinkelVerlassen(TEingabefeld* Feld, double& Winkel, const char* Schluessel);
  void Ueberschrift(const QString& Name);
  void Geaendert();
  void AxiomSetzen();

  QString OpenName;
  QString SaveName;
};

// The main window, from its creation at start-up to the end of the program.
extern TForm1* Form1;
