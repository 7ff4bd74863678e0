#include "gui/Anwendung.h"
#include "mainwindow/Programm.h"

int main(int argc, char** argv) {
  TAnwendung App(argc, argv);
  return Programmstart(QApplication::arguments().mid(1), ZeichenfensterAnschliessen);
}
