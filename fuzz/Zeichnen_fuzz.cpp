// A short drawing run of any rule system either completes or ends with one of
// the run's own errors; in exact mode every "F" that acts draws one line, or,
// with leaves or the random choice, the lines and leaves are those counted
// beforehand. Through a view, it only has to finish.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

double Winkel(const uint8_t* Daten) {
  double w;
  std::memcpy(&w, Daten, sizeof w);
  return std::isfinite(w) ? w : 30.0;
}

size_t Vorkommen(const std::string& Text, const std::string& Teil) {
  size_t n = 0;
  for (size_t i = Text.find(Teil); i != std::string::npos; i = Text.find(Teil, i + 1)) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Daten, size_t Groesse) {
  static const std::set<std::string> Erlaubt = {
      "Zu viele gemerkte Turtle-Positionen",
      "Stapelfehler: Um mehr Positionen zurück als vorher gemerkt",
      "Stapelüberlauf",
      "Gleitkommaüberlauf",
      "Ungültige Gleitkommaoperation",
      "Gleitkommadivision durch Null",
      "Zu viele offene Blätter",
      "Zu viele Ecken in einem Blatt"};
  if (Groesse < 18) return 0;
  const int32_t Tiefe = Daten[0] % 5;
  const bool Zufall = Daten[1] & 1;
  const bool Anpassen = Daten[1] & 2;
  const bool Mittig = Daten[1] & 4;
  const TZeichensatz Satz = Daten[1] & 8 ? TZeichensatz::MitBlaettern : TZeichensatz::Klassisch;
  TRegelsystem R;
  R.WinkelPlus = Winkel(Daten + 2);
  R.WinkelMinus = Winkel(Daten + 10);
  const std::string Rest(reinterpret_cast<const char*>(Daten) + 18, Groesse - 18);
  size_t Anfang = 0;
  bool Erste = true;
  while (Anfang <= Rest.size()) {
    size_t Ende = std::min(Rest.find('\n', Anfang), Rest.size());
    const std::string Zeile = Rest.substr(Anfang, Ende - Anfang);
    if (Erste) {
      R.Axiom = Zeile;
      Erste = false;
    } else {
      std::string Meldung, Rumpf;
      char Kopf;
      if (TRegelsystem::RegelZerlegen(Zeile, Meldung, Rumpf, Kopf)) R.RegelHinzufuegen(Zeile);
    }
    Anfang = Ende + 1;
  }
  std::string Abgeleitet;
  try {
    Abgeleitet = R.Ableitung(Tiefe);  // keeps the walk bounded
  } catch (const EZulang&) {
    return 0;
  }

  TSvgLeinwand Leinwand(200, 150);
  TTurtle Turtle(Leinwand);
  TLaufbeobachter Ohne;
  TLauf Lauf;
  Lauf.Breite = 200;
  Lauf.Hoehe = 150;
  Lauf.Tiefe = Tiefe;
  Lauf.StartX = 100;
  Lauf.StartY = 150;
  TEinstellungen& Einst = Lauf.Einstellungen;
  Einst.Zufallsmodus = Zufall;
  Einst.SchrittweiteAnpassen = Anpassen;
  Einst.Zentriert = Mittig;
  Einst.Zeichensatz = Satz;
  Einst.Regelwahl = Daten[1] & 16 ? TRegelwahl::Zufaellig : TRegelwahl::ErsteRegel;
  Einst.Faerbung = static_cast<TFaerbung>((Daten[1] >> 5) & 3);
  Einst.Saat = Daten[0] * 2654435761u;
  const bool Sicht = Daten[1] & 128;
  if (Sicht) Lauf.Ausschnitt = TRechteck{50, 40, 100, 75};
  TZeichenmaschine Maschine(Turtle, Ohne);
  try {
    // The rule system as it is, also with an axiom no file could hold.
    TLaufart Art;
    Art.Regelsystem = &R;
    Lauf.WinkelPlus = R.WinkelPlus;
    Lauf.WinkelMinus = R.WinkelMinus;
    Maschine.Zeichenlauf(Lauf, Art);
  } catch (const std::exception& E) {
    if (!Erlaubt.count(E.what())) {
      std::fprintf(stderr, "unerwartete Meldung: %s\n", E.what());
      std::abort();
    }
    return 0;
  }
  if (Zufall) return 0;
  const size_t Gezeichnet =
      Vorkommen(Leinwand.Elemente(), "<line") + Vorkommen(Leinwand.Elemente(), "<polygon");
  if (Sicht) return 0;
  const uint64_t Erwartet =
      Satz == TZeichensatz::Klassisch && Einst.Regelwahl == TRegelwahl::ErsteRegel
          ? static_cast<uint64_t>(std::count(Abgeleitet.begin(), Abgeleitet.end(), 'F'))
          : LaufZaehlen(TErsetzungen(R), Tiefe, R.Axiom, Einst).Linien;
  if (Gezeichnet != Erwartet) {
    std::fprintf(stderr, "gezeichnet %zu, gezaehlt %llu\n", Gezeichnet,
                 static_cast<unsigned long long>(Erwartet));
    std::abort();
  }
  return 0;
}
