// Floating-point faults as ordinary errors: no infinity or NaN flows on silently.
#pragma once

#include <cmath>

// Throws std::runtime_error with the message of the fault.
[[noreturn]] void GleitkommaUeberlauf();          // "Gleitkommaüberlauf"
[[noreturn]] void GleitkommaUngueltig();          // "Ungültige Gleitkommaoperation"
[[noreturn]] void GleitkommaDivisionDurchNull();  // "Gleitkommadivision durch Null"

// Returns x when it is finite; an infinity raises the overflow error, a NaN the
// invalid-operation error.
inline double Gk(double x) {
  if (std::isfinite(x)) [[likely]]
    return x;
  if (std::isnan(x)) GleitkommaUngueltig();
  GleitkommaUeberlauf();
}

// a / b with the faults raised: x/0 is a division by zero, 0/0 invalid.
inline double GkTeilen(double a, double b) {
  if (b == 0.0) [[unlikely]] {
    if (a == 0.0 || std::isnan(a)) GleitkommaUngueltig();
    GleitkommaDivisionDurchNull();
  }
  return Gk(a / b);
}
