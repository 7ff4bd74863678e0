// Number and text conversions shared by all input fields.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// An entry the user made that its field refuses; the message says why.
class EFeldfehler : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when the whole text is a 32-bit integer: leading blanks, optional sign,
// decimal digits or a hexadecimal number ("$", "x", "X", "0x", "0X" prefix).
bool IstGanzzahl(const std::string& Text);

// The value of a text that IstGanzzahl accepts; throws std::runtime_error
// ("'<text>' ist kein gültiger Integerwert") for any other text.
int32_t GanzzahlWert(const std::string& Text);

// a if a < b, else b.
double Minimum(double a, double b);
// a if a > b, else b.
double Maximum(double a, double b);

// Replaces every "," by ".".
void KommaZuPunkt(std::string& Text);

// True when the text, commas read as points, is a real number.
bool IstKommazahl(const std::string& Text);

// Fixed-point text with the given number of decimals, halves away from zero.
std::string KommazahlAlsText(uint8_t Stellen, double Zahl);

// The value of the text (commas read as points), 0.0 when it is no real number.
// Throws "Gleitkommaüberlauf" when the value lies beyond the range of a double.
double TextAlsKommazahl(const std::string& Text);

// The value of a decimal number with a point, the nearest double, whatever the
// process locale says; infinite beyond the range of a double.
double DezimalzahlLesen(const std::string& Text);
