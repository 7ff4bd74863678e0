// Live redraw: with "Nachzeichnen: sofort" the surface is cleared and drawn
// again whenever what the picture depends on has changed.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Lauf.h"

class QLabel;
class QTimer;

// What the live redraw needs of the drawing window.
class TNachzeichenfenster {
 public:
  virtual ~TNachzeichenfenster() = default;
  // What a picture drawn at once depends on, as the user set it: the rules,
  // the rule system's angles, the settings, and depth, start, start angle and
  // step size (not as a run fitted or centred them).
  virtual TLauf Bildstand() const = 0;
  // A run or a picture save is under way.
  virtual bool Beschaeftigt() const = 0;
  // Clears the surface and draws at once; the run stops once it has done
  // Arbeitsgrenze units of the engine's work.
  virtual void NeuZeichnen(uint64_t Arbeitsgrenze) = 0;
  // The last run stopped at that limit.
  virtual bool ArbeitsgrenzeErreicht() const = 0;
  // The run under way stops at its next message pass, quietly.
  virtual void LaufAbbrechen() = 0;
  virtual int ClientBreite() const = 0;
  virtual int ClientHoehe() const = 0;
};

// After any input of the user and after RegelsystemGeaendert, it compares
// what the picture depends on with what it was last drawn from; a burst of
// changes draws once, a change during a run stops it and draws anew once it
// is over. Step mode never redraws by itself, nor while a modal dialog is
// open, nor a drawing that would take much longer than a moment: a note in
// the window says why. An exact drawing jumps over what it cannot show, so
// that its lines say little about its cost: one that counts too many is
// drawn all the same, and stopped with the note once the work it really
// does passes the limit.
class TNachzeichner : public QObject {
  Q_OBJECT

 public:
  // About what five million thin lines cost with their characters (a line's
  // "F" and a turn), in the units of TAufwand.
  static constexpr uint64_t Grenze = 10'000'000;
  // What the engine may really do in a redraw too heavy by its count, in its
  // units of work: about as long as the walk of a drawing at Grenze.
  static constexpr uint64_t Arbeitsgrenze = Grenze;

  TNachzeichner(TNachzeichenfenster& Fenster, QLabel* Hinweis, QObject* Eltern);

  bool Sofort() const { return An; }
  void SofortSetzen(bool Sofort);
  // Something may have changed: looks after a moment.
  void Anstossen();
  // A run has ended: a change made meanwhile is drawn now.
  void LaufVorbei();
  // The run under way was stopped because a newer change overtook it.
  bool Ueberholt() const { return Ueberholt_; }
  void LaufBeginnt() { Ueberholt_ = false; }
  // The program ends: nothing is drawn any more.
  void Beenden();
  // Redraws started so far.
  int Nachzeichnungen() const { return Anzahl; }
  // Another Arbeitsgrenze, for tests.
  void ArbeitsgrenzeSetzen(uint64_t Wert) { Grenzwert = Wert; }

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override;

 private:
  void Pruefen();
  // Empty when the drawing is light enough, else the note's text; Versuch:
  // too heavy by its count, it may be drawn all the same, up to Grenzwert.
  QString ZuSchwer(const TLauf& Stand, bool& Versuch) const;
  void HinweisZeigen(const QString& Text);

  TNachzeichenfenster& Fenster;
  QLabel* Hinweis;
  QTimer* Uhr;
  bool An = false;
  bool Ende = false;
  bool Ueberholt_ = false;
  int Anzahl = 0;
  // The note for the redraw under way, which may prove too heavy.
  QString Versuchsgrund;
  uint64_t Grenzwert = Arbeitsgrenze;
  // What the picture was last drawn from; none right after turning it on.
  std::optional<TLauf> Gezeichnet;
};
