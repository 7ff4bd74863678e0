// The program's modal dialogs, and work that waits until none is open.
#pragma once

#include <QDialog>
#include <functional>

class QKeyEvent;

// A modal dialog of the program on which Escape does nothing; closing it
// through its frame gives ErgebnisAbbrechen. Frame and Enter stay each
// dialog's own.
class TModalerDialog : public QDialog {
  Q_OBJECT

 public:
  enum { ErgebnisOk = 1, ErgebnisAbbrechen = 2 };

  using QDialog::QDialog;

  void reject() override { done(ErgebnisAbbrechen); }

 protected:
  void keyPressEvent(QKeyEvent* E) override;
};

// True while a modal window of the program (a dialog, message box, file
// dialog, progress box) is open, and after it closed until its exec has
// returned.
bool ModalOffen();

// Runs Aktion from the event loop as soon as no modal window is open, once;
// a later call for the same Kontext replaces a waiting one. Dropped when
// Kontext goes. Nothing polls: closing a modal window is what wakes it.
void NachModal(QObject* Kontext, std::function<void()> Aktion);
