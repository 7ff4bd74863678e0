// Windows that may be given less room than they would like: opened no larger
// than the free area of their screen, and wholly on it.
#pragma once

class QSize;
class QWidget;

// To be called as the top-level window Fenster is shown: the first time, it
// gets the size Wunsch as far as the free area of its screen takes it with its
// frame, never less than its minimum size, and a place over the window it
// belongs to, moved onto that area where it would stick out; later it keeps
// what the user made of it. Its frame is taken to be like that of the
// program's windows already shown; without any, none.
void AufBildschirmEinpassen(QWidget* Fenster, QSize Wunsch);
