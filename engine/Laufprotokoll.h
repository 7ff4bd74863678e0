// The runs drawn on the surface since the last "Löschen", each as far as it
// came, so that any view can draw them again: an SVG file, a magnified cut-out.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Rezept.h"

class TLeinwand;

// One run: its inputs (the rules shared with the runs of the same rule-system
// state), how many characters acted, and why it cannot be drawn again exactly
// (empty: it can).
struct TProtokolllauf {
  TLauf Lauf;
  uint64_t Zeichen = 0;
  std::string Hindernis;
};

class TLaufprotokoll {
 public:
  // Past either, the log stops recording and cannot be replayed any more.
  static constexpr size_t MaxLaeufe = 10000;
  static constexpr size_t MaxRegeltext = size_t{64} << 20;

  // A run begins with these inputs; runs of the same rules share them.
  void Beginnen(TLauf Lauf);
  // The run under way placed its start itself (centring).
  void StartGesetzt(double X, double Y);
  // Something changed how the run under way draws its remaining lines.
  void Stoeren(const std::string& Grund);
  // The run ended (done, stopped or failed) after Zeichen acting characters,
  // drawn with this step size.
  void Beenden(uint64_t Zeichen, double Schrittweite);
  // "Löschen": earlier runs are gone, a run under way keeps only its rest.
  void Leeren();

  bool Laeuft() const { return Laufend; }
  // The inputs of the last run, during a run of the one under way; none before any.
  std::optional<TLauf> LetzterLauf() const;
  // Why the runs cannot be drawn again exactly; empty when they can.
  std::string Hindernis() const;
  // The runs ended since the last "Löschen", for a replay that must not mind
  // what happens to the log meanwhile.
  std::vector<TProtokolllauf> Abschrift() const { return Laeufe; }
  size_t Anzahl() const { return Laeufe.size(); }

 private:
  std::vector<TProtokolllauf> Laeufe;
  TProtokolllauf Aktueller;
  bool Laufend = false;
  bool Uebervoll = false;
  size_t Textgroesse = 0;  // bytes of distinct rule-system texts held
};

// Draws the runs again on the canvas, one after the other, each with its own
// settings and generator and ending where it ended; nothing else is read or
// changed. Weiter, when given, is called now and then with the share done
// (0 to 1) and stops the replay by returning false. A run that ended with an
// error (turtle stack, floating point) ends where it ended then, and the next
// one follows. Returns false when Weiter stopped it. Ansicht, when given, is
// the view each run is drawn through; the canvas is then its output.
bool Wiedergeben(const std::vector<TProtokolllauf>& Laeufe, TLeinwand& Leinwand,
                 const std::function<bool(double Anteil)>& Weiter = {},
                 const std::optional<TAnsicht>& Ansicht = std::nullopt);
