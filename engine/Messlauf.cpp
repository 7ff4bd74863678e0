// The measuring walk of the step-size fitting and of centring.
#include <stdexcept>

#include "engine/Laufrahmen.h"
#include "engine/Pflanzenlauf.h"

void TZeichenmaschine::SchrittweiteBestimmen(int32_t Tiefe, double& w, double& h) {
  Vermessen(Tiefe, w, h, nullptr, 0);
}

void TZeichenmaschine::Vermessen(int32_t Tiefe, double& w, double& h, TUmriss* Umriss,
                                 double Startwinkel) {
  // On its own, the walk measures the axiom as it is now; in a run, the run's.
  if (Laufende == 0 && Art.Regelsystem) Axiom = Art.Regelsystem->Axiom;
  TLaufrahmen Rahmen(*this);
  // The walk draws the drawing's random factors from a copy of the generator.
  const TZufall Vorher = Zufall;
  struct TZurueck {
    TZufall& Z;
    const TZufall& Alt;
    ~TZurueck() { Z = Alt; }
  } Zurueck{Zufall, Vorher};
  TFortschritt Fortschritt(*this, Axiom, Tiefe);
  BestimmungAbgebrochen_ = false;
  Abbruch = false;
  NachrichtenSofort();
  Beobachter.Unterbrechbar(true);
  TMessung& M = *Messung;
  M.x = M.y = M.Winkel = 0;
  M.maxX = M.minX = M.maxY = M.minY = 0;
  M.Oben = -1;
  M.Lage = Umriss != nullptr;
  M.LageX = M.LageY = 0;
  M.Richtung = Startwinkel;
  M.Umriss = TUmriss{};
  M.Blaetter = 0;
  const int32_t AlteTiefe = Messtiefe;
  Messtiefe = Tiefe;
  struct TTiefeZurueck {
    int32_t& T;
    int32_t Alt;
    ~TTiefeZurueck() { T = Alt; }
  } TiefeZurueck{Messtiefe, AlteTiefe};
  try {
    AusdehnungMessen(Tiefe, Axiom);
    // A press of "Abbrechen" since the last look belongs to the walk, however
    // late in the walk it came: it must not stop the drawing that follows.
    if (!BestimmungAbgebrochen_) {
      Fortschritt.Fertig();
      FortschrittMelden = false;
      NachrichtenSofort();
      NachrichtenVerarbeiten();
      if (Abbruch) BestimmungAbgebrochen_ = true;
    }
  } catch (...) {
    Beobachter.Unterbrechbar(false);
    throw;
  }
  Beobachter.Unterbrechbar(false);
  w = M.maxX - M.minX;
  h = M.maxY - M.minY;
  if (Umriss) *Umriss = M.Umriss;
}

void TZeichenmaschine::AusdehnungMessen(int32_t d, const std::string& s) {
  TLaufrahmen Rahmen(*this);
  Tabelle();
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization): see above
  // The colour has no part in the fitting: only the choice of rules does.
  if (Pf.Wahl) {
    if (Messung->Lage)
      PflanzeMessen<true>(d, Text);
    else
      PflanzeMessen<false>(d, Text);
    return;
  }
  if (Messung->Lage)
    Messen<true>(d, Text.data(), Text.size());
  else
    Messen<false>(d, Text.data(), Text.size());
}

template <bool Lage>
void TZeichenmaschine::Messen(int32_t d, const char* s, size_t Laenge) {
  BisZurUhr -= static_cast<int32_t>(Laenge >> 4);
  NachrichtenVerarbeiten();
  if (Abbruch) {
    BestimmungAbgebrochen_ = true;
    return;
  }
  const bool Zufaellig = Lage && E->Zufallsmodus;
  if (d <= 0) {
    Erledigt += Laenge;
    for (size_t i = 0; i < Laenge; ++i) MessZeichen<Lage>(s[i], Zufaellig);
    return;
  }
  for (size_t i = 0; i < Laenge; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const TErsetzungen& T = *Aktuelle;
    if (T.Ersetzt[c]) {
      if (MessSprung(c, d - 1, Messtiefe)) continue;
      Messen<Lage>(d - 1, T.Rumpf[c].data(), T.Rumpf[c].size());
      continue;
    }
    // A character that stays itself would pass through d levels, each with
    // a message pass and a stop check, before it acts: one of each will do.
    NachrichtenVerarbeiten();
    if (Abbruch) {
      BestimmungAbgebrochen_ = true;
    } else {
      ++Erledigt;
      MessZeichen<Lage>(static_cast<char>(c), Zufaellig);
    }
  }
}

// In random mode the drawing's walk draws one number per "F", "f", "+" and
// "-" in the drawing's order, and so the factors that the drawing will draw.
template <bool Lage>
void TZeichenmaschine::MessZeichen(char c, bool Zufaellig) {
  TMessung& M = *Messung;
  switch (c) {
    case '+':
      M.Winkel = Gk(M.Winkel + DrehungPlus);
      if constexpr (Lage)
        M.LageDrehen(Zufaellig ? Gk(Zufall.Zufallsfaktor(E->AbweichungPlus) * DrehungPlus)
                               : DrehungPlus);
      break;
    case '-':
      M.Winkel = Gk(M.Winkel + DrehungMinus);
      if constexpr (Lage)
        M.LageDrehen(Zufaellig ? Gk(Zufall.Zufallsfaktor(E->AbweichungMinus) * DrehungMinus)
                               : DrehungMinus);
      break;
    case 'F':
    case 'f': {
      double C, S;
      M.Cache.Werte(M.Winkel, C, S);
      M.x = Gk(M.x + C);
      M.maxX = M.maxX > M.x ? M.maxX : M.x;
      M.minX = M.minX < M.x ? M.minX : M.x;
      M.y = Gk(M.y + S);
      M.maxY = M.maxY > M.y ? M.maxY : M.y;
      M.minY = M.minY < M.y ? M.minY : M.y;
      if constexpr (Lage)
        M.LageSchritt(Zufaellig ? Zufall.Zufallsfaktor(E->AbweichungSchritt) : 1.0, c == 'F');
      break;
    }
    case '[':
      if (M.Oben + 1 >= TMessung::Groesse) throw std::runtime_error("Stapelüberlauf");
      ++M.Oben;
      M.MessStapel[M.Oben] = {M.x, M.y, M.Winkel, M.LageX, M.LageY, M.Richtung};
      break;
    case ']': {
      // Only the axiom can close more than it opened; such a "]" is passed
      // over here, and the drawing reports it.
      if (M.Oben < 0) break;
      const auto& E = M.MessStapel[M.Oben];
      M.x = E.x;
      M.y = E.y;
      M.Winkel = E.Winkel;
      M.LageX = E.LageX;
      M.LageY = E.LageY;
      M.Richtung = E.Richtung;
      --M.Oben;
      break;
    }
    case '|':
      if (E->Zeichensatz != TZeichensatz::MitBlaettern) break;
      M.Winkel = Gk(M.Winkel + 180.0);
      if constexpr (Lage) M.LageDrehen(180.0);
      break;
    // Corners are ends of moves, which the fitting takes in anyway.
    case '{':
      if constexpr (Lage)
        if (E->Zeichensatz == TZeichensatz::MitBlaettern) M.BlattBeginnen();
      break;
    case '}':
      if constexpr (Lage)
        if (E->Zeichensatz == TZeichensatz::MitBlaettern) M.BlattSchliessen();
      break;
    default:
      break;
  }
}

// Under the random choice: the walk of plants, measuring as Messen does.

template <bool Lage>
void TZeichenmaschine::PflanzeMessen(int32_t d, const std::string& s) {
  PflanzeBeginnen(s, d);
  struct TMessen {
    TZeichenmaschine& M;
    bool Anfang(size_t Laenge) {
      M.BisZurUhr -= static_cast<int32_t>(Laenge >> 4);
      M.NachrichtenVerarbeiten();
      if (!M.Abbruch) return true;
      M.BestimmungAbgebrochen_ = true;
      return false;
    }
    bool Springen(unsigned char, int32_t, bool) { return false; }
    bool Blatt(char c, int64_t, bool Zufaellig) {
      if (M.Abbruch) return false;
      ++M.Erledigt;
      M.MessZeichen<Lage>(c, Lage && Zufaellig);
      return true;
    }
  } Mess{*this};
  Wachsen(Mess, s.data(), s.size(), d, Wurzel());
}
