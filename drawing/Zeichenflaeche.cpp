#include "drawing/Zeichenflaeche.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "engine/Lauf.h"
#include "pictures/BildLeinwand.h"

TZeichenflaeche::TZeichenflaeche(QSize Groesse, QWidget* Eltern)
    : QWidget(Eltern), Bild(Groesse, QImage::Format_RGB32) {
  setObjectName(QStringLiteral("zeichenflaeche"));
  Canvas = std::make_unique<TBildLeinwand>(Bild);
  Grund = Hintergrundfarbe(Einstellungen);
  FlaecheLeeren(*Canvas, Einstellungen);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(Groesse);
}

TZeichenflaeche::~TZeichenflaeche() = default;

const QImage& TZeichenflaeche::Bitmap() {
  Canvas->Ausgeben();
  return Bild;
}

void TZeichenflaeche::Leeren() {
  Grund = Hintergrundfarbe(Einstellungen);
  FlaecheLeeren(*Canvas, Einstellungen);
  update();
}

void TZeichenflaeche::paintEvent(QPaintEvent* E) {
  QPainter P(this);
  P.drawImage(E->rect(), Bitmap(), E->rect());
}

void TZeichenflaeche::mousePressEvent(QMouseEvent* E) {
  const QPoint Punkt = E->position().toPoint();
  emit MouseDown(E->buttons(), Punkt.x(), Punkt.y());
}

void TZeichenflaeche::wheelEvent(QWheelEvent* E) {
  const double Schritte = E->angleDelta().y() / 120.0;
  if (Schritte == 0) {
    E->ignore();
    return;
  }
  E->accept();
  emit Rad(E->position().x(), E->position().y(), Schritte);
}
