// Test support for the drawing unit's windows: answers modal dialogs in order.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "drawing/Extras.h"

// Acts on the modal dialogs that come up while it lives, one step per dialog,
// in the given order. A step gets the active modal widget and returns false when
// that is not yet the widget it waits for. Message boxes that no step expects
// are recorded and answered with "OK".
class TAntworter {
 public:
  using TSchritt = std::function<bool(QWidget*)>;

  explicit TAntworter(std::vector<TSchritt> Schritte = {}) : Schritte(std::move(Schritte)) {
    Planen();
  }

  void Anhaengen(TSchritt Schritt) { Schritte.push_back(std::move(Schritt)); }
  bool Fertig() const { return Naechster == Schritte.size(); }

  QStringList Meldungen;  // texts of all message boxes seen
  QStringList Titel;      // their titles

  // A step that answers a message box with its OK button.
  TSchritt BoxOk() {
    return [this](QWidget* W) {
      auto* Box = qobject_cast<QMessageBox*>(W);
      if (!Box) return false;
      Beantworten(Box);
      return true;
    };
  }

 private:
  void Beantworten(QMessageBox* Box) {
    Meldungen << Box->text();
    Titel << Box->windowTitle();
    Box->buttons().first()->click();
  }

  // A fresh timer per tick: Qt does not fire a timer again while its handler runs,
  // and a step may open a nested dialog that the next tick has to answer.
  void Planen() {
    QTimer::singleShot(2, &Kontext, [this] { Ticken(); });
  }

  void Ticken() {
    Planen();
    QWidget* W = QApplication::activeModalWidget();
    if (!W || !W->isVisible()) return;
    if (Naechster < Schritte.size()) {
      // Advance first: the step may open a nested dialog and tick again inside it.
      const size_t Index = Naechster++;
      TSchritt Schritt = Schritte[Index];
      if (Schritt(W) || Naechster != Index + 1) return;
      Naechster = Index;
    }
    if (auto* Box = qobject_cast<QMessageBox*>(W)) Beantworten(Box);
  }

  std::vector<TSchritt> Schritte;
  size_t Naechster = 0;
  QObject Kontext;  // pending ticks die with it
};

// Each test starts from the default drawing settings and leaves them so,
// also when it fails half-way: a member of the fixture.
class TEinstellungenWache {
 public:
  TEinstellungenWache() { Zuruecksetzen(); }
  ~TEinstellungenWache() { Zuruecksetzen(); }
  TEinstellungenWache(const TEinstellungenWache&) = delete;
  TEinstellungenWache& operator=(const TEinstellungenWache&) = delete;

 private:
  static void Zuruecksetzen() { Einstellungen = ExtraWerte = TEinstellungen(); }
};
