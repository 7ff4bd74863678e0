#include "engine/Lauf.h"

#include "helpers/Gleitkomma.h"
#include "turtle/Leinwand.h"

TAnsicht AnsichtAus(const TRechteck& R, int Breite) { return {R.X, R.Y, GkTeilen(Breite, R.B)}; }

bool TLauf::operator==(const TLauf& A) const {
  const bool GleicheRegeln =
      Regeln == A.Regeln || (Regeln && A.Regeln && Regeln->GleicheRegeln(*A.Regeln));
  return GleicheRegeln && WinkelPlus == A.WinkelPlus && WinkelMinus == A.WinkelMinus &&
         Tiefe == A.Tiefe && StartX == A.StartX && StartY == A.StartY &&
         Startwinkel == A.Startwinkel && Schrittweite == A.Schrittweite &&
         Einstellungen == A.Einstellungen && Breite == A.Breite && Hoehe == A.Hoehe &&
         Ausschnitt == A.Ausschnitt && Farbtiefe == A.Farbtiefe;
}

void FlaecheLeeren(TLeinwand& Leinwand, const TEinstellungen& E) {
  Leinwand.Grundieren(Hintergrundfarbe(E));
}
