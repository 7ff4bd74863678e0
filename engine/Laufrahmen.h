// The engine's own pieces that its parts share: the measuring walk's state,
// the frame of a run and its progress. Not for use outside the engine.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "helpers/Gleitkomma.h"
#include "rules/Regelsystem.h"
#include "turtle/Winkelcache.h"
#include "turtle/turtleUnit.h"

// The canvas counts its work in short thin lines; 16 of them make a unit.
inline constexpr uint64_t LinienProEinheit = 16;

// The measuring walk's state. The fitting's part walks at heading 0 with y
// growing upward and counts "f" like "F"; when Lage is set, a second turtle
// walks beside it as the drawing's own does (start heading, y downward,
// headings kept in [0, 360), random factors) and takes in only the lines.
struct TZeichenmaschine::TMessung {
  static constexpr int32_t Groesse = 101;
  double x = 0, y = 0, Winkel = 0;
  double maxX = 0, minX = 0, maxY = 0, minY = 0;
  bool Lage = false;
  double LageX = 0, LageY = 0, Richtung = 0;
  TUmriss Umriss;
  struct {
    double x, y, Winkel, LageX, LageY, Richtung;
  } MessStapel[Groesse];
  int32_t Oben = -1;
  TWinkelcache Cache;
  // The open leaves of the drawing's walk: the box of each one's corners,
  // taken in when it closes (a leaf left open draws nothing). Beyond the
  // turtle's limit only counted: the drawing fails there.
  std::vector<TUmriss> Blattumrisse;
  int32_t Blaetter = 0;

  static void Einschliessen(TUmriss& U, double X, double Y) {
    if (!U.Linien) {
      U = {X, X, Y, Y, true};
      return;
    }
    U.MinX = std::min(U.MinX, X);
    U.MaxX = std::max(U.MaxX, X);
    U.MinY = std::min(U.MinY, Y);
    U.MaxY = std::max(U.MaxY, Y);
  }
  void Einschliessen(double X, double Y) { Einschliessen(Umriss, X, Y); }
  void LageSchritt(double L, bool Linie) {
    double C, S;
    Cache.Werte(Richtung, C, S);
    const double NX = Gk(LageX + Gk(L * C));
    const double NY = Gk(LageY - Gk(L * S));
    if (Blaetter > 0) [[unlikely]] {
      if (Blaetter <= TTurtle::HoechstensBlaetter)
        Einschliessen(Blattumrisse[static_cast<size_t>(Blaetter - 1)], NX, NY);
    } else if (Linie) {
      Einschliessen(LageX, LageY);
      Einschliessen(NX, NY);
    }
    LageX = NX;
    LageY = NY;
  }
  void BlattBeginnen() {
    if (++Blaetter > TTurtle::HoechstensBlaetter) return;
    if (Blattumrisse.size() < static_cast<size_t>(Blaetter)) Blattumrisse.emplace_back();
    TUmriss& U = Blattumrisse[static_cast<size_t>(Blaetter - 1)];
    U = TUmriss{};
    Einschliessen(U, LageX, LageY);
  }
  void BlattSchliessen() {
    if (Blaetter <= 0) return;
    if (Blaetter-- > TTurtle::HoechstensBlaetter) return;
    const TUmriss& U = Blattumrisse[static_cast<size_t>(Blaetter)];
    Einschliessen(U.MinX, U.MinY);
    Einschliessen(U.MaxX, U.MaxY);
  }
  void LageDrehen(double W) { Richtung = RichtungNormieren(Gk(Richtung + W)); }
};

// Counts the runs that are under way; the outermost one clears up at its end.
class TZeichenmaschine::TLaufrahmen {
 public:
  explicit TLaufrahmen(TZeichenmaschine& M) : M(M) {
    if (M.Laufende++ == 0) {
      M.UhrStellen(1);
      M.Arbeit_ = 0;
      M.ZuViel = false;
      M.SofortFaellig = true;
    }
  }
  ~TLaufrahmen() {
    M.Turtle.Canvas.Ausgeben();
    if (--M.Laufende == 0) {
      M.Aktuelle = nullptr;
      M.Tabellen.clear();
    }
  }

 private:
  TZeichenmaschine& M;
};

// Progress of one walk or drawing at once. A run started from one of its
// message passes has its own; the outer one goes on with its count after it.
class TZeichenmaschine::TFortschritt {
 public:
  TFortschritt(TZeichenmaschine& M, const std::string& s, int32_t Tiefe)
      : M(M), Melden(M.FortschrittMelden), Erledigt(M.Erledigt), Gesamt(M.Gesamt) {
    // Under the random choice an upper bound: the progress stays short of its end until it ends.
    M.Gesamt = ZeichenZaehlen(M.Tabelle(), Tiefe, s,
                              M.Pf.Wahl ? TRegelwahl::Zufaellig : TRegelwahl::ErsteRegel)
                   .Zeichen;
    M.Erledigt = 0;
    M.FortschrittMelden = true;
    M.Beobachter.Fortschritt(0);
  }
  ~TFortschritt() {
    M.FortschrittMelden = Melden;
    M.Erledigt = Erledigt;
    M.Gesamt = Gesamt;
  }
  void Fertig() { M.Beobachter.Fortschritt(1); }

 private:
  TZeichenmaschine& M;
  bool Melden;
  uint64_t Erledigt;
  uint64_t Gesamt;
};
