#include "drawing/Feldpruefung.h"

#include "drawing/Zeichenmaschine.h"
#include "helpers/Hilfen.h"

namespace {

double Kommazahl(const std::string& Text, const std::string& Meldung) {
  if (!IstKommazahl(Text)) throw EFeldfehler(Meldung);
  return TextAlsKommazahl(Text);
}

std::string Bereich(const char* Feld, int Grenze) {
  return std::string(Feld) +
         " hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis " +
         std::to_string(Grenze);
}

}  // namespace

int32_t TiefePruefen(const std::string& Text) {
  if (IstGanzzahl(Text)) {
    const int32_t n = GanzzahlWert(Text);
    if (n >= 0 && n <= MaxTiefe) return n;
  }
  throw EFeldfehler("Tiefe außerhalb des zulässigen Bereichs von 0 bis " +
                    std::to_string(MaxTiefe));
}

double SchrittweitePruefen(const std::string& Text) {
  const std::string Meldung =
      "Schrittweite falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis " +
      KommazahlAlsText(2, 1000);
  const double x = Kommazahl(Text, Meldung);
  if (!(x > 0 && x <= 1000)) throw EFeldfehler(Meldung);
  return x;
}

double StartXPruefen(const std::string& Text, int Breite) {
  const double x = Kommazahl(Text, Bereich("x", Breite));
  if (!(x >= 0 && x <= Breite)) throw EFeldfehler(Bereich("x", Breite));
  return x;
}

double StartYPruefen(const std::string& Text, int Hoehe) {
  const double y = Kommazahl(Text, Bereich("y", Hoehe));
  if (!(y >= 0 && y <= Hoehe)) throw EFeldfehler(Bereich("y", Hoehe));
  return y;
}

double StartwinkelPruefen(const std::string& Text) {
  return Kommazahl(Text, "Winkel hat falsches Format ");
}

double DickePruefen(const std::string& Text) {
  return Kommazahl(Text, "Liniendicke hat falsches Format.");
}

double SchwundPruefen(const std::string& Text) {
  const double v = Kommazahl(Text, "Schwund hat falsches Format ");
  if (!(v <= 99)) throw EFeldfehler("Schwund hat falsches Format ");
  return v;
}

double AbweichungSchrittPruefen(const std::string& Text) {
  return Kommazahl(Text, "\"Abweichung Schritt\" hat falsches Format ");
}

double AbweichungPlusPruefen(const std::string& Text) {
  return Kommazahl(Text, "\"Abweichung +\" hat falsches Format ");
}

double AbweichungMinusPruefen(const std::string& Text) {
  return Kommazahl(Text, "\"Abweichung -\" hat falsches Format ");
}

uint32_t SaatPruefen(const std::string& Text) {
  const std::string Meldung = "Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295";
  if (Text.empty() || Text.size() > 10 || Text.find_first_not_of("0123456789") != std::string::npos)
    throw EFeldfehler(Meldung);
  const unsigned long long Wert = std::stoull(Text);
  if (Wert > 0xFFFFFFFFull) throw EFeldfehler(Meldung);
  return static_cast<uint32_t>(Wert);
}
