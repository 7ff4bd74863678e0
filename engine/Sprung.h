// Exact jumps: where the walk of a replacement leaves the turtle, bit for bit
// as its moves one by one leave it (engine/Sprung.cpp).
//
// Within one binade of x, adding a move d is adding d rounded to the binade's
// grid, as long as the sum stays inside the binade and d does not fall on a
// tie between two grid points. A replacement's moves are therefore whole grid
// steps, remembered per character, depth, entry heading and binade of x and
// of y; the heading at each move is that of the walk itself, turn by turn.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "turtle/Winkelcache.h"

// A replacement's walk on the grid of one binade of x and one of y.
struct TSprungeintrag;

// Where the walk ends, and the box of every point it passes (its start, the
// ends of its moves): exact values, as the walk has them.
struct TSprungziel {
  double X = 0, Y = 0, Richtung = 0;
  double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  bool Linien = false;   // an "F" among its characters
  bool Luecken = false;  // an "f" among them
  // Where the jump found the part on a grid: the part, its start in grid
  // steps and the binades, for going through its pieces after.
  const TSprungeintrag* Eintrag = nullptr;
  int64_t GX = 0, GY = 0;
  int EX = 0, EY = 0;
};

// Moves in grid steps from the start: to the end, and the least and most
// of every point passed.
struct TSprungeintrag {
  int64_t KX = 0, KY = 0, MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  double Richtung = 0;
  // Its pieces, the replacements and lines its walk passes through, where
  // they are remembered, down to the lines (Zerlegbar).
  uint32_t Erstes = 0, Stuecke = 0;
  bool Zerlegbar = false;
  // An entry of one axis: the entries of all its replacements in this
  // binade, in the order of its walk (MitKindern).
  uint32_t ErstesKind = 0;
  bool MitKindern = false;
  bool Gut = false;
  bool Linien = false;
  bool Luecken = false;
};

// What a drawing does with the pieces of a part it jumped over.
class TStueckwahl {
 public:
  virtual ~TStueckwahl() = default;
  // A replacement inside, with the box of every point it passes: true where
  // that is all it needs, false to go through its own pieces.
  virtual bool Teil(const TSprungziel& Kasten) = 0;
  virtual void Linie(double X1, double Y1, double X2, double Y2) = 0;
};

class TSpruenge {
 public:
  // Rumpf[c]: the replacement of c, nullptr where c stays itself. The turns
  // are what "+" and "-" add, Schritt the length of a move. Messend: as the
  // measuring walk goes, y growing with the sine, the heading never brought
  // into [0, 360).
  TSpruenge(const std::array<const std::string*, 256>& Rumpf, double WinkelPlus, double WinkelMinus,
            double Schritt, bool Messend = false);

  // The walk of the replacement of c with j levels left, from (X, Y) at
  // heading Richtung, moving x by cos and y by -sin of the heading. False
  // where the grid cannot assure it (a power of two crossed, a tie, a value
  // that is not finite, no room left to remember); the caller walks then.
  bool Springen(unsigned char c, int32_t j, double X, double Y, double Richtung, TSprungziel& Ziel);

  // The same where a part crosses a power of two or meets a tie: each axis on
  // its own, its parts that stay within one binade on its grid, the others
  // move by move as the walk adds them. Each part walked so takes one from Aufwand; false where
  // none is left, or where a value is not finite or too large.
  bool Durchlaufen(unsigned char c, int32_t j, double X, double Y, double Richtung,
                   TSprungziel& Ziel, int64_t& Aufwand);

  // Goes through the pieces of a part that Springen found on a grid, which
  // must be Zerlegbar: its lines as the walk draws them, its replacements
  // as W chooses, at the places where the walk passes them. Each piece takes
  // one from Aufwand; false where none is left, and the rest not gone through.
  bool Zerlegen(const TSprungziel& Ziel, TStueckwahl& W, int64_t& Aufwand) const;

  double Schritt() const { return Laenge; }

 private:
  struct TSchluessel {
    uint64_t Richtung;
    int32_t Stufe;
    int16_t EX, EY;  // biased exponents of x and y
    unsigned char Zeichen;
    bool operator==(const TSchluessel&) const = default;
  };
  struct TStreuung {
    size_t operator()(const TSchluessel& K) const;
  };
  using TEintrag = TSprungeintrag;
  // A piece: the replacement Teil from grid steps (X, Y) of the start, or,
  // without one, a line from there to (ZX, ZY).
  struct TStueck {
    const TEintrag* Teil;
    int64_t X, Y, ZX, ZY;
  };
  struct TZuletzt {
    TSchluessel Schluessel{};
    const TEintrag* Eintrag = nullptr;
  };

  // One axis of a walk, in values.
  struct TStrecke {
    double Ende = 0, Min = 0, Max = 0, Richtung = 0;
    bool Linien = false, Luecken = false;
  };

  // The entry of K, worked out at the first call; nullptr without room. A
  // binade of -1 leaves that axis out.
  const TEintrag* Eintrag(const TSchluessel& K);
  void Berechnen(const TSchluessel& K, TEintrag& E);
  bool Zerlegen(const TEintrag& E, int64_t MX, int64_t MY, int EX, int EY, TStueckwahl& W,
                int64_t& Aufwand) const;
  // Hinweis: the entry of the part where it starts in binade Hinweisbinade.
  bool Achse(unsigned char c, int32_t j, double Richtung, bool Y, double v, TStrecke& S,
             int64_t& Aufwand, const TEintrag* Hinweis = nullptr, int Hinweisbinade = 0);
  // What a move at heading Phi adds to x, or to y, as the walk adds it.
  double Bewegung(double Phi, bool Y);
  // The heading after "+" or "-"; false where it is not finite.
  bool Drehen(char d, double& Phi) const;

  std::array<bool, 256> Ersetzt{};
  std::array<std::string, 256> Ruempfe;
  double Plus, Minus, Laenge;
  bool Messend;
  std::unordered_map<TSchluessel, TEintrag, TStreuung> Eintraege;
  std::vector<TStueck> Stuecke;
  std::vector<const TEintrag*> Kinderliste;
  struct TAchsenlage {
    double V, Phi;
  };
  std::vector<TAchsenlage> Achsenstapel;
  std::array<TZuletzt, 4096> Zuletzt{};
  TWinkelcache Winkel;
};
