// The monkey: its hand, answers and checks, its plan of what a person does
// next, drawn from the seeded dice (work a control of a window, type, press
// keys and access keys, switch and close windows, start small drawings, edit
// rules, drop files), and the run of events with the checks after each.
#pragma once

#include <QObject>
#include <optional>
#include <set>
#include <vector>

#include "mainwindow/Affenantwort.h"
#include "mainwindow/Affenhand.h"
#include "mainwindow/Affenpruefung.h"

class QAbstractItemView;

class TAffe : TAffenteil {
 public:
  // Stops after Hoechstzahl events, or when none is given after Sekunden;
  // GrenzeMs: how late a timer may come. Ordner: the working folder, whose
  // files the dialogs find and the monkey drops. Answers dialogs from now on.
  TAffe(TAffenbuch& Buch, int64_t Hoechstzahl, double Sekunden, int GrenzeMs, QString Ordner);

  // Waits for the main window, runs the events, then closes the program.
  void Starten();
  double Dauer = 0;  // seconds the events took

  // One event of the main loop, or one fired from inside a run.
  void Ereignis();
  // A control of the list; now and then (Selten percent) the one that got the
  // fewest events so far, so that controls shown only at times get their turn too.
  std::optional<TSteuerelement> Waehlen(const std::vector<TSteuerelement>& L, int Selten = 25);
  // What a person does with a control of this kind.
  void Bedienen(const TSteuerelement& S);

 private:
  QWidget* Zielfenster();
  void SteuerelementBedienen();
  void RadioWaehlen(QWidget* Gruppe);
  void ListeBedienen(QAbstractItemView* L);
  bool ZeileKlicken(QAbstractItemView* L);
  void FlaecheBedienen(QWidget* W);
  QString Vorschlag(const QWidget* Feld);
  void Eingabe();
  void Tastendruck();
  void Zugriffstaste();
  void FensterWechseln();
  void FensterSchliessen();
  void KleineZeichnung();
  void RegelBearbeiten();
  void Ablage();
  void DrehenOderZiehen();
  void Laufen();
  // The controls every run must reach: those of the windows and dialogs
  // there are at the start (Dialoge), then those of each window the program
  // makes on demand (Lupe, Wachstum, Gestaltung) once it exists.
  void FensterVerlangen(bool Dialoge);
  std::set<const QWidget*> Verlangt;
  // Lets queued work run and insists that a queued timer gets its turn in time.
  void Abwarten();

  const int64_t Hoechstzahl;
  const double Sekunden;
  const int GrenzeMs;
  const QString Ordner;
  TAffenpruefung Pruefung;
  THand Hand;
  TAffenantwort Antwort;  // answers from the start, the about box included
  QObject Kontext;        // pending ticks die with it
};
