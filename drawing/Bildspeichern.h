// Saving a picture of the drawing window or of the magnifier: PNG as shown,
// SVG by drawing again the runs since the last "Löschen". Both carry the
// recipe of the last run, with the view when there is one. What must be drawn
// again is drawn and written in the background, from copies taken when the
// saving starts.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "engine/Lauf.h"

class QWidget;
class TLaufprotokoll;
class TSpeicherung;
struct TProtokolllauf;

class TBildspeicher {
 public:
  // Fenster: where dialogs and the box appear; Flaeche: the drawing surface's
  // picture; Protokoll: the runs drawn on it.
  TBildspeicher(QWidget* Fenster, std::function<const QImage&()> Flaeche,
                const TLaufprotokoll& Protokoll);
  ~TBildspeicher();

  // The rule-system file last loaded or saved, empty when none: its name is
  // proposed (with the picture's ending), its folder when the user may write there.
  std::function<QString()> Regelsystemname;
  // A view, when the picture is one: the runs drawn through it on a picture of
  // the surface's size, those left out that cannot be drawn again exactly.
  std::function<std::optional<TAnsicht>()> Ansicht;
  // The view's picture when it is complete and of the surface's size, else null.
  std::function<QImage()> Fertigbild;

  // Asks for a file name and saves; errors are shown.
  void Fragen();
  // Saves the picture, PNG or SVG by the name's ending: at once when it is
  // the surface, else in the background. Throws with a German message when
  // it cannot start (the runs cannot be drawn again exactly, say); a failure
  // in the background is shown when it ends. A file of that name stays as it
  // was unless the picture is written whole.
  void Speichern(const QString& Datei);
  // The picture as its PNG holds it, in the background when it must be
  // drawn; then Fertig gets it.
  void BildHolen(const std::function<void(const QImage&)>& Fertig);

  // A picture is being drawn again for saving.
  bool SpeichernLaeuft() const;
  // Stops that drawing; when it ends, a message gives this reason.
  void Unterbrechen(const QString& Grund);
  // The saving that the user sees end.
  TSpeicherung& Speicherung() { return *Hintergrund; }

 private:
  // The runs the picture shows; throws when they cannot be drawn again.
  std::vector<TProtokolllauf> Laeufe(const char* Format) const;
  std::string Rezepttext() const;

  QWidget* Fenster;
  std::function<const QImage&()> Flaeche;
  const TLaufprotokoll& Protokoll;
  TSpeicherung* Hintergrund;
  QString Ordner;  // where the last picture went
  QString Format;  // of the picture being written
};
