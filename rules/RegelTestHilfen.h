// Helpers shared by the rule-system tests.
#pragma once

#include <string>

#include "helpers/TestHilfen.h"
#include "rules/Regelsystem.h"

// The rules in list order, each written as text and ended by ";".
inline std::string Regeln(const TRegelsystem& R) {
  std::string Text;
  for (int i = 0; i < R.Count(); ++i) Text += TRegelsystem::RegelAlsText(R.Items(i)) + ";";
  return Text;
}
