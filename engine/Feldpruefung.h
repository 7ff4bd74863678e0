// The checks of the drawing window's fields as the user types them; the
// checks themselves are those of the field table (Rezeptfelder). Each gives
// the accepted value or throws EFeldfehler with the field's message; a number
// beyond the range of a double still raises "Gleitkommaüberlauf".
#pragma once

#include <cstdint>
#include <string>

#include "helpers/Hilfen.h"

int32_t TiefePruefen(const std::string& Text);              // 0 to MaxTiefe
double SchrittweitePruefen(const std::string& Text);        // above 0, at most 1000
double StartXPruefen(const std::string& Text, int Breite);  // 0 to Breite
double StartYPruefen(const std::string& Text, int Hoehe);   // 0 to Hoehe
double StartwinkelPruefen(const std::string& Text);         // any real
uint32_t SaatPruefen(const std::string& Text);              // 0 to 4294967295, digits only
