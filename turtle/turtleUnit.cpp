#include "turtle/turtleUnit.h"

#include <cmath>
#include <limits>

#include "helpers/Gleitkomma.h"

namespace {

constexpr double Grad = 0.017453292519943295;
constexpr double Zwei52 = 4503599627370496.0;
constexpr double Zwei63 = 9223372036854775808.0;

// Canvas coordinates are int; points beyond that range are far off any
// surface, so lines are clipped to a box that still lies far outside.
constexpr double Rand = 1073741824.0;  // 2^30

bool IstInt(int64_t v) {
  return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

int Begrenzt(int64_t v) {
  if (v < -static_cast<int64_t>(Rand)) return -static_cast<int>(Rand);
  if (v > static_cast<int64_t>(Rand)) return static_cast<int>(Rand);
  return static_cast<int>(v);
}

// Liang-Barsky against [-Rand, Rand]^2; false when nothing is left.
bool Abschneiden(double& X1, double& Y1, double& X2, double& Y2) {
  double DX = X2 - X1, DY = Y2 - Y1;
  double T0 = 0.0, T1 = 1.0;
  const double P[4] = {-DX, DX, -DY, DY};
  const double Q[4] = {X1 + Rand, Rand - X1, Y1 + Rand, Rand - Y1};
  for (int i = 0; i < 4; ++i) {
    if (P[i] == 0.0) {
      if (Q[i] < 0.0) return false;
      continue;
    }
    double T = Q[i] / P[i];
    if (P[i] < 0.0) {
      if (T > T1) return false;
      if (T > T0) T0 = T;
    } else {
      if (T < T0) return false;
      if (T < T1) T1 = T;
    }
  }
  double AX = X1, AY = Y1;
  X1 = AX + T0 * DX;
  Y1 = AY + T0 * DY;
  X2 = AX + T1 * DX;
  Y2 = AY + T1 * DY;
  return true;
}

}  // namespace

double CosGrad(double Winkel) { return std::cos(Winkel * Grad); }
double SinGrad(double Winkel) { return std::sin(Winkel * Grad); }

int64_t Runden(double x) {
  double a = std::fabs(x);
  if (a < Zwei52) [[likely]] {
    // Adding and removing 2^52 leaves the nearest integer, ties to even.
    double r = (a + Zwei52) - Zwei52;
    return static_cast<int64_t>(x < 0 ? -r : r);
  }
  if (!(a < Zwei63)) GleitkommaUngueltig();
  return static_cast<int64_t>(x);
}

TTurtle::TTurtle(TLeinwand& Leinwand)
    : Canvas(Leinwand),
      MitteX(Leinwand.Breite() / 2),
      MitteY(Leinwand.Hoehe() / 2),
      X(MitteX),
      Y(MitteY) {}

namespace {

// The setters share one pattern: remove a shown symbol, assign, draw it again.
template <class Typ>
void MitSymbolSetzen(TTurtle& Turtle, Typ& Feld, Typ Wert) {
  if (Turtle.Sichtbar) {
    Turtle.SymbolZeichnen();
    Feld = Wert;
    Turtle.SymbolZeichnen();
  } else {
    Feld = Wert;
  }
}

}  // namespace

void TTurtle::FarbeSetzen(uint32_t Wert) { MitSymbolSetzen(*this, Farbe, Wert); }
void TTurtle::DickeSetzen(double Wert) { MitSymbolSetzen(*this, Dicke, Wert); }
void TTurtle::XSetzen(double Wert) { MitSymbolSetzen(*this, X, Wert); }
void TTurtle::YSetzen(double Wert) { MitSymbolSetzen(*this, Y, Wert); }
void TTurtle::RichtungSetzen(double Wert) { MitSymbolSetzen(*this, Richtung, Wert); }
void TTurtle::SymbolGroesseSetzen(double Wert) { MitSymbolSetzen(*this, SymbolGroesse, Wert); }

void TTurtle::Zeigen(bool An) {
  if (An == Sichtbar) return;
  Sichtbar = An;
  SymbolZeichnen();
}

void TTurtle::SymbolZeichnen() {
  TRastermodus AlterModus = Canvas.Rastermodus();
  uint32_t AlteFarbe = Canvas.StiftFarbe();
  Canvas.RastermodusSetzen(TRastermodus::NichtXor);
  Canvas.StiftFarbeSetzen(SymbolFarbe);
  const double s = SymbolGroesse, h = Richtung;
  const double QX = CosGrad(90.0 - h) * s * 0.25, QY = SinGrad(90.0 - h) * s * 0.25;
  const double P[4][2] = {
      {X, Y}, {X + QX, Y + QY}, {X + CosGrad(h) * s, Y - SinGrad(h) * s}, {X - QX, Y - QY}};
  TPunkt Punkte[5];
  for (int i = 0; i < 4; ++i)
    Punkte[i] = {Begrenzt(Runden(Gk(P[i][0]))), Begrenzt(Runden(Gk(P[i][1])))};
  Punkte[4] = Punkte[0];
  Canvas.Polylinie(Punkte, 5);
  Canvas.RastermodusSetzen(AlterModus);
  Canvas.StiftFarbeSetzen(AlteFarbe);
}

void TTurtle::LinieZeichnen(double X1, double Y1, double X2, double Y2) {
  Canvas.StiftFarbeSetzen(Farbe);
  int64_t Breite = Runden(Dicke);
  if (Breite > std::numeric_limits<int>::max()) Breite = std::numeric_limits<int>::max();
  if (Breite < std::numeric_limits<int>::min()) Breite = std::numeric_limits<int>::min();
  Canvas.StiftBreiteSetzen(static_cast<int>(Breite));
  int64_t A = Runden(X1), B = Runden(Y1), C = Runden(X2), D = Runden(Y2);
  if (IstInt(A) && IstInt(B) && IstInt(C) && IstInt(D)) [[likely]] {
    Canvas.Linie(static_cast<int>(A), static_cast<int>(B), static_cast<int>(C),
                 static_cast<int>(D));
    return;
  }
  double P1 = static_cast<double>(A), Q1 = static_cast<double>(B);
  double P2 = static_cast<double>(C), Q2 = static_cast<double>(D);
  if (Abschneiden(P1, Q1, P2, Q2))
    Canvas.Linie(Begrenzt(Runden(P1)), Begrenzt(Runden(Q1)), Begrenzt(Runden(P2)),
                 Begrenzt(Runden(Q2)));
  else
    Canvas.Bewegen(Begrenzt(C), Begrenzt(D));
}

void TTurtle::Vorwaerts(double L) {
  if (Sichtbar) SymbolZeichnen();
  double C, S;
  Winkel.Werte(Richtung, C, S);
  double NX = Gk(X + Gk(L * C));
  double NY = Gk(Y - Gk(L * S));
  if (StiftOben || OffeneBlaetter > 0)
    Canvas.Bewegen(Begrenzt(Runden(NX)), Begrenzt(Runden(NY)));
  else
    LinieZeichnen(X, Y, NX, NY);
  X = NX;
  Y = NY;
  if (Sichtbar) SymbolZeichnen();
  if (OffeneBlaetter > 0) BlattEcke();
}

double RichtungNormieren(double W) {
  if (W >= 360.0 || W < 0.0) {
    // Stepping by 360 is exact until the last step into [0, 360), which
    // fmod plus one addition reproduces, for any size of angle.
    W = std::fmod(W, 360.0);
    if (W < 0.0) W += 360.0;
    if (W >= 360.0) W = 0.0;
    W += 0.0;  // no -0
  }
  return W;
}

void TTurtle::Drehen(double W) { RichtungSetzen(RichtungNormieren(Gk(Richtung + W))); }

void TTurtle::Grundstellung() {
  XSetzen(MitteX);
  YSetzen(MitteY);
  RichtungSetzen(Grundrichtung);
}

void TTurtle::PositionMerken() {
  if (Gemerkt >= StapelGroesse) throw ETurtleStapel("Zu viele gemerkte Turtle-Positionen");
  Stapel[Gemerkt++] = {X, Y, Richtung};
}

void TTurtle::PositionZurueck() {
  if (Gemerkt <= 0)
    throw ETurtleStapel("Stapelfehler: Um mehr Positionen zurück als vorher gemerkt");
  const TZustand& Z = Stapel[Gemerkt - 1];
  XSetzen(Z.X);
  YSetzen(Z.Y);
  RichtungSetzen(Z.Richtung);
  --Gemerkt;
}

void TTurtle::BlattBeginnen() {
  if (OffeneBlaetter >= HoechstensBlaetter) throw ETurtleStapel("Zu viele offene Blätter");
  if (static_cast<size_t>(OffeneBlaetter) == Ecken.size()) Ecken.emplace_back();
  Ecken[static_cast<size_t>(OffeneBlaetter++)].clear();
  BlattEcke();
}

void TTurtle::BlattEcke() {
  std::vector<TPunkt>& Blatt = Ecken[static_cast<size_t>(OffeneBlaetter - 1)];
  if (Blatt.size() >= static_cast<size_t>(HoechstensEcken))
    throw ETurtleStapel("Zu viele Ecken in einem Blatt");
  Blatt.push_back({Begrenzt(Runden(X)), Begrenzt(Runden(Y))});
}

const std::vector<TPunkt>& TTurtle::BlattEcken() const {
  static const std::vector<TPunkt> Keine;
  return OffeneBlaetter > 0 ? Ecken[static_cast<size_t>(OffeneBlaetter - 1)] : Keine;
}

void TTurtle::BlattSchliessen(bool Fuellen) {
  if (OffeneBlaetter <= 0) return;
  const std::vector<TPunkt>& Blatt = Ecken[static_cast<size_t>(--OffeneBlaetter)];
  if (!Fuellen) return;
  Canvas.StiftFarbeSetzen(Farbe);
  Canvas.VieleckFuellen(Blatt.data(), static_cast<int>(Blatt.size()));
}
