// The monkey's answers: at every tick of a standing TAntworter step it
// answers the dialog that is up once a person would (message boxes, file
// dialogs, the colour chooser, progress boxes, and the program's own dialogs,
// worked in for a few steps, then closed), and while a drawing runs or a
// picture is saved it stops it now and then, or goes on working elsewhere.
#pragma once

#include <QPointer>
#include <chrono>

#include "gui/TestHilfen.h"
#include "mainwindow/Affenbuch.h"

class QColorDialog;
class QFileDialog;
class QMessageBox;
class QProgressDialog;
class TAffe;
class TAffenpruefung;
class THand;

class TAffenantwort : TAffenteil {
 public:
  // Answers from now on, the about box at the start included. Ordner: the
  // working folder, where the file dialogs stay; GrenzeMs: how late a tick or
  // a stop may come.
  TAffenantwort(TAffenbuch& Buch, THand& Hand, TAffenpruefung& Pruefung, TAffe& Plan,
                QString Ordner, int GrenzeMs);

 private:
  bool Ticken(QWidget* M);
  bool Handeln(QWidget* M);
  void Notausgang();
  void ImLauf();
  void NebenbeiArbeiten();
  void AbbruchBeobachten();
  void Beantworten(QWidget* M);
  void DialogBeantworten(QWidget* D, bool NurTasten);
  void GesperrtBedienen();
  void BoxBeantworten(QMessageBox* Box, bool NurTasten);
  QString Dateiname(const QFileDialog* D);
  void DateidialogBeantworten(QFileDialog* D, bool NurTasten);
  void FarbdialogBeantworten(QColorDialog* C, bool NurTasten);
  void FortschrittBeantworten(QProgressDialog* P, bool NurTasten);

  THand& Hand;
  TAffenpruefung& Pruefung;
  TAffe& Plan;
  const QString Ordner;
  const int GrenzeMs;

  std::chrono::steady_clock::time_point Geplant;  // when the last tick came
  QPointer<QWidget> Beobachtet;                   // the modal widget seen last
  int Reife = 0;                                  // ticks it has been up
  QPointer<QWidget> Dialog;                       // the program's dialog being worked in
  int DialogUebrig = 0;                           // steps left before it is closed
  int Verschachtelung = 0;                        // nesting of ticks that act
  static constexpr int EreignisTiefe = 4;         // deepest tick that starts events
  static constexpr int AntwortTiefe = 12;         // deepest tick that still answers dialogs
  int LaufEreignisse = 0;                         // events fired from inside a run or a save
  std::chrono::steady_clock::time_point LaufSeit;
  bool LaufGesehen = false;
  bool AbbruchGeklickt = false;
  std::chrono::steady_clock::time_point AbbruchZeit;
  TAntworter Antworter;  // last: it ticks from the start
};
