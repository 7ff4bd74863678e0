// The checks of the drawing settings as the user types them, shared by the
// drawing window, the extra settings dialog and the command-line renderer.
// Each gives the accepted value or throws EFeldfehler with the field's message;
// a number beyond the range of a double still raises "Gleitkommaüberlauf".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class EFeldfehler : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int32_t TiefePruefen(const std::string& Text);              // 0 to MaxTiefe
double SchrittweitePruefen(const std::string& Text);        // above 0, at most 1000
double StartXPruefen(const std::string& Text, int Breite);  // 0 to Breite
double StartYPruefen(const std::string& Text, int Hoehe);   // 0 to Hoehe
double StartwinkelPruefen(const std::string& Text);         // any real
double DickePruefen(const std::string& Text);               // any real
double SchwundPruefen(const std::string& Text);             // percent, at most 99
double AbweichungSchrittPruefen(const std::string& Text);   // percent, any real
double AbweichungPlusPruefen(const std::string& Text);      // percent, any real
double AbweichungMinusPruefen(const std::string& Text);     // percent, any real
uint32_t SaatPruefen(const std::string& Text);              // 0 to 4294967295, digits only
