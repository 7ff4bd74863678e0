#include "drawing/LSystemZeichnen.h"
#include "gui/Anwendung.h"
#include "mainwindow/LsystemHauptfenster.h"
#include "mainwindow/Programm.h"

int main(int argc, char** argv) {
  TAnwendung App(argc, argv);
  return Programmstart(QApplication::arguments().mid(1), [](TForm1& Hauptfenster) {
    ZeichenfensterErzeugen();
    Hauptfenster.ZeichenfensterOeffnen = [](TRegelsystem& R) {
      FZeichenform->show();
      FZeichenform->raise();
      FZeichenform->activateWindow();
      FZeichenform->RegelsystemUebergeben(R);
    };
    Hauptfenster.RezeptUebergeben = [](const TRezept& Rezept) {
      FZeichenform->RezeptUebernehmen(Rezept);
    };
    Hauptfenster.RegelsystemGeaendert = [] { FZeichenform->RegelsystemGeaendert(); };
    FZeichenform->Regelsystemname = [&Hauptfenster] { return Hauptfenster.GeladeneDatei; };
  });
}
