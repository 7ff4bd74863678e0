// Rule-line validation agrees with its own definition for any line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rules/Regelsystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Daten, size_t Groesse) {
  const std::string Zeile(reinterpret_cast<const char*>(Daten), Groesse);
  std::string Meldung = "x", Rumpf;
  char Kopf = 0;
  const bool Gueltig = TRegelsystem::RegelZerlegen(Zeile, Meldung, Rumpf, Kopf);

  std::string Ohne = Zeile;
  LeerzeichenEntfernen(Ohne);
  if (Ohne.find(' ') != std::string::npos) std::abort();
  std::string Erwartet;
  if (Ohne.size() < 3)
    Erwartet = "leer";
  else if (Ohne[1] != '-' || Ohne[2] != '>')
    Erwartet = "Regelkopf falsch";
  else if (KlammernPruefen(Ohne.substr(3)) != 0)
    Erwartet = "Klammerfehler";
  if (Gueltig != Erwartet.empty() || Meldung != Erwartet) std::abort();
  if (!Gueltig) return 0;
  if (Kopf != Ohne[0] || Rumpf != Ohne.substr(3)) std::abort();

  // A valid rule is stored and written back in its canonical form.
  TRegelsystem R;
  R.RegelHinzufuegen(Zeile);
  if (R.Count() != 1 || TRegelsystem::RegelAlsText(R.Items(0)) != Ohne) std::abort();
  if (R.Ersetzung(Kopf) != Rumpf) std::abort();
  return 0;
}
