#include "mainwindow/Programm.h"

#include <QApplication>
#include <memory>

#include "drawing/LSystemZeichnen.h"
#include "gui/Anwendung.h"
#include "mainwindow/AboutBoxDialog.h"
#include "mainwindow/Baumbilder.h"
#include "mainwindow/LsystemHauptfenster.h"

int Programmstart(const QStringList& Argumente, const std::function<void(TForm1&)>& Weitere) {
  std::unique_ptr<TForm1> Fenster;
  try {
    QApplication::setWindowIcon(ProgrammIcon());
    AboutBox = new TAboutBox;
    Fenster = std::make_unique<TForm1>(Argumente);
    Form1 = Fenster.get();
    if (Weitere) Weitere(*Fenster);
  } catch (const std::exception& Fehler) {
    delete AboutBox;
    AboutBox = nullptr;
    AnwendungsfehlerZeigen(Fehler);
    return 1;
  }
  Fenster->show();
  return QApplication::exec();
}

void ZeichenfensterAnschliessen(TForm1& Hauptfenster) {
  ZeichenfensterErzeugen();
  Hauptfenster.ZeichenfensterOeffnen = [](TRegelsystem& R) {
    FZeichenform->show();
    FZeichenform->raise();
    FZeichenform->activateWindow();
    FZeichenform->RegelsystemUebergeben(R);
  };
  Hauptfenster.LupeOeffnen = [] { FZeichenform->LupeOeffnen(); };
  Hauptfenster.WachstumOeffnen = [](TRegelsystem& R) {
    FZeichenform->RegelsystemUebergeben(R);
    FZeichenform->WachstumOeffnen();
  };
  Hauptfenster.GestaltungOeffnen = [](TRegelsystem& R) {
    FZeichenform->RegelsystemUebergeben(R);
    FZeichenform->GestaltungOeffnen();
  };
  Hauptfenster.RezeptUebergeben = [](const TLauf& Rezept) {
    FZeichenform->RezeptUebernehmen(Rezept);
  };
  Hauptfenster.RegelsystemGeaendert = [] { FZeichenform->RegelsystemGeaendert(); };
  FZeichenform->Regelsystemname = [&Hauptfenster] { return Hauptfenster.GeladeneDatei; };
  FZeichenform->EinstellungenGeaendert = [&Hauptfenster] { Hauptfenster.RegelwahlHinweisSetzen(); };
}
