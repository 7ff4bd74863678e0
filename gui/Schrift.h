// The windows' font: a plain sans-serif of a given pixel height.
#pragma once

#include <QFont>

// Liberation Sans (Debian package fonts-liberation2) has the narrow widths the
// windows' pixel layouts were made for. Where it is missing, fontconfig gives
// another sans-serif, usually a wider one; BeschriftungenEinpassen then
// shrinks whatever caption no longer fits.
enum class TSchnitt { Normal, Fett };

inline QFont Schrift(int Pixelhoehe, TSchnitt Schnitt = TSchnitt::Normal) {
  QFont F(QStringLiteral("Liberation Sans"));
  F.setStyleHint(QFont::SansSerif);
  F.setPixelSize(Pixelhoehe);
  F.setBold(Schnitt == TSchnitt::Fett);
  return F;
}
