// The monkey's hand: it finds the program's windows and their controls in
// the widget tree by their object names, so that a new window or control gets
// its share of events without being listed anywhere, and sends clicks, drags,
// the wheel, keys, typing and drops as the window system delivers them, so
// that Qt decides which widget gets them and drops them while a modal dialog
// blocks the window.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

#include "mainwindow/Affenbuch.h"

class QAbstractButton;
class QFileDialog;
class TAffenpruefung;

// Carries a name of its own: Qt names its sub-widgets "qt_...", or not at all.
bool Benannt(const QObject* O);
// Any window but Qt's dialogs, popups and tips is the program's.
bool IstProgrammfenster(const QWidget* W);
// The program's windows besides its dialogs, which the answerer works.
bool IstArbeitsfenster(const QWidget* W);
// The box of a save in the background, beside the windows until the save ends.
bool Hintergrundbox(const QWidget* W);

// The named controls below Fenster in the order of the widget tree, shown
// ones only unless AuchVerborgene; Qt's sub-widgets of a control are not looked
// into. Controls without a name are described in Unbenannt, when given.
std::vector<TSteuerelement> Steuerelemente(QWidget* Fenster, bool AuchVerborgene = false,
                                           QStringList* Unbenannt = nullptr);
// The control a widget belongs to: itself, or the control that holds it (a
// list for its viewport, a group for its radio items, a spin box for its field).
std::optional<TSteuerelement> Zuordnen(QWidget* W);
// Where something landed: its control, else the nearest named widget, else the window.
QString Ortsname(QWidget* W);
// How the log names a widget: its control (a radio item with its caption), a
// button by its caption, a window by its name.
QString Name(const QWidget* W);
bool InnerhalbVon(const QWidget* W, const QWidget* Steuerelement);

// The windows of the program that are shown (all with AuchVerborgene), the main window first.
std::vector<QWidget*> Programmfenster(bool AuchVerborgene = false);
// Those of them the user works in.
std::vector<QWidget*> Arbeitsfenster();

// A picture dialog offers PNG among its types.
bool IstBilddialog(const QFileDialog* D);

// Whether a modal window keeps mouse input and drops from this one, decided as Qt decides it.
bool Gesperrt(const QWidget* Fenster);

class THand : TAffenteil {
 public:
  THand(TAffenbuch& Buch, TAffenpruefung& Pruefung) : TAffenteil(Buch), Pruefung(Pruefung) {}

  // A point of W (in W's coordinates, within Bereich if given) where the
  // window shows W and not something lying over it.
  std::optional<QPoint> Treffpunkt(QWidget* W, QRect Bereich = {});
  // A click on W at a point it shows; false when it shows none.
  bool Anklicken(QWidget* W, Qt::MouseButton Knopf = Qt::LeftButton);
  // Press at Ort of W, moves along Zug, release at its end, to W's window at
  // that point. A right press brings the context menu, which is then worked.
  void Klick(QWidget* W, Qt::MouseButton Knopf, QPoint Ort, const std::vector<QPoint>& Zug = {});
  void Doppelklick(QWidget* W);
  // A drag within W, from one point it shows to another.
  void ZiehenIn(QWidget* W, Qt::MouseButton Knopf = Qt::LeftButton);
  // The mouse wheel over W: notches up or down, a fraction of one, or sideways.
  void Drehen(QWidget* W);
  // A person's click into a window makes it the active one first.
  void Aktivieren(QWidget* Fenster);
  // A click closes an open popup first, as a click outside it does.
  void PopupSchliessen();
  // An entry of a menu, or Escape.
  void PopupBeantworten(QWidget* P);

  // A key goes to an open popup first, as the platform delivers it.
  void Taste(QWidget* W, Qt::Key T, Qt::KeyboardModifiers Mod = {});
  // One typed character: its key with the character as the key's text.
  static void Zeichen(QWidget* W, QChar Z);
  // Where a key typed now goes: the focus of the active window.
  static QWidget* Tastenziel();
  // Clicks into a field, replaces or extends its text by typing or pasting,
  // and sometimes ends with a key.
  void Eintippen(QWidget* Feld, const QString& Was);
  // A click, or while a button is held (NurTasten) Space on the focused button.
  void KnopfDruecken(QAbstractButton* B, bool NurTasten);
  // Closing through the frame: what the close button of the title bar does.
  void Rahmen(QWidget* W);

  // Files dropped on a point of a window, as a file manager does at the end
  // of a drag: enter, move, then the drop where it was taken, or leave.
  void Ablegen(QWidget* F, QPoint Ort, const QStringList& Pfade);

  // How the release of a press comes: after the press (the user holds the
  // button while answering boxes with the keyboard), or swallowed by the first
  // box that comes up, as when a refused field shows its message.
  enum class TLoslassen { Keins, Gehalten, Geschluckt };
  TLoslassen Loslassen = TLoslassen::Keins;
  QPointer<QWidget> Festgehalten;  // where the press of a click under way went

 private:
  TAffenpruefung& Pruefung;
};
