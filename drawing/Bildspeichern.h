// Saving a picture of the drawing window or of the magnifier: PNG as shown,
// SVG by drawing again the runs since the last "Löschen". Both carry the
// recipe of the last run, with the view when there is one.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "engine/Ausschnitt.h"

class QWidget;
class TLaufprotokoll;
class TLeinwand;
struct TProtokolllauf;

class TBildspeicher {
 public:
  // Fenster: where dialogs and the bar appear; Flaeche: the drawing surface's
  // picture; Protokoll: the runs drawn on it.
  TBildspeicher(QWidget* Fenster, std::function<const QImage&()> Flaeche,
                const TLaufprotokoll& Protokoll);

  // The rule-system file last loaded or saved, empty when none: its name is
  // proposed (with the picture's ending), its folder when the user may write there.
  std::function<QString()> Regelsystemname;
  // A view, when the picture is one: the runs drawn through it on a picture of
  // the surface's size, those left out that cannot be drawn again exactly.
  std::function<std::optional<TAnsicht>()> Ansicht;

  // Asks for a file name and saves; errors are shown.
  void Fragen();
  // Writes the picture, PNG or SVG by the name's ending. Throws with a German
  // message, also when the runs cannot be drawn again exactly or the writing
  // was stopped; a file of that name stays as it was then.
  void Speichern(const QString& Datei);
  // The picture as its PNG would hold it; empty when the drawing of a view was stopped.
  QImage Bild();

  // A picture is being drawn again for saving.
  bool SvgLaeuft() const { return Laeuft; }
  // Stops that drawing; Speichern then throws with this reason.
  void Unterbrechen(const QString& Grund);
  // The program ends: a drawing for saving stops, quietly.
  void Beenden();

 private:
  // The runs the picture shows; throws when the surface's cannot all be drawn again.
  std::vector<TProtokolllauf> Laeufe(const char* Format) const;
  std::string Rezepttext() const;
  // Draws the runs again on Leinwand, with a bar and a way out; false when stopped.
  bool Wiedergabe(const std::vector<TProtokolllauf>& Laeufe, TLeinwand& Leinwand,
                  const QString& Text);
  void Unterbrochen_(const char* Was);

  QWidget* Fenster;
  std::function<const QImage&()> Flaeche;
  const TLaufprotokoll& Protokoll;
  QString Ordner;  // where the last picture went
  bool Laeuft = false;
  QString Unterbrochen;
  bool Ende = false;
};
