// Writes an animation and each of its frames as a plain PNG, for a check of
// the animation by another decoder: apng_beispiel ORDNER BILDZAHL BILDZEIT_MS.
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <exception>
#include <string>

#include "helpers/Dateistrom.h"
#include "pictures/Apng.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("Aufruf: apng_beispiel ORDNER BILDZAHL BILDZEIT_MS\n", stderr);
    return 2;
  }
  try {
    const std::string Ordner = argv[1];
    const int Bildzahl = std::stoi(argv[2]), Bildzeit = std::stoi(argv[3]);
    const int Breite = 160, Hoehe = 120;
    TDateistrom Strom(Ordner + "/animation.png", TFehlerform::MitName);
    TApngSchreiber Schreiber([&Strom](std::string_view Teil) { Strom.Schreiben(Teil); }, Bildzahl,
                             Breite, Hoehe, Bildzeit, "Rankenwerk-Rezept 1\nTiefe: 2\n");
    // A drawing that grows, on a background of noise that changes each frame.
    QImage Bild(Breite, Hoehe, QImage::Format_RGB32);
    for (int i = 0; i < Bildzahl; ++i) {
      for (int y = 0; y < Hoehe; ++y)
        for (int x = 0; x < Breite / 2; ++x) {
          const unsigned h = static_cast<unsigned>(x * 73 + y * 151 + i * 997) * 2654435761u;
          Bild.setPixel(x, y, qRgb(h >> 24, (h >> 16) & 0xFF, (h >> 8) & 0xFF));
        }
      {
        QPainter Maler(&Bild);
        Maler.fillRect(Breite / 2, 0, Breite / 2, Hoehe, Qt::white);
        Maler.setPen(QPen(QColor(0, 100 + 30 * (i % 5), 0), 3));
        for (int k = 0; k <= i; ++k)
          Maler.drawLine(Breite / 2 + 5, 5, Breite - 5 - 7 * k, Hoehe - 5);
      }
      Schreiber.BildAnfuegen(Bild);
      Bild.save(QString::fromStdString(Ordner + "/bild_" + std::to_string(i) + ".png"), "PNG");
    }
    Schreiber.Abschliessen();
    Strom.Abschliessen();
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  return 0;
}
