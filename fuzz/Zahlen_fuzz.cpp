// Number tests and conversions agree: a text that passes its test converts,
// one that fails gives 0.0, and written numbers read back as what was written.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "helpers/Hilfen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Daten, size_t Groesse) {
  const std::string Text(reinterpret_cast<const char*>(Daten), Groesse);

  if (IstGanzzahl(Text)) {
    (void)GanzzahlWert(Text);  // must not throw
  } else {
    try {
      (void)GanzzahlWert(Text);
      std::abort();
    } catch (const std::runtime_error&) {
    }
  }

  if (IstKommazahl(Text)) {
    try {
      const double Wert = TextAlsKommazahl(Text);
      if (!std::isfinite(Wert)) std::abort();
    } catch (const std::runtime_error& E) {
      if (std::string(E.what()) != "Gleitkommaüberlauf") std::abort();
    }
  } else if (TextAlsKommazahl(Text) != 0.0) {
    std::abort();
  }

  // The first bytes as a double written with 0 to 3 decimals.
  if (Groesse >= sizeof(double) + 1) {
    double Zahl;
    std::memcpy(&Zahl, Daten, sizeof Zahl);
    const int Stellen = Daten[sizeof(double)] % 4;
    if (std::isfinite(Zahl) && std::fabs(Zahl) < 1e15) {
      const std::string Geschrieben = KommazahlAlsText(static_cast<uint8_t>(Stellen), Zahl);
      if (!IstKommazahl(Geschrieben)) std::abort();
      const double Zurueck = TextAlsKommazahl(Geschrieben);
      const double Toleranz = 0.5 * std::pow(10.0, -Stellen) * (1 + 1e-9) + std::fabs(Zahl) * 1e-15;
      if (std::fabs(Zurueck - Zahl) > Toleranz) std::abort();
      if ((Zahl < 0) != (Geschrieben[0] == '-')) std::abort();
    }
  }
  return 0;
}
