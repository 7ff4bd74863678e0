// Clicks that survive the check of the field they leave.
#pragma once

class QWidget;

// Pressing a button or radio item takes the focus from an edit field first;
// when the field's check then shows a message box, the box takes the mouse
// release, or Qt drops it once the box has come and gone (a modal window makes
// Qt forget where a press went), and the control would stay drawn pressed
// without ever acting.
// Installed on a window, this lets every such press act as the click it was,
// right after the field's leave action has ended. Buttons created later in
// the window are covered too.
void KlicksBewahren(QWidget* Fenster);
