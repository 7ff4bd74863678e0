#include "gui/Anwendung.h"
#include "mainwindow/LsystemHauptfenster.h"
#include "mainwindow/Programm.h"

#ifdef RANKENWERK_ZEICHENFENSTER
#include "drawing/LSystemZeichnen.h"
#endif

int main(int argc, char** argv) {
  TAnwendung App(argc, argv);
  return Programmstart(QApplication::arguments().mid(1), [](TForm1& Hauptfenster) {
#ifdef RANKENWERK_ZEICHENFENSTER
    ZeichenfensterErzeugen();
    Hauptfenster.ZeichenfensterOeffnen = [](TRegelsystem& R) {
      FZeichenform->show();
      FZeichenform->raise();
      FZeichenform->activateWindow();
      FZeichenform->RegelsystemUebergeben(R);
    };
#else
    (void)Hauptfenster;
#endif
  });
}
