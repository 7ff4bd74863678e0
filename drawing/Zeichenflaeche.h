// The drawing surface: the image holding the bitmap that the turtle draws on.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>

class TBildLeinwand;

// The bitmap keeps the size it was made with, whatever happens to the window later.
class TZeichenflaeche : public QWidget {
  Q_OBJECT

 public:
  TZeichenflaeche(QSize Groesse, QWidget* Eltern);
  ~TZeichenflaeche() override;

  // The canvas on the bitmap.
  TBildLeinwand& Leinwand() { return *Canvas; }
  // The bitmap with everything drawn so far.
  const QImage& Bitmap();
  // The blank surface of the settings in force.
  void Leeren();
  // The background it was last cleared with: what its pictures' recipes record.
  uint32_t Grundfarbe() const { return Grund; }

 signals:
  void MouseDown(Qt::MouseButtons Knoepfe, int X, int Y);
  // The mouse wheel turned over the surface at (X, Y), by Schritte notches
  // (positive: away from the user).
  void Rad(double X, double Y, double Schritte);

 protected:
  void paintEvent(QPaintEvent* E) override;
  void mousePressEvent(QMouseEvent* E) override;
  void wheelEvent(QWheelEvent* E) override;

 private:
  QImage Bild;
  std::unique_ptr<TBildLeinwand> Canvas;
  uint32_t Grund = 0;
};
