// Drawings that grow: the depths of a rule system one after the other
// ("Wachstum"), and the lines of one drawing in the order the turtle draws
// them ("Aufbau"); shown in a window or written as animated PNG, frame by
// frame, so that memory stays flat however long the animation is.
#pragma once

#include <QImage>
#include <QPointF>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/Lauf.h"

class TLeinwand;

// Called now and then with the share done (0 to 1); false stops.
using TWeiter = std::function<bool(double Anteil)>;

// A blank picture of a surface of this size with the settings E: every
// picture a run draws on starts as one.
QImage LeeresBild(int Breite, int Hoehe, const TEinstellungen& E);

// Frame Tiefe of the growth of R: R drawn at that depth at once, as a run of
// it would be (fitted when R's step is, centred when R is), from R's seed.
// With Schrittweite above 0 the step is that one instead (the scale of another
// depth held for all frames). False when Weiter stopped it.
bool WachstumsbildZeichnen(const TLauf& R, int32_t Tiefe, TLeinwand& Leinwand,
                           double Schrittweite = 0, const TWeiter& Weiter = {});

// The step size R gets at its own depth when fitted (or its own when not).
// Measuring a deep drawing takes a while: empty when Weiter stopped it.
std::optional<double> AngepassteSchrittweite(const TLauf& R, const TWeiter& Weiter = {});

// The lines of R's drawing at its depth, a leaf counting as one.
uint64_t Linienzahl(const TLauf& R);

// Where the k-th line ended, and the heading it had (degrees, 0 right, 90 up).
struct TKopf {
  QPointF Ort;
  double Richtung = 0;
  bool Da = false;  // a line was drawn
};

// The first Linien lines of R's drawing, in drawing order; gives the head.
// False when Weiter stopped it.
bool AufbauZeichnen(const TLauf& R, uint64_t Linien, TLeinwand& Leinwand, TKopf* Kopf = nullptr,
                    const TWeiter& Weiter = {});

// Writes the growth of R, depths 0 to R.Tiefe, as animated PNG of R.Breite x
// R.Hoehe, each frame shown Bildzeit ms; with TMassstab::Tiefste every frame has the
// scale of the deepest depth. False when Weiter stopped it: the file is then
// left as it was. Throws with a German message when the file can't be written.
enum class TMassstab { JeTiefe, Tiefste };
bool WachstumSchreiben(const TLauf& R, const std::string& Datei, int BildzeitMs,
                       TMassstab Massstab = TMassstab::JeTiefe, const TWeiter& Weiter = {});

// Writes Bilder frames of R's drawing: frame i (1 to Bilder) shows its first
// ceil(i * L / Bilder) of L lines, the last the whole drawing.
bool AufbauSchreiben(const TLauf& R, const std::string& Datei, int Bilder, int BildzeitMs,
                     const TWeiter& Weiter = {});
