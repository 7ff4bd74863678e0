#include "gui/Eingabefeld.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <string>

#include "gui/Dialoge.h"
#include "helpers/Hilfen.h"

void TEingabefeld::focusOutEvent(QFocusEvent* E) {
  QLineEdit::focusOutEvent(E);
  if (E->reason() != Qt::ActiveWindowFocusReason && E->reason() != Qt::PopupFocusReason)
    emit Verlassen();
}

void TEingabefeld::keyPressEvent(QKeyEvent* E) {
  const int Taste = E->key();
  if (EnterUndEscape &&
      (Taste == Qt::Key_Return || Taste == Qt::Key_Enter || Taste == Qt::Key_Escape)) {
    E->accept();
    emit TasteGedrueckt(Taste);
    return;
  }
  QLineEdit::keyPressEvent(E);
}

void TEingabefeld::dragEnterEvent(QDragEnterEvent* E) {
  if (E->mimeData()->hasUrls()) {
    E->ignore();
    return;
  }
  QLineEdit::dragEnterEvent(E);
}

void TEingabefeld::dropEvent(QDropEvent* E) {
  if (E->mimeData()->hasUrls()) {
    E->ignore();
    return;
  }
  QLineEdit::dropEvent(E);
}

void FeldVerlassen(QWidget* Fenster, const std::function<void()>& Pruefen,
                   const std::function<void()>& Zuruecksetzen) {
  Behandeln(Fenster, [&] {
    try {
      Pruefen();
    } catch (const EFeldfehler& F) {
      MeldungZeigen(std::string(F.what()), Fenster);
      Zuruecksetzen();
    } catch (const std::exception& E) {
      FehlerZeigen(E, Fenster);
      Zuruecksetzen();
    }
  });
}
