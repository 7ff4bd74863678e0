// Any text either reads as a recipe, which its own text form gives back bit
// for bit, or fails with the recipe message; SVG metadata scanning of the same
// bytes never fails.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/Rezept.h"
#include "turtle/SvgLeinwand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Daten, size_t Groesse) {
  const std::string Text(reinterpret_cast<const char*>(Daten), Groesse);
  TSvgLeinwand::IstSvg(Text);
  TSvgLeinwand::MetadatenLesen(Text, "Rankenwerk-Rezept ");
  TLauf R;
  try {
    R = RezeptAusText(Text);
  } catch (const std::runtime_error& E) {
    if (std::strncmp(E.what(), "Bild enthält kein gültiges Rezept: ", 36) != 0) {
      std::fprintf(stderr, "unerwartete Meldung: %s\n", E.what());
      std::abort();
    }
    return 0;
  }
  const std::string Geschrieben = RezeptAlsText(R);
  if (RezeptAlsText(RezeptAusText(Geschrieben)) != Geschrieben) std::abort();
  return 0;
}
