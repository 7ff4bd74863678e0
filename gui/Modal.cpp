#include "gui/Modal.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <map>
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
    if (!ModalOffen()) Wecken(Schleifenstufe());
  }

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    const QEvent::Type T = E->type();
    if ((T != QEvent::Show && T != QEvent::Hide && T != QEvent::Destroy) || !Objekt->isWidgetType())
      return false;
    auto* W = static_cast<QWidget*>(Objekt);
    if (T == QEvent::Show) {
      if (W->isWindow() && W->windowModality() != Qt::NonModal) Zeigestufe[W] = Schleifenstufe();
      return false;
    }
    int Stufe = Schleifenstufe();
    if (const auto It = Zeigestufe.find(W); It != Zeigestufe.end()) {
      Stufe = It->second;
      Zeigestufe.erase(It);
    } else if (T != QEvent::Hide || !W->isWindow() || W->windowModality() == Qt::NonModal) {
      return false;
    }
    // (A window made modal only after it was shown wakes at the level it goes at.)
    if (!Wartende.empty()) Wecken(Stufe);
    return false;
  }

 private:
  struct TWartend {
    QPointer<QObject> Kontext;
    std::function<void()> Aktion;
  };

  static int Schleifenstufe() { return QThread::currentThread()->loopLevel(); }

  // Queued, and run only once the event loop is back at Stufe, where the
  // modal window was shown: a dialog's exec has then returned and its caller
  // has acted on the answer. Events handled while its loop winds down must
  // not start the waiting work in between.
  void Wecken(int Stufe) {
    Grenze = Geweckt ? std::min(Grenze, Stufe) : Stufe;
    if (Geweckt) return;
    Geweckt = true;
    QTimer::singleShot(0, this, [this] { Aufwachen(); });
  }

  void Aufwachen() {
    Geweckt = false;
    if (ModalOffen()) return;
    if (Schleifenstufe() > Grenze) {
      // Left at once unless something holds the loop open (a menu): a
      // short wait then instead of spinning.
      Geweckt = true;
      QTimer::singleShot(20, this, [this] { Aufwachen(); });
      return;
    }
    std::vector<TWartend> Jetzt;
    Jetzt.swap(Wartende);
    for (TWartend& W : Jetzt)
      if (W.Kontext) W.Aktion();
  }

  std::vector<TWartend> Wartende;
  std::map<const QWidget*, int> Zeigestufe;  // modal windows shown, at which loop level
  bool Geweckt = false;
  int Grenze = 0;
};

// Lives as long as the application, from its start: it must have seen every
// modal window come to know where to wait for it.
TModalwaechter& Waechter() {
  static auto* W = new TModalwaechter;
  return *W;
}

void WaechterAnlegen() { Waechter(); }
Q_COREAPP_STARTUP_FUNCTION(WaechterAnlegen)

}  // namespace

void NachModal(QObject* Kontext, std::function<void()> Aktion) {
  Waechter().Warten(Kontext, std::move(Aktion));
}
