#include "gui/Modal.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

void TModalerDialog::keyPressEvent(QKeyEvent* E) {
  if (E->key() == Qt::Key_Escape) {
    E->accept();
    return;
  }
  QDialog::keyPressEvent(E);
}

bool ModalOffen() { return QApplication::activeModalWidget() != nullptr; }

namespace {

// Watches modal windows go and then runs what waited for them.
class TModalwaechter : public QObject {
 public:
  TModalwaechter() { qApp->installEventFilter(this); }

  void Warten(QObject* Kontext, std::function<void()> Aktion) {
    for (TWartend& W : Wartende)
      if (W.Kontext == Kontext) {
        W.Aktion = std::move(Aktion);
        return;
      }
    Wartende.push_back({Kontext, std::move(Aktion)});
    if (!ModalOffen()) Wecken();
  }

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    if (!Wartende.empty() && (E->type() == QEvent::Hide || E->type() == QEvent::Destroy) &&
        Objekt->isWidgetType()) {
      auto* W = static_cast<QWidget*>(Objekt);
      if (W->isWindow() && W->windowModality() != Qt::NonModal) Wecken();
    }
    return false;
  }

 private:
  struct TWartend {
    QPointer<QObject> Kontext;
    std::function<void()> Aktion;
  };

  // Queued: the dialog's own exec returns first, and its caller goes on.
  void Wecken() {
    if (Geweckt) return;
    Geweckt = true;
    QTimer::singleShot(0, this, [this] {
      Geweckt = false;
      if (ModalOffen()) return;
      std::vector<TWartend> Jetzt;
      Jetzt.swap(Wartende);
      for (TWartend& W : Jetzt)
        if (W.Kontext) W.Aktion();
    });
  }

  std::vector<TWartend> Wartende;
  bool Geweckt = false;
};

}  // namespace

void NachModal(QObject* Kontext, std::function<void()> Aktion) {
  static auto* Waechter = new TModalwaechter;  // lives as long as the application
  Waechter->Warten(Kontext, std::move(Aktion));
}
