// The drawing window: the surface with its turtle, the drawing parameters and
// their checks, the start marker, and the drawing run through the engine.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/Rezept.h"
#include "drawing/Zeichenmaschine.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TBildLeinwand;
class TEingabefeld;
class TRadioGruppe;
class TRegelsystem;
class TTurtle;

// The image holding the bitmap that the turtle draws on. The bitmap keeps the
// size it was made with, whatever happens to the window later.
class TZeichenflaeche : public QWidget {
  Q_OBJECT

 public:
  TZeichenflaeche(QSize Groesse, QWidget* Eltern);
  ~TZeichenflaeche() override;

  QImage Bild;
  std::unique_ptr<TBildLeinwand> Leinwand;

  // The bitmap with everything drawn so far.
  const QImage& Bitmap();

 signals:
  void MouseDown(Qt::MouseButtons Knoepfe, int X, int Y);

 protected:
  void paintEvent(QPaintEvent* E) override;
  void mousePressEvent(QMouseEvent* E) override;
};

class TFZeichenform : public QWidget, private TZeichenfensterSchnittstelle {
  Q_OBJECT

 public:
  explicit TFZeichenform(QWidget* Eltern = nullptr);
  ~TFZeichenform() override;

  TZeichenflaeche* zeichenflaeche;
  QFrame* PBedienung;
  QPushButton* BZeichnen;
  QPushButton* BLoeschen;
  QFrame* Bevel1;
  QLabel* LTiefe;
  TEingabefeld* ETiefe;
  QFrame* Bevel2;
  QLabel* LSchrittweite;
  TEingabefeld* ESchrittweite;
  QFrame* Bevel3;
  QLabel* LStartposition;
  QLabel* Lx;
  TEingabefeld* Ex;
  QLabel* Ly;
  TEingabefeld* Ey;
  QLabel* LWinkel;
  TEingabefeld* EWinkel;
  TRadioGruppe* RGSchrittModus;
  TRadioGruppe* RGSchrittweite;
  TRadioGruppe* RGZufallsModus;
  TRadioGruppe* RGTurtleZeigen;
  TRadioGruppe* RGNachzeichnen;
  TRadioGruppe* RGLage;
  QPushButton* BExtras;
  QPushButton* BZwischenablage;
  QPushButton* BBildSpeichern;
  TEingabefeld* EZeichen;
  TEingabefeld* EString;
  QPushButton* BAbbrechen;
  // How far a fitting walk or a drawing at once has come; shown with BAbbrechen.
  QProgressBar* PBFortschritt;
  // Says that a live redraw did not start because it would draw too many lines.
  QLabel* LNachzeichnen;

  // The turtle and the engine that holds Regelsystem, Schrittweite, the two
  // angles, Abbruch and BestimmungAbgebrochen.
  std::unique_ptr<TTurtle> Turtle;
  std::unique_ptr<TZeichenmaschine> Maschine;

  int32_t Tiefe = StartTiefe;
  double StartX = 0;
  double StartY = 0;
  double Startwinkel = 90.0;

  // Regelsystem := &R; WinkelPlus := R.WinkelPlus; WinkelMinus := -R.WinkelMinus.
  void RegelsystemUebergeben(TRegelsystem& R);
  // Takes over a picture's drawing settings and random state, so that
  // "Zeichnen" on a cleared surface draws that picture again. The rule system
  // itself has been loaded from the recipe by the main window.
  void RezeptUebernehmen(const TRezept& Rezept);
  // The name of the rule-system file last loaded, empty when none; proposed
  // (without its extension) when a picture is saved.
  std::function<QString()> Regelsystemname;

  void SchrittweiteSetzen(double x);
  void TiefeSetzen(int32_t n);
  void StartXSetzen(double x);
  void StartYSetzen(double y);
  void StartwinkelSetzen(double w);
  // Toggles the red start marker (not-xor), so a second call removes it.
  void StartMarkeZeichnen();

  // Stops a running drawing for good: sets Abbruch, closes a waiting continue
  // prompt with "stop", and makes every later prompt and message of the run
  // return at once. For the end of the program.
  void ZeichnungBeenden();
  // True while a drawing run is on the stack.
  bool ZeichnungLaeuft() const { return Laeuft; }

  void BZeichnenClick();
  void BLoeschenClick();
  void BAbbrechenClick();
  void BExtrasClick();
  void BZwischenablageClick();
  void BBildSpeichernClick();
  void ETiefeExit();
  void ESchrittweiteExit();
  void ExExit();
  void EyExit();
  void EWinkelExit();
  void RGSchrittModusClick(int Index);
  void RGSchrittweiteClick(int Index);
  void RGZufallsModusClick(int Index);
  void RGTurtleZeigenClick(int Index);
  void RGNachzeichnenClick(int Index);
  void RGLageClick(int Index);
  void zeichenflaecheMouseDown(Qt::MouseButtons Knoepfe, int X, int Y);
  void FormActivate();
  // The rule system changed in the main window (axiom, rules, angles, a file).
  void RegelsystemGeaendert();

  // With "Nachzeichnen: sofort", every accepted change that alters the picture
  // clears the surface and draws again; a burst of changes draws once, a
  // change during a redraw stops it and starts over. Step mode never redraws
  // by itself, and neither do drawings of more lines than this.
  static constexpr uint64_t NachzeichnenGrenze = 5'000'000;
  bool NachzeichnenSofort = false;
  // Where the generator starts at every redraw.
  uint32_t NachzeichenSaat = 0;
  // Redraws started so far.
  int Nachzeichnungen = 0;

  // Writes the picture: PNG as the surface shows it, SVG by drawing again the
  // runs since the last "Löschen". Both carry the recipe of the last run.
  // Throws with a German message, also when the runs cannot be drawn again.
  void BildSpeichern(const QString& Datei);

  // The hint of ETiefe: its plain hint, and with a rule system a second line
  // with the number of lines ("F") a drawing of depth Tiefe will draw.
  QString TiefeHinweis() const;

 protected:
  bool event(QEvent* E) override;
  // Brings the hint of ETiefe up to date right before it is shown.
  bool eventFilter(QObject* Objekt, QEvent* E) override;
  // Closing only hides the window.
  void closeEvent(QCloseEvent* E) override;

 private:
  // What the engine needs of the window.
  void NachrichtenVerarbeiten() override;
  void AbbrechenZeigen(bool An) override;
  bool WeiterFragen() override;
  void WeiterBoxPlatzieren() override;
  void ZeichenSetzen(const std::string& Text) override;
  void ZeichenfeldZeigen(bool An) override;
  void StringZeigen(bool An, const std::string& Text) override;
  void SchrittweiteAnzeigen(double Schrittweite) override;
  void StartGesetzt(double X, double Y) override;
  void Meldung(const std::string& Text) override;
  int ClientBreite() const override;
  int ClientHoehe() const override;
  void FortschrittSetzen(double Anteil) override;
  void StringMarkieren(size_t Position) override;

  void TiefeHinweisSetzen();

  // After a run that ended with an error: back to idle, nothing left shown.
  void LaufBeendet();

  // A run since the last "Löschen", as far as it came, for drawing it again.
  struct TLauf {
    TRezept Rezept;
    uint64_t Zeichen = 0;  // characters that acted
    QString Hindernis;     // why it cannot be drawn again exactly; empty: it can
  };
  std::vector<TLauf> Laeufe;
  // The run under way: its recipe so far and what disturbed it.
  TLauf Aktueller;
  // What a run reads while it draws, besides its recipe; a change of any of
  // it during the run (at a message pass) makes the run unrepeatable.
  struct TLaufbedingungen {
    bool Zufall;
    double Schwund, AbweichungP, AbweichungM, AbweichungS, WinkelP, WinkelM;
    const TRegelsystem* Regeln;
    uint64_t Stand;
    bool operator==(const TLaufbedingungen&) const = default;
  };
  TLaufbedingungen Bedingungen() const;
  TLaufbedingungen BedingungenBeimStart{};
  void BedingungenPruefen();
  bool SvgWirdGeschrieben = false;
  QString BildOrdner;  // where the last picture was saved
  void LaufBeginnen();
  void LaufEintragen();
  // Something that changes how the run under way draws its remaining lines.
  void LaufStoeren(const QString& Grund);
  QString SvgHindernis() const;
  void SvgSchreiben(const QString& Datei);

  bool Laeuft = false;
  bool Beendet = false;
  // A newer change overtook the redraw under way: it stops quietly.
  bool Ueberholt = false;
  QTimer* Nachzeichenuhr;
  void NachzeichnenAnstossen();
  void Nachzeichnen();
};

// The one drawing window.
extern TFZeichenform* FZeichenform;

// Creates FZeichenform, WeiterBox and ExtraEinstellungen hidden, in this order.
// From then on a quit request of the application (QCoreApplication::quit or
// exit through the Quit event) calls ZeichnungBeenden first.
void ZeichenfensterErzeugen();

// Stops a running drawing for good so that the program can end at once: the
// run's handler returns promptly and shows nothing more. Harmless when nothing
// runs or the windows were never made. For the main window's closing.
void ZeichnungBeenden();
