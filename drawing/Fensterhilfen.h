// Small pieces the drawing unit's windows share: which activations count, and
// edit fields that report when the user leaves them.
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <functional>

class QEvent;
class QWidget;

// Switching in from another application does not count as an activation.

// To be called from W's event(): true when E is a WindowActivate of W that
// follows its showing or comes from another window of this program.
bool EigeneAktivierung(QWidget* W, QEvent* E);

// Runs the check of a field that was left. A refused entry shows the check's
// message; a number beyond the range of a double shows the error report. In
// both cases Zuruecksetzen then shows the value in force again, so that the
// field never keeps a text that does not count.
void FeldVerlassen(QWidget* Fenster, const std::function<void()>& Pruefen,
                   const std::function<void()>& Zuruecksetzen);

// An edit field that emits Verlassen when the keyboard focus moves to another
// control; losing it to another window or a popup menu is no leaving.
class TEingabefeld : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

 signals:
  void Verlassen();

 protected:
  void focusOutEvent(QFocusEvent* E) override;
};

class QButtonGroup;
class QRadioButton;

// A titled group of two radio items, item 0 above item 1.
class TRadioGruppe : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGruppe(const QString& Titel, const QString& Item0, const QString& Item1, QWidget* Eltern);

  int ItemIndex() const;
  // Chooses the item without emitting Geklickt.
  void ItemIndexSetzen(int Index);

  QRadioButton* Items[2];

 signals:
  // The user chose an item (also the one already chosen).
  void Geklickt(int Index);

 private:
  QButtonGroup* Gruppe;
};
