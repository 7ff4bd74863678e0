// Test support for whatever reads or changes the drawing settings in force.
#pragma once

#include <initializer_list>
#include <vector>

#include "engine/Einstellungen.h"

// Each test starts from the default drawing settings and leaves them so,
// also when it fails half-way: a member of the fixture. The windows' fixtures
// name the extra settings dialog's working values as well.
class TEinstellungenWache {
 public:
  explicit TEinstellungenWache(std::initializer_list<TEinstellungen*> Bewacht = {&Einstellungen})
      : Bewacht(Bewacht) {
    Zuruecksetzen();
  }
  ~TEinstellungenWache() { Zuruecksetzen(); }
  TEinstellungenWache(const TEinstellungenWache&) = delete;
  TEinstellungenWache& operator=(const TEinstellungenWache&) = delete;

 private:
  void Zuruecksetzen() {
    for (TEinstellungen* E : Bewacht) *E = TEinstellungen();
  }

  std::vector<TEinstellungen*> Bewacht;
};
