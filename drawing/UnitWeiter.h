// The modal prompt shown before each character of a step-by-step drawing.
#pragma once

#include "gui/Modal.h"

class QPushButton;

// Results of exec(): "OK" gives 1, "Abbruch" 3, closing the frame 2. Escape
// does nothing; Enter presses the default button "OK".
class TWeiterBox : public TModalerDialog {
  Q_OBJECT

 public:
  enum { ErgebnisAbbruch = 3 };

  explicit TWeiterBox(QWidget* Eltern = nullptr);

  QPushButton* OKBitBtn;
  QPushButton* AbbruchBitBtn;

 protected:
  bool event(QEvent* E) override;

 private:
  // Each activation puts the focus on "OK", so every step is one Enter away.
  void FormActivate();
};

// The one prompt, created hidden at start-up.
extern TWeiterBox* WeiterBox;
