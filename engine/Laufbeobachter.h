// Whoever watches a drawing run: the drawing window shows it in its
// controls; the renderer, recipes, animations and tests watch as they need.
#pragma once

#include <cstddef>
#include <string>

// Every report has a default that shows nothing and never stops the run.
class TLaufbeobachter {
 public:
  virtual ~TLaufbeobachter() = default;

  // At a real message pass of the measuring walk or the drawing at once (the
  // engine decides how often): a window runs its pending messages. False
  // stops the walk or drawing quietly, as "Abbrechen" does.
  virtual bool Weiter() { return true; }
  // How far the walk or drawing has come, 0 to 1: 0 at its start, then at
  // each real message pass, 1 when it has completed.
  virtual void Fortschritt(double /*Anteil*/) {}
  // A measuring walk or drawing at once begins (true): it can be stopped
  // until it ends (false).
  virtual void Unterbrechbar(bool /*An*/) {}
  // The run fitted its step size.
  virtual void SchrittweiteGesetzt(double /*Schrittweite*/) {}
  // A centred run starts here instead of at the start it was given; told
  // before anything is drawn.
  virtual void StartGesetzt(double /*X*/, double /*Y*/) {}
  // A message for the user.
  virtual void Meldung(const std::string& /*Text*/) {}

  // Step by step: the walk begins; Zeichenfolge is the derived string it walks
  // when it is to be shown (shorter than 100 characters), else null.
  virtual void SchrittmodusBeginnt(const std::string* /*Zeichenfolge*/) {}
  // Asked before each character; false stops the step-by-step walk.
  virtual bool WeiterFragen() { return true; }
  // The character acting now; Position is its index in the string shown, or
  // KeinePosition.
  virtual void ZeichenZeigen(char /*c*/, size_t /*Position*/) {}
  // The step-by-step walk is over (done, stopped or failed).
  virtual void SchrittmodusEndet() {}

  static constexpr size_t KeinePosition = static_cast<size_t>(-1);
};
