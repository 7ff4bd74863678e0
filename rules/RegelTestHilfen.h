// Helpers shared by the rule-system tests.
#pragma once

#include <exception>
#include <string>

#include "rules/Regelsystem.h"

// The message of the error raised by f, or "(kein Fehler)".
template <typename F>
std::string Fehlertext(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(kein Fehler)";
}

// The rules in list order, each written as text and ended by ";".
inline std::string Regeln(const TRegelsystem& R) {
  std::string Text;
  for (int i = 0; i < R.Count(); ++i) Text += TRegelsystem::RegelAlsText(R.Items(i)) + ";";
  return Text;
}
