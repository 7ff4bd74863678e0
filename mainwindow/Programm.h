// The start-up sequence of the program.
#pragma once

#include <QStringList>
#include <functional>

class TForm1;

// Creates the about box and the main window (which shows the about box, then
// loads and shows the rule system), then runs Weitere (the program entry
// creates the drawing windows there), shows the main window and processes
// events until it is closed. A start-up error is reported as "Anwendungsfehler"
// and gives exit code 1.
int Programmstart(const QStringList& Argumente, const std::function<void(TForm1&)>& Weitere = {});

// Creates the drawing window and its dialogs and joins them to the main
// window: "Zeichnen" shows the drawing window with the rule system, a loaded
// picture hands over its settings, every change of the rule system reaches
// the live redraw, and the name of a loaded file is proposed for pictures.
void ZeichenfensterAnschliessen(TForm1& Hauptfenster);
