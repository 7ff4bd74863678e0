#include "engine/Feldpruefung.h"

#include "engine/Rezeptfelder.h"

namespace {

// The value of the field Schluessel as typed, checked in the recipe K.
TLauf Eingegeben(const char* Schluessel, const std::string& Text, TLauf K = {}) {
  FeldEingeben(*FeldZuSchluessel(Schluessel), K, Text);
  return K;
}

// The fields of the window, where the step size is the user's own.
TLauf Fenster(int Breite = 1000, int Hoehe = 680) {
  TLauf K;
  K.Einstellungen.SchrittweiteAnpassen = false;
  K.Einstellungen.Zentriert = false;
  K.Breite = Breite;
  K.Hoehe = Hoehe;
  return K;
}

}  // namespace

int32_t TiefePruefen(const std::string& Text) { return Eingegeben("Tiefe", Text).Tiefe; }

double SchrittweitePruefen(const std::string& Text) {
  return Eingegeben("Schrittweite", Text, Fenster()).Schrittweite;
}

double StartXPruefen(const std::string& Text, int Breite) {
  return Eingegeben("StartX", Text, Fenster(Breite, 1)).StartX;
}

double StartYPruefen(const std::string& Text, int Hoehe) {
  return Eingegeben("StartY", Text, Fenster(1, Hoehe)).StartY;
}

double StartwinkelPruefen(const std::string& Text) {
  return Eingegeben("Startwinkel", Text).Startwinkel;
}

uint32_t SaatPruefen(const std::string& Text) {
  return Eingegeben("Zufallszustand", Text).Einstellungen.Saat;
}
