// The windows' font: a plain sans-serif of a given pixel height.
#pragma once

#include <QFont>

inline QFont Schrift(int Pixelhoehe, bool Fett = false) {
  QFont F(QStringLiteral("Nimbus Sans"));
  F.setStyleHint(QFont::SansSerif);
  F.setPixelSize(Pixelhoehe);
  F.setBold(Fett);
  return F;
}
