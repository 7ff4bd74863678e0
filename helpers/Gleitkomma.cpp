#include "helpers/Gleitkomma.h"

#include <stdexcept>

void GleitkommaUeberlauf() { throw std::runtime_error("Gleitkommaüberlauf"); }

void GleitkommaUngueltig() { throw std::runtime_error("Ungültige Gleitkommaoperation"); }

void GleitkommaDivisionDurchNull() { throw std::runtime_error("Gleitkommadivision durch Null"); }
