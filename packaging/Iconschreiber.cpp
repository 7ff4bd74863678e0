// Writes the program-drawn icon as PNG for the desktop's icon theme.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "mainwindow/Baumbilder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: rankenwerk-icon DATEI.png\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication App(argc, argv);
  if (!IconBild().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "%s kann nicht geschrieben werden\n", argv[1]);
    return 1;
  }
  return 0;
}
