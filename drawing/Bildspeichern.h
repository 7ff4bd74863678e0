// Saving the drawing window's picture: PNG as the surface shows it, SVG by
// drawing again the runs since the last "Löschen"; both carry the recipe of
// the last run.
#pragma once

#include <QString>
#include <functional>

class QWidget;
class TLaufprotokoll;
class TZeichenflaeche;

class TBildspeicher {
 public:
  TBildspeicher(QWidget* Fenster, TZeichenflaeche& Flaeche, const TLaufprotokoll& Protokoll);

  // The rule-system file last loaded or saved, empty when none: its name is
  // proposed (with the picture's ending), its folder when the user may write there.
  std::function<QString()> Regelsystemname;

  // Asks for a file name and saves; errors are shown.
  void Fragen();
  // Writes the picture, PNG or SVG by the name's ending. Throws with a German
  // message, also when the runs cannot be drawn again exactly or the SVG was
  // stopped; a file of that name stays as it was then.
  void Speichern(const QString& Datei);

  // An SVG is being written.
  bool SvgLaeuft() const { return Laeuft; }
  // Stops an SVG being written; Speichern then throws with this reason.
  void Unterbrechen(const QString& Grund);
  // The program ends: an SVG being written stops, quietly.
  void Beenden();

 private:
  void SvgSchreiben(const QString& Datei);

  QWidget* Fenster;
  TZeichenflaeche& Flaeche;
  const TLaufprotokoll& Protokoll;
  QString Ordner;  // where the last picture went
  bool Laeuft = false;
  QString Unterbrochen;
  bool Ende = false;
};
