// Access keys that several controls of a window share ("&Zeichnen" and
// "&ZufallsModus"): Qt then only moves the focus from one to the next at each
// press, and none of them acts.
#pragma once

class QWidget;

// Installed on a window, a shared access key acts on the first of its controls
// in the window's tab order, as a key of its own would act on it: a button is
// clicked, a label's buddy or a group's first item gets the focus. Captions
// keep their "&"; controls created later in the window are covered too.
void KuerzelEindeutigMachen(QWidget* Fenster);
