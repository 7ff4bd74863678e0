// Edit fields that commit their text when the user leaves them.
#pragma once

#include <QLineEdit>
#include <functional>

// An edit field that emits Verlassen when the keyboard focus moves to another
// control of the program; losing it to another window or a popup menu is no
// leaving. With EnterUndEscape set, Enter and Escape are the field's own: they
// emit TasteGedrueckt instead of reaching the window. Files dragged onto it
// are no text: they go on to the window, which may load them.
class TEingabefeld : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

  bool EnterUndEscape = false;

 signals:
  void Verlassen();
  void TasteGedrueckt(int Taste);

 protected:
  void focusOutEvent(QFocusEvent* E) override;
  void keyPressEvent(QKeyEvent* E) override;
  void dragEnterEvent(QDragEnterEvent* E) override;
  void dropEvent(QDropEvent* E) override;
};

// Runs the check of a field that was left. A refused entry (EFeldfehler)
// shows the check's message; any other error, such as a number beyond the
// range of a double, the error report. In both cases Zuruecksetzen then shows
// the value in force again, so that the field never keeps a text that does
// not count.
void FeldVerlassen(QWidget* Fenster, const std::function<void()>& Pruefen,
                   const std::function<void()>& Zuruecksetzen);
