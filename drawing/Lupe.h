// The magnifier: the runs on the drawing surface since the last "Löschen", at
// any scale from 1/4 to 1,000,000, drawn again through a view that skips what
// it does not show.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <memory>

#include "engine/Ausschnitt.h"
#include "engine/Laufprotokoll.h"

class QLabel;
class QPushButton;
class TBildspeicher;
class THintergrundzeichner;

// The view area: shows the picture of the view, turns wheel and drag into
// zooming and panning, and tells where the pointer is.
class TLupenflaeche : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // The picture shown: Bild made for the view Gemacht; a view since moved or
  // zoomed shows it moved and scaled until its own picture comes.
  void BildSetzen(const QImage& Bild, const TAnsicht& Gemacht);
  // Where no picture lies: the blank surface's colour (0x00BBGGRR).
  void GrundSetzen(uint32_t Farbe);
  void AnsichtSetzen(const TAnsicht& Jetzt);
  const QImage& Bild() const { return Bildchen; }

 signals:
  void Rad(QPointF Ort, double Schritte);
  void Ziehen(QPointF Um);  // the view moves by so many pixels
  void Zeiger(QPointF Ort);
  void Verlassen();

 protected:
  void paintEvent(QPaintEvent* E) override;
  void wheelEvent(QWheelEvent* E) override;
  void mousePressEvent(QMouseEvent* E) override;
  void mouseMoveEvent(QMouseEvent* E) override;
  void mouseReleaseEvent(QMouseEvent* E) override;
  void leaveEvent(QEvent* E) override;

 private:
  QImage Bildchen;
  uint32_t Grund = Hintergrundfarbe(TEinstellungen());
  TAnsicht Gemacht, Jetzt;
  bool Gezogen = false;
  QPointF Letzter;
};

class TLupe : public QWidget {
  Q_OBJECT

 public:
  // Flaeche: the drawing surface's picture, whose size the view area would
  // like to have; Protokoll: the runs drawn on it. The window opens no larger
  // than its screen's free area, and the view area gets what room the
  // controls leave, whatever the window's size.
  TLupe(std::function<const QImage&()> Flaeche, const TLaufprotokoll& Protokoll,
        QWidget* Eltern = nullptr);
  ~TLupe() override;

  TLupenflaeche* Ansichtsflaeche;
  QLabel* LMassstab;
  QLabel* LZeiger;
  QLabel* LHinweis;
  QPushButton* BGanzeFlaeche;
  QPushButton* BZwischenablage;
  QPushButton* BBildSpeichern;

  // The rule-system file last loaded or saved: pictures are named after it.
  std::function<QString()> Regelsystemname;

  // The view: the surface point (X, Y) at the top left, Massstab output
  // pixels per surface pixel (kept within 1/4 and 1,000,000). It shows the
  // rectangle of the view area's size / Massstab; a picture saved or copied
  // has the surface's size, and shows the rectangle of the surface's size /
  // Massstab from the same corner, as its recipe's Ausschnitt says.
  void AnsichtSetzen(const TAnsicht& Neu);
  const TAnsicht& Ansicht() const { return Sicht; }
  // Zooms by Faktor about the point Ort of the view area (it stays where it is).
  void Zoomen(double Faktor, QPointF Ort);
  // The view at Massstab with the surface point Punkt as far into the view
  // area as into the surface, in shares of their widths and heights.
  void UmPunkt(QPointF Punkt, double Massstab);
  // The whole surface at scale 1.
  void GanzeFlaeche();
  // The runs on the surface changed (a run ended, "Löschen").
  void LaeufeGeaendert();

  // The picture of the view is complete and shown.
  bool Fertig() const;
  // Writes the view as PNG or, the visible lines, as SVG, with the recipe of
  // the last run and the view; in the background unless the view is complete.
  // Throws with a German message when it cannot start.
  void BildSpeichern(const QString& Datei);
  // A picture of the view is being drawn for saving or copying.
  bool SpeichernLaeuft() const;

  void BGanzeFlaecheClick();
  void BZwischenablageClick();
  void BBildSpeichernClick();

  // The surface's size for the view area, and the bar below it.
  QSize sizeHint() const override;
  // Fitted to the screen before it is first shown.
  void setVisible(bool Sichtbar) override;

 protected:
  void resizeEvent(QResizeEvent* E) override;
  void keyPressEvent(QKeyEvent* E) override;
  void showEvent(QShowEvent* E) override;
  void hideEvent(QHideEvent* E) override;

 private:
  void Neuzeichnen();
  void Zeichnen();
  void BildGekommen(int Nummer, const QImage& Bild, double Anteil, bool Zuletzt,
                    const QString& Fehler);
  void Beschriften();
  // Places the controls in the bar and gives the view area the rest.
  void Anordnen();

  TAnsicht Sicht;
  std::function<const QImage&()> Flaeche;
  const TLaufprotokoll& Protokoll;
  THintergrundzeichner* Zeichner;
  std::unique_ptr<TBildspeicher> Speicher;
  int Auftrag = 0;  // the number of the job that draws the view shown
  bool Vollstaendig = false;
  bool Geplant = false;  // a drawing of the view is due
  TAnsicht Gezeichnet;   // the view of the job under way
};
