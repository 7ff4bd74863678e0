// Any file either loads completely or fails with one of the load messages and
// leaves the rule system exactly as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "rules/Regelsystem.h"

namespace {

struct Abbild {
  std::string Axiom;
  double Plus, Minus;
  std::vector<std::string> Regeln;
  bool operator==(const Abbild&) const = default;
};

Abbild Aufnehmen(const TRegelsystem& R) {
  Abbild A{R.Axiom, R.WinkelPlus, R.WinkelMinus, {}};
  for (int i = 0; i < R.Count(); ++i) A.Regeln.push_back(TRegelsystem::RegelAlsText(R.Items(i)));
  return A;
}

std::string Dateiname() {
  static std::string Name = [] {
    char Vorlage[] = "/tmp/rankenwerk-fuzz-XXXXXX";
    int fd = mkstemp(Vorlage);
    if (fd < 0) std::abort();
    close(fd);
    return std::string(Vorlage);
  }();
  return Name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Daten, size_t Groesse) {
  static const std::set<std::string> Erlaubt = {"Ungültige numerische Eingabe", "leer",
                                                "Regelkopf falsch", "Klammerfehler",
                                                "Gleitkommaüberlauf"};
  FILE* f = std::fopen(Dateiname().c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(Daten, 1, Groesse, f);
  std::fclose(f);

  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  R.Axiom = "Q[";
  R.WinkelPlus = 12.5;
  const Abbild Vorher = Aufnehmen(R);
  try {
    R.Laden(Dateiname());
  } catch (const std::exception& E) {
    if (!Erlaubt.count(E.what())) {
      std::fprintf(stderr, "unerwartete Meldung: %s\n", E.what());
      std::abort();
    }
    if (!(Aufnehmen(R) == Vorher)) {
      std::fprintf(stderr, "Regelsystem nach Fehler verändert\n");
      std::abort();
    }
    return 0;
  }
  // What was loaded must survive a save and a reload unchanged (angles to 15 digits).
  for (int i = 0; i < R.Count(); ++i) {
    const TRegel& Regel = R.Items(i);
    if (Regel.Kopf == ' ' || Regel.Rumpf.find(' ') != std::string::npos ||
        KlammernPruefen(Regel.Rumpf) != 0)
      std::abort();
  }
  const std::string Kopie = Dateiname() + ".lsy";
  R.Speichern(Kopie);
  TRegelsystem Z;
  Z.Laden(Kopie);
  if (!(Aufnehmen(Z).Axiom == R.Axiom) || Aufnehmen(Z).Regeln != Aufnehmen(R).Regeln) std::abort();
  std::remove(Kopie.c_str());
  return 0;
}
