// Which activations of a window count as the program's own: switching in from
// another application does not.
#pragma once

class QEvent;
class QWidget;

// To be called from W's event(): true when E is a WindowActivate of W that
// follows its showing or comes from another window of this program.
bool EigeneAktivierung(QWidget* W, QEvent* E);
