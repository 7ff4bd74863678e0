// The monkey's checks: after each event the windows must agree with the rule
// system and the settings in force, and nothing may be left hanging. Which
// field shows which value, and how, is taken from the field table
// (Rezeptfelder), the extra settings' own table and the drawing window's
// radio groups.
#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "engine/Einstellungen.h"
#include "mainwindow/Affenbuch.h"

class QFileDialog;
class QLineEdit;

class TAffenpruefung : TAffenteil {
 public:
  TAffenpruefung(TAffenbuch& Buch, int GrenzeMs) : TAffenteil(Buch), GrenzeMs(GrenzeMs) {}

  // After an event returned, no dialog and no popup may still be open; the
  // windows left shown are those the user works in.
  void NichtsOffen(const char* Wann);
  // All invariants, once the event loop ran after an event.
  void Pruefen();
  // Every window and control shown carries its name, for the report and the tests.
  void NamenPruefen(QWidget* F);
  // The fields of a dialog that just opened show the settings in force.
  void DialogGeoeffnet(QWidget* D);
  // The dialog's fields not being typed in read as the working values.
  void DialogPruefen(QWidget* D);
  // A click on the drawing surface at Ort set the start there.
  void StartPruefen(QPoint Ort);

  // A picture dialog confirmed Datei: a PNG of the drawing window must show
  // the surface as it is now.
  void BildGewaehlt(QFileDialog* D, const QString& Datei);

  // A file dropped on the main window must be loaded once the drop is over,
  // or a message must say why not; a field never takes the file's name.
  void AblageErwarten(const QString& Pfad, const QString& Ziel);
  void Abgeworfen(bool Angenommen, QLineEdit* Feld, const QString& FeldVorher,
                  const QString& Dateiname);
  // A drop that loaded its file, or said why not, is done with.
  void AblageBeobachten();

  // A prompt of the rule field was shown: it may keep its text.
  bool ERegelFrei = false;

 private:
  void RegelnPruefen();
  void FelderPruefen();
  void ZeichenfensterPruefen();
  void EinstellungenPruefen();
  void ExtrafelderPruefen(QWidget* D, const TEinstellungen& W, bool Geoeffnet);
  void BilderPruefen();
  void AblagePruefen();
  void Feld(QLineEdit* E, bool Stimmt, const QString& Soll);

  const int GrenzeMs;
  QString Geladen;  // the file the main window loaded or saved last

  // A PNG the drawing window saves: the file as it was before, and the
  // surface at the moment its name was confirmed.
  struct TBildprobe {
    QString Datei;
    std::string Vorher;
    QImage Flaeche;
  };
  std::vector<TBildprobe> Bildproben;

  // A file dropped on the main window, and the messages shown until then.
  struct TAblageprobe {
    QString Pfad, Ziel;
    int64_t Meldungen = 0;
    bool Angenommen = false;  // the window took the drop event
  };
  std::optional<TAblageprobe> Ablageprobe;
};
