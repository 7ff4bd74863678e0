// The about box, shown once during start-up.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* Eltern = nullptr);

  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Herstellerzeile;
  QLabel* Comments;
  QPushButton* OKButton;

 protected:
  // Only "OK" and the title bar close the box; ESC does not.
  void keyPressEvent(QKeyEvent* Ereignis) override;
};

// The about box between its creation at start-up and its one showing.
extern TAboutBox* AboutBox;

// Shows the box modally and destroys it in every case (Box becomes null);
// true when it was closed with "OK".
bool ProduktInfoZeigen(TAboutBox*& Box);
