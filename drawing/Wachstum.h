// Watching a drawing grow: its depths one after the other ("Wachstum"), or
// the lines of one depth in the order the turtle draws them ("Aufbau"), with
// play, pause and single steps, and both saved as animated PNG.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "pictures/Animation.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class TEingabefeld;
class THintergrundzeichner;
class TSpeicherung;
class TRadioGruppe;

// The picture of a frame, with the turtle's symbol at the head of its path;
// where the area is smaller than the frame, both shown smaller to fit, the
// frame's aspect kept.
class TBildflaeche : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  void BildSetzen(const QImage& Bild, const TKopf& Kopf);
  // Where no picture lies: the blank surface's colour (0x00BBGGRR).
  void GrundSetzen(uint32_t Farbe);
  const QImage& Bild() const { return Bildchen; }

 protected:
  void paintEvent(QPaintEvent* E) override;

 private:
  QImage Bildchen;
  uint32_t Grund = Hintergrundfarbe(TEinstellungen());
  TKopf Kopf;
};

class TWachstum : public QWidget {
  Q_OBJECT

 public:
  // Groesse: the drawing surface's size, which the frames have, also when the
  // window, which opens no larger than its screen's free area, shows them smaller.
  explicit TWachstum(QSize Groesse, QWidget* Eltern = nullptr);
  ~TWachstum() override;

  TBildflaeche* Bildflaeche;
  TRadioGruppe* RGArt;
  QPushButton* BZurueck;
  QPushButton* BAbspielen;
  QPushButton* BVor;
  QSlider* SLStand;
  QLabel* LStand;
  QCheckBox* CBFesthalten;
  QLabel* LTempo;
  TEingabefeld* ETempo;
  QLabel* LBildzeit;
  TEingabefeld* EBildzeit;
  QLabel* LBilder;
  TEingabefeld* EBilder;
  QPushButton* BSpeichern;

  // Takes the drawing to show: its rule system, settings, depth and start.
  void RezeptSetzen(const TLauf& Rezept);
  // The rule-system file last loaded or saved: animations are named after it.
  std::function<QString()> Regelsystemname;

  // Growth: the depth shown; Aufbau: the lines shown, of Ende(). A count
  // beyond 2^64 - 1 lines stops there: the last line the window reaches.
  uint64_t Stand() const { return Stelle; }
  uint64_t Ende() const;
  bool Aufbau() const;
  bool Spielt() const;
  // The frame of the position shown is complete.
  bool Fertig() const { return Vollstaendig; }

  // Writes the animation of what is chosen now, in the background; a failure
  // is shown when it ends.
  void Speichern(const QString& Datei);
  bool SpeichernLaeuft() const;

  void RGArtClick(int Index);
  void BZurueckClick();
  void BAbspielenClick();
  void BVorClick();
  void SLStandMoved(int Wert);
  void CBFesthaltenClick();
  void ETempoExit();
  void EBildzeitExit();
  void EBilderExit();
  void BSpeichernClick();

  // The frames' size for the picture, and the bar below it.
  QSize sizeHint() const override;
  // Fitted to the screen before it is first shown.
  void setVisible(bool Sichtbar) override;

 protected:
  void resizeEvent(QResizeEvent* E) override;
  void showEvent(QShowEvent* E) override;
  void hideEvent(QHideEvent* E) override;

 private:
  void StandSetzen(uint64_t Neu);
  // The slider's steps: one a depth or line, at most Schieberstufen for a path.
  int Stufen() const;
  void Zeichnen();
  void BildGekommen(int Nummer, const QImage& Bild, double Anteil, bool Zuletzt,
                    const QString& Fehler);
  // A blank frame.
  QImage Leer() const;
  void Weiterspielen();
  void Beschriften();
  void Anhalten();
  // Places the controls in the bar and gives the picture the rest.
  void Anordnen();

  TLauf R;
  QSize Groesse;
  uint64_t Linien = 0;  // of the drawing at its depth
  // The deepest depth's step, measured by the first job that holds the
  // scale, once per drawing: the worker thread alone reads and writes it.
  std::shared_ptr<std::optional<double>> Festschritt = std::make_shared<std::optional<double>>();
  uint64_t Stelle = 0;
  double Anteil = 0;   // lines played beyond Stelle
  int Tempo = 200;     // lines per second
  int Bildzeit = 500;  // ms per frame
  int Bilder = 100;    // frames of an Aufbau animation
  THintergrundzeichner* Zeichner;
  TSpeicherung* Export;
  QTimer* Uhr;
  // Since the frame under way was started: its time runs while it is drawn.
  QElapsedTimer Bildbeginn;
  int Auftrag = 0;
  bool Vollstaendig = false;
  std::shared_ptr<TKopf> KopfDesAuftrags;  // where the job under way puts the head
};
