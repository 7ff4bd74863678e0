#include "turtle/BildLeinwand.h"

#include <QPen>

namespace {
// Enough lines to amortise the call, few enough to stay in the cache.
constexpr size_t Stapelgroesse = 2048;
}  // namespace

TBildLeinwand::TBildLeinwand(QImage& Bild) : Bild(Bild) { Warteschlange.reserve(Stapelgroesse); }

TBildLeinwand::~TBildLeinwand() { Ausgeben(); }

int TBildLeinwand::Breite() const { return Bild.width(); }
int TBildLeinwand::Hoehe() const { return Bild.height(); }

QColor TBildLeinwand::Farbwert(uint32_t Farbe) {
  return QColor(Farbe & 0xFF, (Farbe >> 8) & 0xFF, (Farbe >> 16) & 0xFF);
}

void TBildLeinwand::StiftFarbeSetzen(uint32_t Wert) {
  if (Wert == Farbe) return;
  Leeren();
  Farbe = Wert;
  StiftGueltig = false;
}

void TBildLeinwand::StiftBreiteSetzen(int Wert) {
  if (Wert < 0 || Wert == Stiftbreite) return;
  Leeren();
  Stiftbreite = Wert;
  StiftGueltig = false;
}

void TBildLeinwand::RastermodusSetzen(TRastermodus Wert) {
  if (Wert == Modus) return;
  Leeren();
  Modus = Wert;
  StiftGueltig = false;
}

void TBildLeinwand::PinselFarbeSetzen(uint32_t Wert) {
  Leeren();
  Pinsel = Wert;
  StiftGueltig = false;
}

void TBildLeinwand::Vorbereiten() {
  if (!Maler.isActive()) {
    Maler.begin(&Bild);
    Maler.setRenderHint(QPainter::Antialiasing, false);
    StiftGueltig = false;
  }
  if (StiftGueltig) return;
  // Width 1 and 0 both give the one-pixel line; wider pens round their ends
  // so that the steps of a thick path join without notches.
  QPen Stift(Farbwert(Farbe), Stiftbreite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  Maler.setPen(Stift);
  Maler.setBrush(Farbwert(Pinsel));
  Maler.setCompositionMode(Modus == TRastermodus::NichtXor
                               ? QPainter::RasterOp_NotSourceXorDestination
                               : QPainter::CompositionMode_SourceOver);
  StiftGueltig = true;
}

void TBildLeinwand::Leeren() {
  if (Warteschlange.empty()) return;
  Vorbereiten();
  Maler.drawLines(Warteschlange.data(), static_cast<int>(Warteschlange.size()));
  Warteschlange.clear();
}

void TBildLeinwand::Anfuegen(int X1, int Y1, int X2, int Y2) {
  if (Modus == TRastermodus::NichtXor) {
    // Batched lines may be stroked as one path, where overlaps count once;
    // inverting needs every line on its own.
    Vorbereiten();
    Maler.drawLine(X1, Y1, X2, Y2);
    return;
  }
  Warteschlange.emplace_back(X1, Y1, X2, Y2);
  if (Warteschlange.size() >= Stapelgroesse) Leeren();
}

void TBildLeinwand::Bewegen(int X, int Y) { Aktuell = QPoint(X, Y); }

void TBildLeinwand::LinieNach(int X, int Y) {
  Anfuegen(Aktuell.x(), Aktuell.y(), X, Y);
  Aktuell = QPoint(X, Y);
}

void TBildLeinwand::Linie(int X1, int Y1, int X2, int Y2) {
  Anfuegen(X1, Y1, X2, Y2);
  Aktuell = QPoint(X2, Y2);
}

void TBildLeinwand::Polylinie(const TPunkt* Punkte, int Anzahl) {
  if (Anzahl <= 0) return;
  Leeren();
  Vorbereiten();
  std::vector<QPoint> P;
  P.reserve(Anzahl);
  for (int i = 0; i < Anzahl; ++i) P.emplace_back(Punkte[i].X, Punkte[i].Y);
  Maler.drawPolyline(P.data(), Anzahl);
  Aktuell = P.back();
}

void TBildLeinwand::Ellipse(int X1, int Y1, int X2, int Y2) {
  Leeren();
  Vorbereiten();
  Maler.drawEllipse(QRect(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1)));
}

void TBildLeinwand::RechteckFuellen(int X1, int Y1, int X2, int Y2) {
  Leeren();
  Vorbereiten();
  Maler.fillRect(QRect(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1)), Farbwert(Pinsel));
}

void TBildLeinwand::Ausgeben() {
  Leeren();
  if (Maler.isActive()) Maler.end();
}
