#include "pictures/Animation.h"

#include <cmath>

#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "helpers/Dateistrom.h"
#include "pictures/Apng.h"
#include "pictures/BildLeinwand.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

// Ends a drawing early from inside the canvas.
struct TGenug {};
// Thrown where the user stopped an export between two frames.
struct TGestoppt {};

// Hands everything on to the canvas behind it and counts the lines; Nach is
// called after each, with its number.
class TLinienzaehler : public TLeinwand {
 public:
  TLinienzaehler(TLeinwand& Innen, std::function<void(uint64_t, int, int, int, int)> Nach)
      : Innen(Innen), Nach(std::move(Nach)) {}

  int Breite() const override { return Innen.Breite(); }
  int Hoehe() const override { return Innen.Hoehe(); }
  void StiftFarbeSetzen(uint32_t F) override { Innen.StiftFarbeSetzen(F); }
  void StiftBreiteSetzen(int B) override { Innen.StiftBreiteSetzen(B); }
  void RastermodusSetzen(TRastermodus M) override { Innen.RastermodusSetzen(M); }
  uint32_t StiftFarbe() const override { return Innen.StiftFarbe(); }
  int StiftBreite() const override { return Innen.StiftBreite(); }
  TRastermodus Rastermodus() const override { return Innen.Rastermodus(); }
  void PinselFarbeSetzen(uint32_t F) override { Innen.PinselFarbeSetzen(F); }
  void Bewegen(int X, int Y) override {
    AX = X;
    AY = Y;
    Innen.Bewegen(X, Y);
  }
  void LinieNach(int X, int Y) override { Linie(AX, AY, X, Y); }
  void Linie(int X1, int Y1, int X2, int Y2) override {
    Innen.Linie(X1, Y1, X2, Y2);
    AX = X2;
    AY = Y2;
    Aufwandszaehler = Innen.Aufwand();
    Nach(++Anzahl, X1, Y1, X2, Y2);
  }
  void Polylinie(const TPunkt* P, int N) override { Innen.Polylinie(P, N); }
  void Ellipse(int X1, int Y1, int X2, int Y2) override { Innen.Ellipse(X1, Y1, X2, Y2); }
  void RechteckFuellen(int X1, int Y1, int X2, int Y2) override {
    Innen.RechteckFuellen(X1, Y1, X2, Y2);
  }
  // A leaf counts as a line, ending at its last corner.
  void VieleckFuellen(const TPunkt* P, int N) override {
    Innen.VieleckFuellen(P, N);
    Aufwandszaehler = Innen.Aufwand();
    if (N <= 0) return;
    const TPunkt& A = P[N > 1 ? N - 2 : 0];
    Nach(++Anzahl, A.X, A.Y, P[N - 1].X, P[N - 1].Y);
  }
  void Ausgeben() override { Innen.Ausgeben(); }

  uint64_t Anzahl = 0;

 private:
  TLeinwand& Innen;
  std::function<void(uint64_t, int, int, int, int)> Nach;
  int AX = 0, AY = 0;
};

// A drawing at once of R, as a run draws it; Weiter at the message passes.
bool Zeichnen(TLauf R, TLeinwand& Leinwand, bool Anpassen, const TWeiter& Weiter) {
  R.Einstellungen.Schrittmodus = false;
  TNachzeichnung Wie;
  Wie.SchrittweiteAnpassen = Anpassen;
  Wie.Zentrieren = R.Einstellungen.Zentriert;
  Wie.Weiter = Weiter;
  try {
    return LaufZeichnen(R, Leinwand, Wie);
  } catch (const std::exception&) {
    // As a run: the picture as far as it came.
    return true;
  }
}

// An animated PNG of R's surface, written through a temporary file.
class TAnimationsdatei {
 public:
  TAnimationsdatei(const TLauf& R, const std::string& Datei, int Bilder, int BildzeitMs)
      : Strom(Datei, TFehlerform::MitName),
        Schreiber([this](std::string_view Teil) { Strom.Schreiben(Teil); }, Bilder, R.Breite,
                  R.Hoehe, BildzeitMs, RezeptAlsText(R)) {}
  void Bild(const QImage& B) { Schreiber.BildAnfuegen(B); }
  void Abschliessen() {
    Schreiber.Abschliessen();
    Strom.Abschliessen();
  }

 private:
  TDateistrom Strom;
  TApngSchreiber Schreiber;
};

// Asks Weiter at the measuring walk's message passes.
class TMessbeobachter : public TLaufbeobachter {
 public:
  explicit TMessbeobachter(const TWeiter& Weiter) : Weiter_(Weiter) {}
  bool Weiter() override { return !Weiter_ || Weiter_(0); }

 private:
  const TWeiter& Weiter_;
};

QImage Leer(const TLauf& R) { return LeeresBild(R.Breite, R.Hoehe, R.Einstellungen); }

// R as the run of its last frame lays it out: the step fitted, the start
// centred where R's are. That is the animation's recipe, which draws its last
// frame again as a still picture. Empty when Weiter stopped the walk.
std::optional<TLauf> LetztesBild(const TLauf& R, const TWeiter& Weiter) {
  TLauf Z = R;
  Z.Einstellungen.Schrittmodus = false;
  if (!Z.Einstellungen.SchrittweiteAnpassen && !Z.Einstellungen.Zentriert) return Z;
  TNachzeichnung Wie;
  Wie.SchrittweiteAnpassen = Z.Einstellungen.SchrittweiteAnpassen;
  Wie.Zentrieren = Z.Einstellungen.Zentriert;
  bool Gestoppt = false;
  Wie.Weiter = [&](double) {
    Gestoppt = Gestoppt || (Weiter && !Weiter(0));
    return !Gestoppt;
  };
  // Laid out, it is drawn no further.
  Wie.Bereit = [](const TLauf&) { throw TGenug(); };
  TSvgLeinwand Nichts(R.Breite, R.Hoehe);  // centring places on the canvas
  try {
    LaufZeichnen(Z, Nichts, Wie);
  } catch (const TGenug&) {
  } catch (const std::exception&) {
    // The frames fail as well; the recipe is what was laid out so far.
  }
  if (Gestoppt) return std::nullopt;
  return Z;
}

}  // namespace

QImage LeeresBild(int Breite, int Hoehe, const TEinstellungen& E) {
  QImage B(Breite, Hoehe, QImage::Format_RGB32);
  if (B.isNull()) return B;
  TBildLeinwand Leinwand(B);
  FlaecheLeeren(Leinwand, E);
  Leinwand.Ausgeben();
  return B;
}

bool WachstumsbildZeichnen(const TLauf& R, int32_t Tiefe, TLeinwand& Leinwand, double Schrittweite,
                           const TWeiter& Weiter) {
  TLauf Z = R;
  Z.Tiefe = Tiefe;
  // Each part keeps the colour it has in the grown plant.
  if (Z.Farbtiefe < 0) Z.Farbtiefe = R.Tiefe;
  bool Anpassen = Z.Einstellungen.SchrittweiteAnpassen;
  if (Schrittweite > 0) {
    Z.Schrittweite = Schrittweite;
    Anpassen = false;
  }
  return Zeichnen(Z, Leinwand, Anpassen, Weiter);
}

std::optional<double> AngepassteSchrittweite(const TLauf& R, const TWeiter& Weiter) {
  if (!R.Einstellungen.SchrittweiteAnpassen) return R.Schrittweite;
  // Measured only: the fit needs no canvas to draw on.
  TMessbeobachter Beobachter(Weiter);
  TSvgLeinwand Leinwand(1, 1);
  TTurtle Turtle(Leinwand);
  TZeichenmaschine M(Turtle, Beobachter);
  M.Einrichten(R);
  double w = 0, h = 0;
  M.SchrittweiteBestimmen(R.Tiefe, w, h);
  if (M.BestimmungAbgebrochen()) return std::nullopt;
  return AngepassterSchritt(w, h, R.Breite, R.Hoehe);
}

uint64_t Linienzahl(const TLauf& R) {
  if (!R.Regeln) return 0;
  return LaufZaehlen(R.Regeln->Ersetzungen(), R.Tiefe, R.Regeln->Axiom(), R.Einstellungen).Linien;
}

bool AufbauZeichnen(const TLauf& R, uint64_t Linien, TLeinwand& Leinwand, TKopf* Kopf,
                    const TWeiter& Weiter) {
  if (Kopf) *Kopf = TKopf();
  if (Linien == 0) return true;
  TLinienzaehler Zaehler(Leinwand, [&](uint64_t k, int X1, int Y1, int X2, int Y2) {
    if (k < Linien) return;
    if (Kopf) {
      Kopf->Ort = QPointF(X2, Y2);
      Kopf->Richtung = std::atan2(Y1 - Y2, X2 - X1) * 180 / 3.141592653589793;
      Kopf->Da = true;
    }
    throw TGenug();
  });
  try {
    return Zeichnen(R, Zaehler, R.Einstellungen.SchrittweiteAnpassen, Weiter);
  } catch (const TGenug&) {
    return true;
  }
}

bool WachstumSchreiben(const TLauf& R, const std::string& Datei, int BildzeitMs, TMassstab Massstab,
                       const TWeiter& Weiter) {
  const std::optional<TLauf> Letztes = LetztesBild(R, Weiter);
  if (!Letztes) return false;
  TAnimationsdatei A(*Letztes, Datei, R.Tiefe + 1, BildzeitMs);
  // Held, every frame has the step of the deepest.
  const double Schritt = Massstab == TMassstab::Tiefste ? Letztes->Schrittweite : 0;
  const double Bilder = R.Tiefe + 1;
  for (int32_t i = 0; i <= R.Tiefe; ++i) {
    QImage B = Leer(R);
    {
      TBildLeinwand Leinwand(B);
      const bool Weitergemacht = WachstumsbildZeichnen(R, i, Leinwand, Schritt, [&](double Anteil) {
        return !Weiter || Weiter((i + Anteil) / Bilder);
      });
      Leinwand.Ausgeben();
      if (!Weitergemacht) return false;
    }
    A.Bild(B);
    if (Weiter && !Weiter((i + 1) / Bilder)) return false;
  }
  A.Abschliessen();
  return true;
}

bool AufbauSchreiben(const TLauf& R, const std::string& Datei, int Bilder, int BildzeitMs,
                     const TWeiter& Weiter) {
  const std::optional<TLauf> Letztes = LetztesBild(R, Weiter);
  if (!Letztes) return false;
  TAnimationsdatei A(*Letztes, Datei, Bilder, BildzeitMs);
  const uint64_t L = Linienzahl(R);
  QImage B = Leer(R);
  TBildLeinwand Leinwand(B);
  int Geschrieben = 0;
  // Frame i holds the first ceil(i * L / Bilder) lines.
  auto Grenze = [&](int i) {
    return static_cast<uint64_t>(
        std::ceil(static_cast<long double>(i) * static_cast<long double>(L) / Bilder));
  };
  // Each frame costs an encoding of the whole surface, and many frames may
  // fall on one line: the progress is asked after every frame, not only
  // between the lines, so that the window answers and a stop acts at once.
  auto Schreiben = [&] {
    Leinwand.Ausgeben();
    A.Bild(B);
    ++Geschrieben;
    if (Weiter && !Weiter(static_cast<double>(Geschrieben) / Bilder)) throw TGestoppt();
  };
  try {
    // Frames of no new line yet (few lines, many frames) come before the first.
    while (Geschrieben < Bilder && Grenze(Geschrieben + 1) == 0) Schreiben();
    TLinienzaehler Zaehler(Leinwand, [&](uint64_t k, int, int, int, int) {
      while (Geschrieben < Bilder - 1 && Grenze(Geschrieben + 1) <= k) Schreiben();
    });
    const bool Fertig = Zeichnen(R, Zaehler, R.Einstellungen.SchrittweiteAnpassen, Weiter);
    if (!Fertig) return false;
    // The last frame, and any a drawing of fewer lines than counted left over.
    while (Geschrieben < Bilder) Schreiben();
  } catch (const TGestoppt&) {
    return false;
  }
  A.Abschliessen();
  return true;
}
