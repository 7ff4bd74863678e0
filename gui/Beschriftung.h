// Captions that fit: every label, button, radio item and group title of a
// window is checked against the space its control gives it, as drawn with the
// font in use, and shrunk where the installed fonts are wider than planned.
#pragma once

#include <QList>
#include <QString>

class QWidget;

// A caption that does not fit: its control, its text and by how many pixels
// it runs over (in the worse direction).
struct TUeberstand {
  QWidget* Steuerelement = nullptr;
  QString Text;
  int Pixel = 0;
};

// The captions of Fenster and its children (shown or not) that run out of
// their control or out of the area a parent shows of them: a label beyond its
// group's frame, a button text over the button's edge, a radio item's text
// into its group's frame, a group title wider than its group.
QList<TUeberstand> Ueberstaende(QWidget* Fenster);

// The captions of Fenster's shown controls that lie over another shown control
// of the window (not over their own parents or children, nor over plain frames
// and the drawing surface, which lie beneath by design); Pixel is the overlap's
// smaller side.
QList<TUeberstand> Ueberdeckungen(QWidget* Fenster);

// Makes every caption of Fenster fit: a control whose caption runs over gets
// a smaller font, a pixel at a time, down to 7 pixels.
void BeschriftungenEinpassen(QWidget* Fenster);
