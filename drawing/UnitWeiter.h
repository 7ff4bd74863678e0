// The modal prompt shown before each character of a step-by-step drawing.
#pragma once

#include <QDialog>

class QPushButton;

class TWeiterBox : public QDialog {
  Q_OBJECT

 public:
  // Results of exec(): "OK" gives 1, "Abbruch" 3, closing the frame 2.
  enum { ErgebnisOk = 1, ErgebnisAbbrechen = 2, ErgebnisAbbruch = 3 };

  explicit TWeiterBox(QWidget* Eltern = nullptr);

  QPushButton* OKBitBtn;
  QPushButton* AbbruchBitBtn;

  // Closing through the frame (or any other reject) gives 2.
  void reject() override;

 protected:
  bool event(QEvent* E) override;
  // Escape does nothing; Enter presses the default button "OK".
  void keyPressEvent(QKeyEvent* E) override;

 private:
  // Each activation puts the focus on "OK", so every step is one Enter away.
  void FormActivate();
};

// The one prompt, created hidden at start-up.
extern TWeiterBox* WeiterBox;
