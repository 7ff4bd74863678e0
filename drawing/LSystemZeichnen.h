// The drawing window: the surface with its turtle, the drawing parameters and
// their checks, the start marker, and the drawing run through the engine.
// Its rooms: the controls are built in LSystemZeichnenAufbau.cpp, the surface
// is TZeichenflaeche, the runs are logged in TLaufprotokoll, pictures saved by
// TBildspeicher, live redraw decided by TNachzeichner.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>

#include "drawing/Nachzeichnen.h"
#include "drawing/Zeichenflaeche.h"
#include "engine/Laufprotokoll.h"
#include "engine/Zeichenmaschine.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class TBildspeicher;
class TEingabefeld;
class TGestaltung;
class TLupe;
class TWachstum;
class TRadioGruppe;
class TRegelsystem;
class TTurtle;

class TFZeichenform : public QWidget, private TLaufbeobachter, private TNachzeichenfenster {
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
  // The note line: why a live redraw did not start, or how it failed.
  QLabel* LNachzeichnen;

  // Regelsystem := &R; the window's angles := R's.
  void RegelsystemUebergeben(TRegelsystem& R);
  // The rule system handed over, null before.
  const TRegelsystem* Regelsystem() const { return Regeln; }
  // The rule system changed in the main window (axiom, rules, angles, a file).
  void RegelsystemGeaendert();
  // Takes over a picture's drawing settings and random state, so that
  // "Zeichnen" on a cleared surface draws that picture again. The rule system
  // itself has been loaded from the recipe by the main window. The recipe has
  // passed its checks; nothing here can fail half-way.
  void RezeptUebernehmen(const TLauf& Rezept);
  // The rule-system file last loaded or saved, empty when none; proposed
  // (without its extension) when a picture is saved.
  std::function<QString()> Regelsystemname;
  // The settings in force changed by "Gestaltung" or a picture's recipe.
  std::function<void()> EinstellungenGeaendert;

  void SchrittweiteSetzen(double x);
  void TiefeSetzen(int32_t n);
  void StartXSetzen(double x);
  void StartYSetzen(double y);
  void StartwinkelSetzen(double w);
  // Toggles the red start marker (not-xor), so a second call removes it.
  void StartMarkeZeichnen();

  // The inputs of a run started now: the rules as they are, the window's
  // angles, depth, start and step size, the settings in force, the surface.
  TLauf LaufJetzt() const;

  // Shows the magnifier, on this view when one is given, else as it was.
  void LupeOeffnen(const std::optional<TAnsicht>& Ansicht = std::nullopt);
  // The magnifier, once it was opened; null before.
  TLupe* Lupe() const { return Lupenfenster; }
  // Shows the growth window with what a run started now would draw.
  void WachstumOeffnen();
  TWachstum* Wachstum() const { return Wachstumsfenster; }
  // Shows the window of the plant settings.
  void GestaltungOeffnen();
  TGestaltung* Gestaltung() const { return Gestaltungsfenster; }

  // Writes the picture: PNG as the surface shows it, SVG by drawing again the
  // runs since the last "Löschen" in the background. Throws with a German
  // message when it cannot start.
  void BildSpeichern(const QString& Datei);

  // Stops a running drawing for good: stops it, closes a waiting continue
  // prompt with "stop", and makes every later prompt and message of the run
  // return at once. For the end of the program.
  void ZeichnungBeenden();
  // True while a drawing run is on the stack.
  bool ZeichnungLaeuft() const { return Laeuft; }
  // True while a picture is being drawn again for saving.
  bool SpeichernLaeuft() const;

  // What the window holds for the next run (its rules and settings aside),
  // the turtle, the engine, the live redraw and the runs since the last "Löschen".
  const TLauf& Vorgaben() const { return Vorgabe; }
  const TTurtle& Turtle() const { return *Schildkroete; }
  const TZeichenmaschine& Maschine() const { return *Engine; }
  TZeichenmaschine& Maschine() { return *Engine; }
  const TNachzeichner& Nachzeichnen() const { return *Nachzeichner; }
  TNachzeichner& Nachzeichnen() { return *Nachzeichner; }
  const TLaufprotokoll& Protokoll() const { return Laufprotokoll; }

  // The hint of ETiefe: its plain hint, and with a rule system a second line
  // with the number of lines ("F") a drawing of depth Tiefe will draw.
  QString TiefeHinweis() const;

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
  // The wheel over the surface opens the magnifier, zoomed about that point.
  void zeichenflaecheRad(double X, double Y, double Schritte);
  void FormActivate();

 protected:
  bool event(QEvent* E) override;
  // Brings the hint of ETiefe up to date right before it is shown.
  bool eventFilter(QObject* Objekt, QEvent* E) override;
  // Closing only hides the window.
  void closeEvent(QCloseEvent* E) override;

 private:
  void SteuerelementeAnlegen();

  // The run as the window shows it.
  bool Weiter() override;
  void Fortschritt(double Anteil) override;
  void Unterbrechbar(bool An) override;
  void SchrittweiteGesetzt(double Schrittweite) override;
  void StartGesetzt(double X, double Y) override;
  void Meldung(const std::string& Text) override;
  void SchrittmodusBeginnt(const std::string* Zeichenfolge) override;
  bool WeiterFragen() override;
  void ZeichenZeigen(char c, size_t Position) override;
  void SchrittmodusEndet() override;

  // What the live redraw needs of the window.
  TLauf Bildstand() const override;
  int ClientBreite() const override;
  int ClientHoehe() const override;
  bool Beschaeftigt() const override;
  void NeuZeichnen(uint64_t Arbeitsgrenze) override;
  bool ArbeitsgrenzeErreicht() const override;
  void LaufAbbrechen() override;

  void TiefeHinweisSetzen();
  // The radio groups show what is in force (Gruppenwerte).
  void GruppenZeigen();
  void StartVersetzen(double X, double Y);
  void SchrittweiteAnzeigen(double Schrittweite);
  void AbbrechenZeigen(bool An);
  // The window's angles := those of the rule system, for the next run and the one under way.
  void WinkelUebernehmen();
  // The rules as they are now, taken anew only when they changed.
  std::shared_ptr<const TRegelstand> Regelstand() const;
  // "Zeichnen", or with Neu a live redraw.
  void Zeichnen(bool Neu);
  // A run: its recipe into the log, the engine's run, its end in the log.
  void Zeichenlauf();
  // A change of what the run under way reads while it draws makes it unrepeatable.
  void BedingungenPruefen();
  // After a run that ended with an error: back to idle, nothing left shown.
  void LaufBeendet();
  // A message of the run: a box, or during a live redraw the note line, so
  // that the field the user is typing in keeps the focus.
  enum class TMeldungsart { Hinweis, Fehler };  // a plain box or an error box
  void LaufmeldungZeigen(const QString& Text, TMeldungsart Art);

  TRegelsystem* Regeln = nullptr;  // not owned
  std::unique_ptr<TTurtle> Schildkroete;
  std::unique_ptr<TZeichenmaschine> Engine;
  // The window's fields: angles (copied from the rule system), depth, start,
  // start angle and step size in force.
  TLauf Vorgabe;
  // Start and step size as the user set them, not as a run centred or fitted them.
  double EigeneStartX = 0, EigeneStartY = 0, EigeneSchrittweite = StartSchrittweite;
  TLaufprotokoll Laufprotokoll;
  std::unique_ptr<TBildspeicher> Bildspeicher;
  TNachzeichner* Nachzeichner;
  TLupe* Lupenfenster = nullptr;
  TWachstum* Wachstumsfenster = nullptr;
  TGestaltung* Gestaltungsfenster = nullptr;
  // The runs on the surface changed: the magnifier follows.
  void LaeufeGeaendert();
  // What the run under way started from, and the rules' Stand then.
  TLauf BeimStart;
  const TRegelsystem* RegelnBeimStart = nullptr;
  uint64_t RegelstandBeimStart = 0;
  // The last snapshot of the rules, and what it was taken of.
  mutable std::shared_ptr<const TRegelstand> Schnappschuss;
  mutable std::tuple<const TRegelsystem*, uint64_t, std::string, double, double> SchnappschussVon;
  bool Laeuft = false;
  bool Nachzeichnung = false;               // the run under way is a live redraw
  uint64_t Nachzeichengrenze = UINT64_MAX;  // the work it may do
  bool Beendet = false;
};

// The radio groups and what each shows: item 1 when Eins is true for the
// window. The window sets its groups by it.
struct TGruppenwert {
  TRadioGruppe* TFZeichenform::*Gruppe;
  bool (*Eins)(const TFZeichenform& F);
};
std::span<const TGruppenwert> Gruppenwerte();

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
