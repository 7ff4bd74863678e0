#include "engine/Ausschnitt.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "engine/Laufrahmen.h"
#include "engine/Pflanzenlauf.h"
#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "helpers/Gleitkomma.h"
#include "turtle/Winkelcache.h"
#include "turtle/turtleUnit.h"

namespace {

// Deeper nesting than this never fits on the turtle's stack anyway.
constexpr int64_t GroessteVerschachtelung = int64_t{1} << 40;
// A pen this wide covers any output: nothing is jumped over beneath it.
constexpr double RiesigerStift = 1e15;
// Pixels looked at before a part is walked instead, which costs about as much.
constexpr double Prueffelder = 64;
// Where a jump crosses a power of two, parts of up to this many characters
// are gone through without the walk, which would look at the clock: they
// take less than a millisecond.
constexpr uint64_t Durchlauf = uint64_t{1} << 14;

// Parts of up to this many pixels are gone through piece by piece without
// the walk, however many characters they hold: what they can show is little.
// Where that takes more pieces than TLaufart::Stueckgrenze, the walk draws
// the part after all, the same pixels again.
constexpr double Zerlegfelder = 4096;

struct TKreis {
  double X, Y, R;
};

// The box of a part's points, rounded as the turtle rounds them.
struct TPixelkasten {
  int64_t PX, PY, QX, QY;
  TPixelkasten(double MinX, double MinY, double MaxX, double MaxY)
      : PX(Runden(MinX)), PY(Runden(MinY)), QX(Runden(MaxX)), QY(Runden(MaxY)) {}
  explicit TPixelkasten(const TSprungziel& Z) : TPixelkasten(Z.MinX, Z.MinY, Z.MaxX, Z.MaxY) {}
  // No pen reaching Reichweite from the box touches the output.
  bool Draussen(double Reichweite, double Breite, double Hoehe) const {
    return static_cast<double>(QX) < -Reichweite || static_cast<double>(PX) > Breite + Reichweite ||
           static_cast<double>(QY) < -Reichweite || static_cast<double>(PY) > Hoehe + Reichweite;
  }
  bool Flach() const { return PX == QX || PY == QY; }
  bool Punkt() const { return PX == QX && PY == QY; }
  double Flaeche() const {
    return (static_cast<double>(QX) - static_cast<double>(PX) + 1) *
           (static_cast<double>(QY) - static_cast<double>(PY) + 1);
  }
  void Zeichnen(TTurtle& T) const {
    T.LinieZeichnen(static_cast<double>(PX), static_cast<double>(PY), static_cast<double>(QX),
                    static_cast<double>(QY));
  }
};

// What a part's thin lines of one colour draw, by the box of its points.
enum class TKastenart {
  Nichts,  // no pixel that is not set already
  Strich,  // the pixels from one corner of the box to the other
  Offen,   // no telling without its pieces
};

struct TLage {
  double X, Y, Phi;
};

// A disc around the box of the discs that holds all of them.
void Umschliessen(const std::vector<TKreis>& Kreise, TTeilbild& T) {
  T.Linien = !Kreise.empty();
  if (!T.Linien) return;
  double MinX = Kreise[0].X, MaxX = MinX, MinY = Kreise[0].Y, MaxY = MinY;
  for (const TKreis& K : Kreise) {
    MinX = std::min(MinX, K.X - K.R);
    MaxX = std::max(MaxX, K.X + K.R);
    MinY = std::min(MinY, K.Y - K.R);
    MaxY = std::max(MaxY, K.Y + K.R);
  }
  T.MX = (MinX + MaxX) / 2;
  T.MY = (MinY + MaxY) / 2;
  double R = 0;
  for (const TKreis& K : Kreise) R = std::max(R, std::hypot(K.X - T.MX, K.Y - T.MY) + K.R);
  T.Radius = R;
}

int Stiftbreite(double Dicke) {
  const int64_t B = Runden(Dicke);
  return static_cast<int>(
      std::clamp<int64_t>(B, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

TTeilbilder::TTeilbilder(const std::array<const std::string*, 256>& Rumpf, double WinkelPlus,
                         double WinkelMinus, int32_t Tiefe)
    : WinkelPlus(WinkelPlus), WinkelMinus(WinkelMinus), Stufen(std::max(Tiefe, 0)) {
  Platz.fill(0);
  for (size_t c = 0; c < 256; ++c)
    if (Rumpf[c]) {
      Platz[c] = static_cast<int32_t>(Anzahl++);
      Ersetzt[c] = true;
      Ruempfe[c] = *Rumpf[c];
    }
  Teile.resize(static_cast<size_t>(Stufen) * Anzahl);
  TWinkelcache Winkel;
  std::vector<TKreis> Kreise;
  std::vector<TLage> Stapel;
  for (int32_t j = 0; j < Stufen; ++j) {
    for (size_t c = 0; c < 256; ++c) {
      if (!Rumpf[c]) continue;
      TTeilbild& T = Teile[static_cast<size_t>(j) * Anzahl + static_cast<size_t>(Platz[c])];
      double X = 0, Y = 0, Phi = 0;
      int64_t Ebene = 0, Tiefste = 0;
      bool Gut = true;
      Kreise.clear();
      Stapel.clear();
      for (const char d : *Rumpf[c]) {
        const auto u = static_cast<unsigned char>(d);
        if (j > 0 && Rumpf[u]) {
          const TTeilbild& K = Teil(u, j - 1);
          T.Zeichen = SattSumme(T.Zeichen, K.Zeichen);
          T.Blattzeichen = T.Blattzeichen || K.Blattzeichen;
          Gut = Gut && K.Springbar;
          if (!Gut) continue;
          double C, S;
          Winkel.Werte(Phi, C, S);
          if (K.Linien)
            Kreise.push_back({X + K.MX * C - K.MY * S, Y + K.MX * S + K.MY * C, K.Radius});
          X += K.DX * C - K.DY * S;
          Y += K.DX * S + K.DY * C;
          Phi = RichtungNormieren(Phi + K.Drehung);
          Tiefste = std::min(std::max(Tiefste, Ebene + K.Verschachtelung), GroessteVerschachtelung);
          continue;
        }
        T.Zeichen = SattSumme(T.Zeichen, 1);
        T.Blattzeichen = T.Blattzeichen || IstBlattzeichen(d);
        if (!Gut) continue;
        double C, S;
        switch (d) {
          case 'F':
            Winkel.Werte(Phi, C, S);
            Kreise.push_back({X, Y, 0});
            X += C;
            Y += S;
            Kreise.push_back({X, Y, 0});
            break;
          case 'f':
            Winkel.Werte(Phi, C, S);
            X += C;
            Y += S;
            break;
          case '+':
            Phi = RichtungNormieren(Phi + WinkelPlus);
            break;
          case '-':
            Phi = RichtungNormieren(Phi + WinkelMinus);
            break;
          case '[':
            Stapel.push_back({X, Y, Phi});
            Tiefste = std::max(Tiefste, ++Ebene);
            break;
          case ']':
            // Closes what opened before the replacement: no jump over that.
            if (Stapel.empty()) {
              Gut = false;
              break;
            }
            X = Stapel.back().X;
            Y = Stapel.back().Y;
            Phi = Stapel.back().Phi;
            Stapel.pop_back();
            --Ebene;
            break;
          default:
            break;
        }
      }
      Umschliessen(Kreise, T);
      T.DX = X;
      T.DY = Y;
      T.Drehung = Phi;
      T.Verschachtelung = Tiefste;
      T.Springbar = Gut && Stapel.empty() && std::isfinite(X) && std::isfinite(Y) &&
                    std::isfinite(Phi) && std::isfinite(T.Radius);
    }
  }
}

size_t TTeilbilder::TDickenstreuung::operator()(const TDickenschluessel& K) const {
  uint64_t h = K.Dicke * 0x9E3779B97F4A7C15ull ^ K.Schwund;
  h ^= (static_cast<uint64_t>(K.Stufe) << 8 | K.Zeichen) * 0xBF58476D1CE4E5B9ull;
  return static_cast<size_t>(h ^ (h >> 29));
}

bool TTeilbilder::Dicke(unsigned char c, int32_t j, double Schwund, double& d,
                        double& Letzte) const {
  // Without shrink every "[" and "]" keeps a finite thickness as it is.
  if (Schwund == 1 && std::isfinite(d)) {
    if (Teil(c, j).Linien) Letzte = d;
    return true;
  }
  const TDickenschluessel K{std::bit_cast<uint64_t>(d), std::bit_cast<uint64_t>(Schwund), j, c};
  if (const auto i = Dicken.find(K); i != Dicken.end()) {
    if (std::isnan(i->second.Ende)) return false;
    d = i->second.Ende;
    if (!std::isnan(i->second.Letzte)) Letzte = i->second.Letzte;
    return true;
  }
  // A replacement's thickness depends on few entry values: few are remembered.
  constexpr size_t Hoechstens = size_t{1} << 16;
  if (Dicken.size() >= Hoechstens) return false;
  constexpr double Keine = std::numeric_limits<double>::quiet_NaN();
  double Wert = d, Zuletzt = Keine;
  bool Gut = true;
  try {
    for (const char x : Ruempfe[c]) {
      const auto u = static_cast<unsigned char>(x);
      if (j > 0 && Ersetzt[u]) {
        if (!(Gut = Dicke(u, j - 1, Schwund, Wert, Zuletzt))) break;
      } else if (x == '[') {
        Wert = Gk(Wert * Schwund);
      } else if (x == ']') {
        Wert = GkTeilen(Wert, Schwund);
      } else if (x == 'F') {
        Zuletzt = Wert;
      }
    }
  } catch (const std::exception&) {
    Gut = false;
  }
  Dicken.emplace(K, TDickenwert{Gut ? Wert : Keine, Zuletzt});
  if (!Gut) return false;
  d = Wert;
  if (!std::isnan(Zuletzt)) Letzte = Zuletzt;
  return true;
}

std::unique_ptr<TSpruenge> TTeilbilder::NeueSpruenge(double Schritt, bool Messend) const {
  std::array<const std::string*, 256> Rumpf{};
  for (size_t c = 0; c < 256; ++c)
    if (Ersetzt[c]) Rumpf[c] = &Ruempfe[c];
  return std::make_unique<TSpruenge>(Rumpf, WinkelPlus, WinkelMinus, Schritt, Messend);
}

TSpruenge& TTeilbilder::Spruenge(double Schritt) const {
  if (!Sprungspeicher ||
      std::bit_cast<uint64_t>(Sprungspeicher->Schritt()) != std::bit_cast<uint64_t>(Schritt))
    Sprungspeicher = NeueSpruenge(Schritt, false);
  return *Sprungspeicher;
}

TSpruenge& TTeilbilder::Messspruenge() const {
  if (!Messspeicher) Messspeicher = NeueSpruenge(1.0, true);
  return *Messspeicher;
}

TSpruenge& TTeilbilder::Lagespruenge() const {
  if (!Lagespeicher) Lagespeicher = NeueSpruenge(1.0, false);
  return *Lagespeicher;
}

// Jumps are for the exact walk of the classic characters: random factors
// are drawn in the order of the walk, and the plants' rules, colours and
// leaves act character by character.
bool Springbar(const TEinstellungen& E) {
  return !E.Zufallsmodus && E.Regelwahl == TRegelwahl::ErsteRegel &&
         E.Faerbung == TFaerbung::Einfarbig && E.Zeichensatz == TZeichensatz::Klassisch;
}

// The walk through the engine's view, or, without one, the drawing's own walk
// on a picture. It keeps the engine's counts, message passes and stops as the
// full walk does, and draws what the full walk at the scaled step would draw,
// but clipped to the output. In exact mode it jumps over every replacement
// whose lines all miss the output, and on a picture over those that cannot
// show more than one pixel, which it draws in their place.
class TAusschnittlauf {
 public:
  TAusschnittlauf(TZeichenmaschine& M, int32_t Tiefe)
      : M(M),
        Turtle(M.Turtle),
        Leinwand(M.Turtle.Canvas),
        Tiefe(Tiefe),
        Ganz(!M.Ansicht),
        Schritt(Ganz ? M.Schrittweite_ : Gk(M.Schrittweite_ * M.Ansicht->Massstab)),
        Breite(Leinwand.Breite()),
        Hoehe(Leinwand.Hoehe()),
        Punkte(!M.Art.Vollstaendig && Leinwand.Rasterbild()) {}

  void Teil(const char* s, size_t Laenge, int32_t n);
  // The same for plants: under the random choice nothing is jumped over.
  void Pflanze(const char* s, size_t Laenge, int32_t n);

 private:
  using TTabelle = TErsetzungen;

  bool Springen(const TTabelle& T, unsigned char c, int32_t j);
  TKastenart Kastenart(const TPixelkasten& P, const TSprungziel& Z);
  bool Bedeckt(const TPixelkasten& P);
  bool Zerlegen(const TSpruenge& S, const TSprungziel& Z, double Reichweite);
  bool Abseits(const TTeilbild& K, double L);
  const TTeilbilder& Bilder(const TTabelle& T);
  void Handeln(char c, bool Zufaellig);
  void Linie(double X1, double Y1, double X2, double Y2);
  bool Zeigt(const std::vector<TPunkt>& Ecken) const;

  TZeichenmaschine& M;
  TTurtle& Turtle;
  TLeinwand& Leinwand;
  const int32_t Tiefe;
  // No view: the engine's own characters on its own step, which may change.
  const bool Ganz;
  const double Schritt;
  const double Breite;
  const double Hoehe;
  // Parts within one pixel may stop there.
  const bool Punkte;
  TWinkelcache Winkel;
};

void TAusschnittlauf::Teil(const char* s, size_t Laenge, int32_t n) {
  M.BisZurUhr -= static_cast<int32_t>(Laenge >> 4);
  M.AufwandAnrechnen();
  M.NachrichtenVerarbeiten();
  if (M.Abbruch) return;
  const bool Zufaellig = M.E->Zufallsmodus;
  if (n > 0) {
    const bool Spruenge = !M.Art.Vollstaendig && Springbar(*M.E);
    for (size_t i = 0; i < Laenge; ++i) {
      const auto c = static_cast<unsigned char>(s[i]);
      const TTabelle& T = *M.Aktuelle;
      if (T.Ersetzt[c]) {
        if (!Spruenge || !Springen(T, c, n - 1)) Teil(T.Rumpf[c].data(), T.Rumpf[c].size(), n - 1);
        continue;
      }
      if (M.Abbruch) return;
      ++M.Erledigt;
      if (M.Ausgefuehrt_ >= M.Art.Zeichengrenze) {
        M.Abbruch = true;
        return;
      }
      Handeln(static_cast<char>(c), Zufaellig);
      ++M.Ausgefuehrt_;
      M.SchwereArbeitPruefen();
    }
    return;
  }
  M.Erledigt += Laenge;
  const uint64_t Rest =
      M.Art.Zeichengrenze > M.Ausgefuehrt_ ? M.Art.Zeichengrenze - M.Ausgefuehrt_ : 0;
  const size_t Bis = static_cast<size_t>(std::min<uint64_t>(Laenge, Rest));
  size_t i = 0;
  try {
    for (; i < Bis && !M.Abbruch; ++i) {
      Handeln(s[i], Zufaellig);
      if ((i & 15) == 15) M.SchwereArbeitPruefen();
    }
  } catch (...) {
    M.Ausgefuehrt_ += i;
    throw;
  }
  M.Ausgefuehrt_ += i;
  if (i == Bis && Bis < Laenge) M.Abbruch = true;
}

void TAusschnittlauf::Pflanze(const char* s, size_t Laenge, int32_t n) {
  struct TArt {
    TAusschnittlauf& L;
    TZeichenmaschine& M;
    bool Anfang(size_t Laenge) {
      M.BisZurUhr -= static_cast<int32_t>(Laenge >> 4);
      M.AufwandAnrechnen();
      M.NachrichtenVerarbeiten();
      return !M.Abbruch;
    }
    // The summaries know only the first rules, and random factors are drawn
    // in the order of the walk.
    bool Springen(unsigned char c, int32_t j, bool Zufaellig) {
      return !M.Pf.Wahl && !Zufaellig && L.Springen(*M.Aktuelle, c, j);
    }
    bool Blatt(char c, int64_t Stufe, bool Zufaellig) {
      return M.PflanzenZeichen(c, Stufe, Zufaellig, [this](char d, bool Z) { L.Handeln(d, Z); });
    }
  } Art{*this, M};
  M.PflanzeBeginnen(std::string(s, Laenge), n);
  M.Wachsen(Art, s, Laenge, n, M.Wurzel());
}

const TTeilbilder& TAusschnittlauf::Bilder(const TTabelle& T) { return M.Teilbilder_(T, Tiefe); }

const TTeilbilder& TZeichenmaschine::Teilbilder_(const TErsetzungen& T, int32_t Tiefe) {
  const TTeilbilder* B = Teilbilder.get();
  if (B && B->Stand == T.Stand && B->WinkelPlus == DrehungPlus && B->WinkelMinus == DrehungMinus &&
      B->Tiefe() >= Tiefe)
    return *B;
  std::array<const std::string*, 256> Rumpf{};
  for (size_t c = 0; c < 256; ++c)
    if (T.Ersetzt[c]) Rumpf[c] = &T.Rumpf[c];
  Teilbilder = std::make_unique<TTeilbilder>(Rumpf, DrehungPlus, DrehungMinus, Tiefe);
  Teilbilder->Stand = T.Stand;
  return *Teilbilder;
}

// Jumps over the replacement of c with j levels left when none of its lines
// can show, or, on a picture with a thin pen, when every point it passes
// rounds to one pixel: that pixel is all its lines draw. The turtle lands
// where the walk would leave it, bit for bit, or there is no jump. Nor is
// there where the walk would stop inside: a stop, the replayed run's end, a
// turtle stack that overflows (the full walk reports it there), nor beneath a
// negative thickness, whose pen is that of the last line drawn.
bool TAusschnittlauf::Springen(const TTabelle& T, unsigned char c, int32_t j) {
  --M.BisZurUhr;  // a jump costs about what a character walked costs
  if (M.Abbruch || Turtle.Dicke < 0 || !std::isfinite(M.DrehungPlus) ||
      !std::isfinite(M.DrehungMinus))
    return false;
  const TTeilbilder& B = Bilder(T);
  const TTeilbild& K = B.Teil(c, j);
  if (!K.Springbar || Turtle.Gemerkt + K.Verschachtelung > TTurtle::StapelGroesse) return false;
  // A leaf's corners lie beyond the summary: parts with leaves, or inside an
  // open one, are walked.
  if (M.E->Zeichensatz == TZeichensatz::MitBlaettern && (K.Blattzeichen || Turtle.Blaetter() > 0))
    return false;
  if (M.Ausgefuehrt_ > M.Art.Zeichengrenze || M.Art.Zeichengrenze - M.Ausgefuehrt_ < K.Zeichen)
    return false;
  TSprungziel Z;
  const double L = Ganz ? M.Schrittweite_ : Schritt;
  TSpruenge& S = B.Spruenge(L);
  if (!S.Springen(c, j, Turtle.X, Turtle.Y, Turtle.Richtung, Z) &&
      (!Abseits(K, L) ||
       !M.Durchlaufen(S, c, j, Turtle.X, Turtle.Y, Turtle.Richtung, Z, K.Zeichen <= Durchlauf)))
    return false;
  // The thickness the walk would leave, "[" by "]"; where it fails, the walk fails there.
  const double Schwund = M.E->Schwundfaktor;
  double Dicke = Turtle.Dicke;
  double Letzte = std::numeric_limits<double>::quiet_NaN();
  if (!B.Dicke(c, j, Schwund, Dicke, Letzte)) return false;
  // What is drawn in the part's place: nothing, a line of pixels, or its pieces.
  bool Strich = false;
  if (Z.Linien) {
    // Nests that thicken the pen widen its reach.
    double Breitester = Turtle.Dicke;
    if (std::fabs(Schwund) > 1)
      Breitester *= std::pow(std::fabs(Schwund), static_cast<double>(K.Verschachtelung));
    if (!(Breitester < RiesigerStift)) return false;
    // As far as the widest pen its lines round to reaches, drift included.
    const double Reichweite = std::max(Breitester * (1 + 1e-9) + 0.5, 1.0) * 0.5 + 2;
    if (const TPixelkasten P(Z); !P.Draussen(Reichweite, Breite, Hoehe)) {
      // Thin lines of one colour and one width, drawn in copy mode, each
      // within the box of its ends, both ends set.
      const int Stift = Stiftbreite(Turtle.Dicke);
      if (!Punkte || Turtle.Sichtbar || Turtle.StiftOben || Stift < 0 || Stift > 1 ||
          (Schwund != 1 && K.Verschachtelung > 0) ||
          Leinwand.Rastermodus() != TRastermodus::Kopieren)
        return false;
      Leinwand.StiftFarbeSetzen(Turtle.Farbe);
      Leinwand.StiftBreiteSetzen(Stift);
      switch (Kastenart(P, Z)) {
        case TKastenart::Strich:
          P.Zeichnen(Turtle);
          Strich = true;
          break;
        case TKastenart::Nichts:
          break;
        case TKastenart::Offen:
          // Its pieces on the grid, as far down as they show more: few
          // enough to go through without a look at the clock.
          if (!Z.Eintrag || !Z.Eintrag->Zerlegbar ||
              (P.Flaeche() > Zerlegfelder && K.Zeichen > Durchlauf) || !Zerlegen(S, Z, Reichweite))
            return false;
          break;
      }
    }
  }
  if (!Strich && !std::isnan(Letzte)) {
    // The pen as the part's last line leaves it, for what is drawn after.
    Leinwand.StiftFarbeSetzen(Turtle.Farbe);
    Leinwand.StiftBreiteSetzen(Stiftbreite(Letzte));
  }
  Turtle.XSetzen(Z.X);
  Turtle.YSetzen(Z.Y);
  Turtle.RichtungSetzen(Z.Richtung);
  Turtle.DickeSetzen(Dicke);
  M.Ausgefuehrt_ = SattSumme(M.Ausgefuehrt_, K.Zeichen);
  M.Erledigt = SattSumme(M.Erledigt, K.Zeichen);
  M.Gesprungen_ = SattSumme(M.Gesprungen_, K.Zeichen);
  return true;
}

// Lines within a box all from one pixel to itself, or, joined without gaps
// in one row or column, all the pixels from one end of the box to the other,
// for the extremes are ends of lines. Pixels set already stay as they are.
TKastenart TAusschnittlauf::Kastenart(const TPixelkasten& P, const TSprungziel& Z) {
  const bool Strich = P.Flach() && (P.Punkt() || !Z.Luecken);
  if (P.Flaeche() <= Prueffelder && Bedeckt(P)) return TKastenart::Nichts;
  return Strich ? TKastenart::Strich : TKastenart::Offen;
}

// With the pen set as the turtle draws, which its lines leave as it is.
bool TAusschnittlauf::Bedeckt(const TPixelkasten& P) {
  return Leinwand.Bedeckt(static_cast<int>(P.PX), static_cast<int>(P.PY), static_cast<int>(P.QX),
                          static_cast<int>(P.QY));
}

// The pieces of a part jumped over, each as its box tells, the lines as the
// walk draws them: with one thin pen the pixels do not depend on the order.
bool TAusschnittlauf::Zerlegen(const TSpruenge& S, const TSprungziel& Z, double Reichweite) {
  struct TMaler final : TStueckwahl {
    TAusschnittlauf& L;
    double Reichweite;
    TMaler(TAusschnittlauf& L, double Reichweite) : L(L), Reichweite(Reichweite) {}
    bool Teil(const TSprungziel& K) override {
      const TPixelkasten P(K);
      if (P.Draussen(Reichweite, L.Breite, L.Hoehe)) return true;
      switch (L.Kastenart(P, K)) {
        case TKastenart::Strich:
          P.Zeichnen(L.Turtle);
          return true;
        case TKastenart::Nichts:
          return true;
        case TKastenart::Offen:
          break;
      }
      return false;
    }
    // A thin line sets only pixels of the box of its ends; one off the
    // output sets none, and the pen is the turtle's already.
    void Linie(double X1, double Y1, double X2, double Y2) override {
      const TPixelkasten P(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2));
      if (P.Draussen(Reichweite, L.Breite, L.Hoehe) || (P.Flaeche() <= Prueffelder && L.Bedeckt(P)))
        return;
      L.Turtle.LinieZeichnen(X1, Y1, X2, Y2);
    }
  } Maler(*this, Reichweite);
  const int64_t Grenze = std::clamp<int64_t>(M.Art.Stueckgrenze, 0, int64_t{1} << 20);
  int64_t Rest = Grenze;
  const bool Gut = S.Zerlegen(Z, Maler, Rest);
  M.BisZurUhr -= static_cast<int32_t>(Grenze - std::max<int64_t>(Rest, 0));
  return Gut;
}

// Whether the lines of a part lie far off the output by its summary, so that
// working out where it ends is worth it even where no grid assures that: it
// is what the walk would do, without drawing. The exact box decides after.
bool TAusschnittlauf::Abseits(const TTeilbild& K, double L) {
  if (!K.Linien) return true;
  double C, S;
  Winkel.Werte(Turtle.Richtung, C, S);
  const double X = Turtle.X + L * (K.MX * C - K.MY * S);
  const double Y = Turtle.Y - L * (K.MX * S + K.MY * C);
  const double Breitester =
      std::max(Turtle.Dicke, 1.0) * std::pow(std::max(std::fabs(M.E->Schwundfaktor), 1.0),
                                             static_cast<double>(K.Verschachtelung));
  const double R =
      L * K.Radius + Breitester + 4 + 1e-6 * (std::fabs(X) + std::fabs(Y) + L * K.Radius);
  return std::isfinite(R) && (X + R < 0 || X - R > Breite || Y + R < 0 || Y - R > Hoehe);
}

// What the engine's Handeln does, in output pixels, with the lines through Linie.
void TAusschnittlauf::Handeln(char c, bool Zufaellig) {
  if (Ganz) {
    M.Handeln(c, Zufaellig);
    return;
  }
  const TEinstellungen& E = *M.E;
  switch (c) {
    case 'F':
    case 'f': {
      const double L =
          Zufaellig ? Gk(M.Zufall.Zufallsfaktor(E.AbweichungSchritt) * Schritt) : Schritt;
      double C, S;
      Winkel.Werte(Turtle.Richtung, C, S);
      const double NX = Gk(Turtle.X + Gk(L * C));
      const double NY = Gk(Turtle.Y - Gk(L * S));
      const bool Blatt = Turtle.Blaetter() > 0;
      if (c == 'F' && !Blatt) Linie(Turtle.X, Turtle.Y, NX, NY);
      Turtle.XSetzen(NX);
      Turtle.YSetzen(NY);
      if (Blatt) Turtle.BlattEcke();
      break;
    }
    case '+':
      Turtle.Drehen(Zufaellig ? Gk(M.Zufall.Zufallsfaktor(E.AbweichungPlus) * M.DrehungPlus)
                              : M.DrehungPlus);
      break;
    case '-':
      Turtle.Drehen(Zufaellig ? Gk(M.Zufall.Zufallsfaktor(E.AbweichungMinus) * M.DrehungMinus)
                              : M.DrehungMinus);
      break;
    case '[':
      Turtle.PositionMerken();
      Turtle.DickeSetzen(Gk(Turtle.Dicke * E.Schwundfaktor));
      break;
    case ']':
      Turtle.DickeSetzen(GkTeilen(Turtle.Dicke, E.Schwundfaktor));
      Turtle.PositionZurueck();
      break;
    case '}':
      if (E.Zeichensatz == TZeichensatz::MitBlaettern)
        Turtle.BlattSchliessen(Zeigt(Turtle.BlattEcken()));
      break;
    case '{':
    case '|':
      if (E.Zeichensatz == TZeichensatz::MitBlaettern) Blattzeichen(Turtle, c);
      break;
    default:
      break;
  }
}

// Whether a leaf of these corners may cover a pixel of the output: as for
// lines, the canvas gets none that misses it.
bool TAusschnittlauf::Zeigt(const std::vector<TPunkt>& Ecken) const {
  if (Ecken.empty()) return false;
  int MinX = Ecken[0].X, MaxX = MinX, MinY = Ecken[0].Y, MaxY = MinY;
  for (const TPunkt& P : Ecken) {
    MinX = std::min(MinX, P.X);
    MaxX = std::max(MaxX, P.X);
    MinY = std::min(MinY, P.Y);
    MaxY = std::max(MaxY, P.Y);
  }
  return MaxX >= -2 && MinX <= Breite + 2 && MaxY >= -2 && MinY <= Hoehe + 2;
}

// A line as the turtle draws it, with the same end points and cut where the
// turtle cuts; left out when it misses the output. The pen's width is set
// all the same: a later line of negative thickness draws with it.
void TAusschnittlauf::Linie(double X1, double Y1, double X2, double Y2) {
  const int Stift = Stiftbreite(Turtle.Dicke);
  Leinwand.StiftBreiteSetzen(Stift);
  // Rounded as the turtle rounds them, failing where it fails.
  const double A = static_cast<double>(Runden(X1)), B = static_cast<double>(Runden(Y1));
  const double C = static_cast<double>(Runden(X2)), D = static_cast<double>(Runden(Y2));
  const double Reichweite = std::max(Leinwand.StiftBreite(), 1) * 0.5 + 2;
  if (std::max(A, C) < -Reichweite || std::min(A, C) > Breite + Reichweite ||
      std::max(B, D) < -Reichweite || std::min(B, D) > Hoehe + Reichweite)
    return;
  Turtle.LinieZeichnen(X1, Y1, X2, Y2);
}

// Small parts are walked through where no grid assures a jump; what that
// looks at counts as work on the way to the clock.
bool TZeichenmaschine::Durchlaufen(TSpruenge& S, unsigned char c, int32_t j, double X, double Y,
                                   double Richtung, TSprungziel& Z, bool Gehen) {
  const int64_t Hoechstens = Gehen ? static_cast<int64_t>(4 * Durchlauf) : 0;
  int64_t Rest = Hoechstens;
  const bool Gut = S.Durchlaufen(c, j, X, Y, Richtung, Z, Rest);
  BisZurUhr -= static_cast<int32_t>(Hoechstens - std::max<int64_t>(Rest, 0));
  return Gut;
}

// The measuring walk, and the drawing's own beside it for centring, jump
// over the replacement of c with j levels left where every point it passes
// is assured: the extremes are those of the box.
bool TZeichenmaschine::MessSprung(unsigned char c, int32_t j, int32_t Tiefe) {
  if (Art.Vollstaendig || ImmerVollstaendig || Abbruch || !std::isfinite(DrehungPlus) ||
      !std::isfinite(DrehungMinus))
    return false;
  --BisZurUhr;  // a jump costs about what a character walked costs
  const TTeilbilder& B = Teilbilder_(*Aktuelle, Tiefe);
  const TTeilbild& K = B.Teil(c, j);
  TMessung& M = *Messung;
  // "|" turns the walk around, which the jumps know nothing of.
  if (!K.Springbar || M.Oben + 1 + K.Verschachtelung > TMessung::Groesse ||
      (K.Blattzeichen && E->Zeichensatz == TZeichensatz::MitBlaettern))
    return false;
  const bool Gehen = K.Zeichen <= Durchlauf;
  const auto Sprung = [&](TSpruenge& S, double X, double Y, double R, TSprungziel& Z) {
    return S.Springen(c, j, X, Y, R, Z) || Durchlaufen(S, c, j, X, Y, R, Z, Gehen);
  };
  TSprungziel Z, L;
  if (!Sprung(B.Messspruenge(), M.x, M.y, M.Winkel, Z)) return false;
  // The turtle beside it for centring takes in the ends of lines only: where
  // every move draws, those are all the points the part passes. Its random
  // factors come in the order of the walk.
  if (M.Lage &&
      (E->Zufallsmodus || M.Blaetter > 0 ||
       !Sprung(B.Lagespruenge(), M.LageX, M.LageY, M.Richtung, L) || (L.Linien && L.Luecken)))
    return false;
  if (M.Lage) {
    if (L.Linien) {
      M.Einschliessen(L.MinX, L.MinY);
      M.Einschliessen(L.MaxX, L.MaxY);
    }
    M.LageX = L.X;
    M.LageY = L.Y;
    M.Richtung = L.Richtung;
  }
  M.x = Z.X;
  M.y = Z.Y;
  M.Winkel = Z.Richtung;
  M.maxX = std::max(M.maxX, Z.MaxX);
  M.minX = std::min(M.minX, Z.MinX);
  M.maxY = std::max(M.maxY, Z.MaxY);
  M.minY = std::min(M.minY, Z.MinY);
  Erledigt = SattSumme(Erledigt, K.Zeichen);
  return true;
}

bool TZeichenmaschine::Abkuerzbar() const {
  return !Art.Vollstaendig && Turtle.Canvas.Rasterbild() && !Turtle.Sichtbar && Springbar(*E);
}

void TZeichenmaschine::AusschnittTeil(const std::string& s, int32_t n) {
  Tabelle();
  Gesprungen_ = 0;
  // s may belong to the rule system, which message passes may change.
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization)
  TAusschnittlauf Lauf(*this, n);
  if (Pflanze() || Pf.NurTerminale)
    Lauf.Pflanze(Text.data(), Text.size(), n);
  else
    Lauf.Teil(Text.data(), Text.size(), n);
}
