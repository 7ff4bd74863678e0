#include "engine/Einstellungen.h"

#include "helpers/Gleitkomma.h"

TEinstellungen Einstellungen;

double TZufall::Zufallsfaktor(double Abweichung) {
  const double r = Zufallszahl();
  return Gk(Gk(r * 2 * Abweichung) + (1 - Abweichung));
}
