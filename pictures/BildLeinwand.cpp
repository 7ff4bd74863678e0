#include "pictures/BildLeinwand.h"

#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// Enough lines to amortise the call, few enough to stay in the cache.
constexpr size_t Stapelgroesse = 2048;
// A batch is drawn in one go; thick lines fill it sooner, so that no single
// batch keeps the program from its messages for long.
constexpr uint64_t Stapelaufwand = 2048;
// Pixels of a line that cost as much as a short thin line does by itself.
constexpr double PixelProEinheit = 256;

// The pixels QPainter sets for a one-pixel line from (0, 0) to (DX, DY).
// With whole-pixel end points its result only moves with the line, so each
// extent is asked for once and then stamped wherever it occurs.
class TMusterspeicher {
 public:
  static constexpr int Reichweite = 24;  // |DX|, |DY| up to this
  struct TMuster {
    bool Bekannt = false;
    int MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    std::vector<QPoint> Punkte;
  };

  // Breite is 0 or 1.
  const TMuster& Muster(int Breite, int DX, int DY) {
    TMuster& M = Eintraege[Breite][DY + Reichweite][DX + Reichweite];
    if (!M.Bekannt) [[unlikely]]
      Ermitteln(Breite, DX, DY, M);
    return M;
  }

 private:
  static constexpr int Mitte = Reichweite + 4, Seite = 2 * Mitte + 1;

  void Ermitteln(int Breite, int DX, int DY, TMuster& M) {
    if (Probe.isNull()) {
      Probe = QImage(Seite, Seite, QImage::Format_RGB32);
      Probe.fill(Qt::white);
    }
    const QPen Schwarz(Qt::black, Breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    {
      QPainter P(&Probe);
      P.setPen(Schwarz);
      P.drawLine(Mitte, Mitte, Mitte + DX, Mitte + DY);
    }
    const QRgb Weiss = qRgb(255, 255, 255);
    M.MinX = M.MinY = Seite;
    M.MaxX = M.MaxY = -Seite;
    for (int y = 0; y < Seite; ++y) {
      QRgb* Zeile = reinterpret_cast<QRgb*>(Probe.scanLine(y));
      for (int x = 0; x < Seite; ++x) {
        if (Zeile[x] == Weiss) continue;
        Zeile[x] = Weiss;
        M.Punkte.emplace_back(x - Mitte, y - Mitte);
        M.MinX = std::min(M.MinX, x - Mitte);
        M.MaxX = std::max(M.MaxX, x - Mitte);
        M.MinY = std::min(M.MinY, y - Mitte);
        M.MaxY = std::max(M.MaxY, y - Mitte);
      }
    }
    M.Bekannt = true;
  }

  QImage Probe;
  TMuster Eintraege[2][2 * Reichweite + 1][2 * Reichweite + 1];
};

// One per thread: pictures may be drawn away from the windows' thread too.
TMusterspeicher& Musterspeicher() {
  thread_local TMusterspeicher Speicher;
  return Speicher;
}

bool StempelbaresFormat(QImage::Format F) {
  return F == QImage::Format_RGB32 || F == QImage::Format_ARGB32_Premultiplied;
}
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
  StempelWertGueltig = false;
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

QPen TBildLeinwand::Stift() const {
  // Width 1 and 0 both give the one-pixel line; wider pens round their ends
  // so that the steps of a thick path join without notches.
  return QPen(Farbwert(Farbe), Stiftbreite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void TBildLeinwand::Vorbereiten() {
  if (!Maler.isActive()) {
    if (!Pixel && StempelbaresFormat(Bild.format())) {
      // Taken before the painter starts, so that no later detach separates them.
      PixelNehmen();
    }
    Maler.begin(&Bild);
    Maler.setRenderHint(QPainter::Antialiasing, false);
    StiftGueltig = false;
  }
  if (StiftGueltig) return;
  Maler.setPen(Stift());
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
  WartenderAufwand = 0;
}

// The pixels a stroke of this pen over the rectangle may touch, at most the
// whole picture (the painter clips the rest), in units of a short thin line.
uint64_t TBildLeinwand::Flaechenaufwand(double Breite, double Hoehe) const {
  const double Stift = std::max(Stiftbreite, 1);
  const double Flaeche = std::min((Breite + Stift) * (Hoehe + Stift),
                                  static_cast<double>(Bild.width()) * Bild.height());
  return 1 + static_cast<uint64_t>(Flaeche / PixelProEinheit);
}

void TBildLeinwand::Anfuegen(int X1, int Y1, int X2, int Y2) {
  if (Modus == TRastermodus::NichtXor) {
    // Batched lines may be stroked as one path, where overlaps count once;
    // inverting needs every line on its own.
    Vorbereiten();
    Maler.drawLine(X1, Y1, X2, Y2);
    Aufwandszaehler += Linienaufwand(X1, Y1, X2, Y2);
    return;
  }
  if (Stiftbreite <= 1 && Stempeln(X1, Y1, X2, Y2)) return;
  const uint64_t Kosten = Linienaufwand(X1, Y1, X2, Y2);
  Aufwandszaehler += Kosten;
  // No pixel to set: kept out of the batch, which a change of colour would
  // otherwise draw for this line alone.
  if (Verfehlt(X1, Y1, X2, Y2)) return;
  Warteschlange.emplace_back(X1, Y1, X2, Y2);
  WartenderAufwand += Kosten;
  if (Warteschlange.size() >= Stapelgroesse || WartenderAufwand >= Stapelaufwand) Leeren();
}

// Both ends beyond one edge of the picture, farther than the pen's round end reaches.
bool TBildLeinwand::Verfehlt(int X1, int Y1, int X2, int Y2) const {
  const int64_t R = Stiftbreite / 2 + 2;
  return std::max<int64_t>(X1, X2) < -R || std::min<int64_t>(X1, X2) >= Bild.width() + R ||
         std::max<int64_t>(Y1, Y2) < -R || std::min<int64_t>(Y1, Y2) >= Bild.height() + R;
}

uint64_t TBildLeinwand::Linienaufwand(int X1, int Y1, int X2, int Y2) const {
  // A line's stroke is about its length times the pen's width.
  const double Laenge =
      std::max(std::abs(static_cast<double>(X2) - X1), std::abs(static_cast<double>(Y2) - Y1));
  return Flaechenaufwand(Laenge, 0);
}

// Thin lines in copy mode only set pixels to one value, so stamped and
// batched lines of one pen may go in any order.
bool TBildLeinwand::Stempeln(int X1, int Y1, int X2, int Y2) {
  constexpr int R = TMusterspeicher::Reichweite;
  // Ends may lie further apart than an int reaches.
  const int64_t DX64 = int64_t{X2} - X1, DY64 = int64_t{Y2} - Y1;
  if (DX64 < -R || DX64 > R || DY64 < -R || DY64 > R) return false;
  const int DX = static_cast<int>(DX64), DY = static_cast<int>(DY64);
  if (!PixelZugang()) return false;
  const TMusterspeicher::TMuster& M = Musterspeicher().Muster(Stiftbreite, DX, DY);
  if (int64_t{X1} + M.MinX < 0 || int64_t{X1} + M.MaxX >= PixelBreite || int64_t{Y1} + M.MinY < 0 ||
      int64_t{Y1} + M.MaxY >= PixelHoehe)
    return false;  // QPainter clips such lines itself
  const uint32_t Wert = Stempelwert();
  uint32_t* Start = Pixel + static_cast<qsizetype>(Y1) * Zeilenlaenge + X1;
  for (const QPoint& P : M.Punkte) Start[P.y() * Zeilenlaenge + P.x()] = Wert;
  return true;
}

bool TBildLeinwand::PixelZugang() {
  if (!Pixel) {
    if (!StempelbaresFormat(Bild.format()) || Maler.isActive()) return false;
    PixelNehmen();
  }
  return true;
}

void TBildLeinwand::PixelNehmen() {
  Pixel = reinterpret_cast<uint32_t*>(Bild.bits());
  Zeilenlaenge = Bild.bytesPerLine() / 4;
  PixelBreite = Bild.width();
  PixelHoehe = Bild.height();
}

// Lines still in the batch have not reached the pixels: what they will set
// counts as not shown yet, which only makes the answer false more often.
bool TBildLeinwand::Bedeckt(int X1, int Y1, int X2, int Y2) {
  if (Modus != TRastermodus::Kopieren || Stiftbreite > 1 || !PixelZugang()) return false;
  const int L = std::max(std::min(X1, X2), 0), R = std::min(std::max(X1, X2), PixelBreite - 1);
  const int O = std::max(std::min(Y1, Y2), 0), U = std::min(std::max(Y1, Y2), PixelHoehe - 1);
  const uint32_t Wert = Stempelwert();
  for (int y = O; y <= U; ++y) {
    const uint32_t* Zeile = Pixel + static_cast<qsizetype>(y) * Zeilenlaenge;
    for (int x = L; x <= R; ++x)
      if (Zeile[x] != Wert) return false;
  }
  return true;
}

// The value QPainter writes for the pen's colour on this format; asking it
// costs a painter, which a colour per line must not pay each time.
uint32_t TBildLeinwand::Stempelwert() {
  if (StempelWertGueltig) [[likely]]
    return StempelWert;
  TStempelfarbe& E = Stempelspeicher[(Farbe ^ (Farbe >> 8) ^ (Farbe >> 16)) % Stempelfarben];
  if (!E.Gueltig || E.Farbe != Farbe) {
    QImage Punkt(1, 1, Bild.format());
    Punkt.fill(Qt::white);
    QPainter P(&Punkt);
    P.setPen(Stift());
    P.drawPoint(0, 0);
    P.end();
    E = {Farbe, *reinterpret_cast<const uint32_t*>(Punkt.constScanLine(0)), true};
  }
  StempelWert = E.Wert;
  StempelWertGueltig = true;
  return StempelWert;
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
  QRect Umriss(P.front(), P.front());
  for (const QPoint& Punkt : P) Umriss |= QRect(Punkt, Punkt);
  Aufwandszaehler += Flaechenaufwand(Umriss.width(), Umriss.height());
  Aktuell = P.back();
}

void TBildLeinwand::Ellipse(int X1, int Y1, int X2, int Y2) {
  Leeren();
  Vorbereiten();
  Maler.drawEllipse(QRect(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1)));
  Aufwandszaehler += Flaechenaufwand(std::abs(X2 - X1), std::abs(Y2 - Y1));
}

void TBildLeinwand::RechteckFuellen(int X1, int Y1, int X2, int Y2) {
  Leeren();
  Vorbereiten();
  Maler.fillRect(QRect(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1)), Farbwert(Pinsel));
  Aufwandszaehler += Flaechenaufwand(std::abs(X2 - X1), std::abs(Y2 - Y1));
}

void TBildLeinwand::VieleckFuellen(const TPunkt* Punkte, int Anzahl) {
  if (Anzahl < 3) return;  // encloses nothing
  Leeren();
  Vorbereiten();
  std::vector<QPoint> P;
  P.reserve(static_cast<size_t>(Anzahl));
  for (int i = 0; i < Anzahl; ++i) P.emplace_back(Punkte[i].X, Punkte[i].Y);
  Maler.setPen(Qt::NoPen);
  Maler.setBrush(Farbwert(Farbe));
  Maler.drawPolygon(P.data(), Anzahl, Qt::WindingFill);
  StiftGueltig = false;  // pen and brush are the lines' again at the next use
  QRect Umriss(P.front(), P.front());
  for (const QPoint& Punkt : P) Umriss |= QRect(Punkt, Punkt);
  Aufwandszaehler += Flaechenaufwand(Umriss.width(), Umriss.height());
}

void TBildLeinwand::Grundieren(uint32_t Wert) {
  // Whatever waits in the batch lies beneath the new ground.
  Warteschlange.clear();
  WartenderAufwand = 0;
  if (Maler.isActive()) Maler.end();
  Pixel = nullptr;
  Bild.fill(Farbwert(Wert));
  Pinsel = Wert;
  StiftGueltig = false;
  Aufwandszaehler += Flaechenaufwand(Bild.width(), Bild.height());
}

void TBildLeinwand::Ausgeben() {
  Leeren();
  if (Maler.isActive()) Maler.end();
  Pixel = nullptr;
}
