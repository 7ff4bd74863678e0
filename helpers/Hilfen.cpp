#include "helpers/Hilfen.h"

#include <locale.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "helpers/Gleitkomma.h"

namespace {

bool IstZiffer(char c) { return c >= '0' && c <= '9'; }

int HexWert(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the integer grammar; false for any text outside it.
bool GanzzahlLesen(const std::string& Text, int32_t& Wert) {
  size_t i = 0;
  const size_t n = Text.size();
  while (i < n && Text[i] == ' ') ++i;
  bool Negativ = false;
  if (i < n && (Text[i] == '-' || Text[i] == '+')) {
    Negativ = Text[i] == '-';
    ++i;
  }
  bool Hex = false;
  if (i < n && (Text[i] == '$' || Text[i] == 'x' || Text[i] == 'X')) {
    Hex = true;
    ++i;
  } else if (i + 1 < n && Text[i] == '0' && (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
    Hex = true;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t Betrag = 0;
  if (Hex) {
    for (; i < n; ++i) {
      const int h = HexWert(Text[i]);
      if (h < 0) return false;
      Betrag = Betrag * 16 + static_cast<uint64_t>(h);
      if (Betrag > 0xFFFFFFFFull) return false;
    }
    // Two's complement: $FFFFFFFF is -1; the sign negates with wrap-around.
    uint32_t Bits = static_cast<uint32_t>(Betrag);
    if (Negativ) Bits = 0u - Bits;
    Wert = static_cast<int32_t>(Bits);
    return true;
  }
  for (; i < n; ++i) {
    if (!IstZiffer(Text[i])) return false;
    Betrag = Betrag * 10 + static_cast<uint64_t>(Text[i] - '0');
    if (Betrag > 2147483648ull) return false;
  }
  if (!Negativ && Betrag > 2147483647ull) return false;
  Wert =
      Negativ ? static_cast<int32_t>(-static_cast<int64_t>(Betrag)) : static_cast<int32_t>(Betrag);
  return true;
}

// Checks the real-number grammar (after commas became points) and builds a
// canonical text for DezimalzahlLesen.
bool KommazahlZerlegen(const std::string& Text, std::string& Kanonisch) {
  if (Text.empty()) return false;
  size_t i = 0;
  const size_t n = Text.size();
  while (i < n && Text[i] == ' ') ++i;
  std::string Vorzeichen;
  if (i < n && (Text[i] == '-' || Text[i] == '+')) {
    Vorzeichen = Text[i];
    ++i;
    if (i >= n) return false;
  }
  std::string Mantisse;
  while (i < n && IstZiffer(Text[i])) Mantisse += Text[i++];
  std::string Bruch;
  if (i < n && Text[i] == '.') {
    ++i;
    while (i < n && IstZiffer(Text[i])) Bruch += Text[i++];
  }
  std::string Exponent;
  if (i < n && (Text[i] == 'e' || Text[i] == 'E')) {
    ++i;
    if (i < n && (Text[i] == '-' || Text[i] == '+')) Exponent += Text[i++];
    size_t Ziffern = 0;
    while (i < n && IstZiffer(Text[i])) {
      Exponent += Text[i++];
      ++Ziffern;
    }
    if (Ziffern == 0) return false;
  }
  if (i != n) return false;
  Kanonisch = Vorzeichen + (Mantisse.empty() ? "0" : Mantisse) + "." + Bruch + "0";
  if (!Exponent.empty()) Kanonisch += "e" + Exponent;
  return true;
}

}  // namespace

double DezimalzahlLesen(const std::string& Text) {
  // The GUI switches to the user's locale, where strtod would want a comma.
  static const locale_t C = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(Text.c_str(), nullptr, C);
}

bool IstGanzzahl(const std::string& Text) {
  int32_t Wert;
  return GanzzahlLesen(Text, Wert);
}

int32_t GanzzahlWert(const std::string& Text) {
  int32_t Wert = 0;
  if (!GanzzahlLesen(Text, Wert))
    throw std::runtime_error("'" + Text + "' ist kein gültiger Integerwert");
  return Wert;
}

double Minimum(double a, double b) { return a < b ? a : b; }

double Maximum(double a, double b) { return a > b ? a : b; }

void KommaZuPunkt(std::string& Text) {
  for (char& c : Text)
    if (c == ',') c = '.';
}

bool IstKommazahl(const std::string& Text) {
  std::string Kopie = Text;
  KommaZuPunkt(Kopie);
  std::string Kanonisch;
  return KommazahlZerlegen(Kopie, Kanonisch);
}

double TextAlsKommazahl(const std::string& Text) {
  std::string Kopie = Text;
  KommaZuPunkt(Kopie);
  std::string Kanonisch;
  if (!KommazahlZerlegen(Kopie, Kanonisch)) return 0.0;
  return Gk(DezimalzahlLesen(Kanonisch));
}

std::string KommazahlAlsText(uint8_t Stellen, double Zahl) {
  Gk(Zahl);
  // First the 18 significant digits, then decimal rounding on that text, so
  // that 0.125 rounds up although its binary value lies a hair below.
  char Puffer[64];
  std::snprintf(Puffer, sizeof Puffer, "%.17e", Zahl < 0 ? -Zahl : Zahl);
  std::string Ziffern;
  const char* p = Puffer;
  for (; *p && *p != 'e'; ++p)
    if (IstZiffer(*p)) Ziffern += *p;
  const long Exponent = std::strtol(p + 1, nullptr, 10);
  // Digits kept: those down to the place 10^-Stellen.
  const long Behalten = Exponent + 1 + Stellen;
  std::string Einheiten;  // the magnitude in units of 10^-Stellen
  if (Behalten < 0) {
    Einheiten = "0";
  } else {
    const size_t k = static_cast<size_t>(Behalten);
    if (k >= Ziffern.size()) {
      Einheiten = Ziffern + std::string(k - Ziffern.size(), '0');
    } else {
      Einheiten = Ziffern.substr(0, k);
      if (Ziffern[k] >= '5') {
        size_t j = Einheiten.size();
        while (j > 0 && Einheiten[j - 1] == '9') Einheiten[--j] = '0';
        if (j == 0)
          Einheiten.insert(Einheiten.begin(), '1');
        else
          ++Einheiten[j - 1];
      }
      if (Einheiten.empty()) Einheiten = "0";
    }
  }
  if (Einheiten.size() < static_cast<size_t>(Stellen) + 1)
    Einheiten.insert(0, static_cast<size_t>(Stellen) + 1 - Einheiten.size(), '0');
  std::string Ganz = Einheiten.substr(0, Einheiten.size() - Stellen);
  const size_t Erste = Ganz.find_first_not_of('0');
  Ganz = Erste == std::string::npos ? "0" : Ganz.substr(Erste);
  std::string Ergebnis = Zahl < 0 ? "-" : "";
  Ergebnis += Ganz;
  if (Stellen > 0) Ergebnis += "." + Einheiten.substr(Einheiten.size() - Stellen);
  return Ergebnis;
}
