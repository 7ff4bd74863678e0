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
    if (!QApplication::activeModalWidget()) Wecken();
  }

 protected:
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    // An exec loop that has ended must be forgotten before a new loop of the
    // same level starts, or its dialog would count as open for good (the
    // about box's exec comes before the program's main loop). Any event at
    // the level its dialog was shown at shows that it ended; each new exec
    // shows its dialog there first.
    if (!Ausklang.empty()) Ausklingend();
    const QEvent::Type T = E->type();
    if ((T != QEvent::Show && T != QEvent::Hide && T != QEvent::Destroy) || !Objekt->isWidgetType())
      return false;
    auto* W = static_cast<QWidget*>(Objekt);
    if (T == QEvent::Show) {
      if (W->isWindow() && W->windowModality() != Qt::NonModal) Zeigestufe[W] = Schleifenstufe();
      return false;
    }
    // A window made modal only after it was shown counts as shown here.
    int Stufe = Schleifenstufe();
    if (const auto It = Zeigestufe.find(W); It != Zeigestufe.end()) {
      Stufe = It->second;
      Zeigestufe.erase(It);
    } else if (T != QEvent::Hide || !W->isWindow() || W->windowModality() == Qt::NonModal) {
      return false;
    }
    // Hidden inside the loop of its exec: open until that loop has ended.
    if (Schleifenstufe() > Stufe) Ausklang.push_back(Stufe);
    if (!Wartende.empty()) Wecken();
    return false;
  }

 private:
  struct TWartend {
    QPointer<QObject> Kontext;
    std::function<void()> Aktion;
  };

  static int Schleifenstufe() { return QThread::currentThread()->loopLevel(); }

  // Queued: what waits runs only once the dialog's exec has returned and its
  // caller has acted on the answer.
  void Wecken() {
    if (Geweckt) return;
    Geweckt = true;
    QTimer::singleShot(0, this, [this] { Aufwachen(); });
  }

  void Aufwachen() {
    Geweckt = false;
    if (QApplication::activeModalWidget()) return;  // its going wakes us again
    if (Ausklingend()) {
      // Its loop ends at once, unless something holds it open (a menu):
      // a short wait then instead of spinning.
      Geweckt = true;
      QTimer::singleShot(10, this, [this] { Aufwachen(); });
      return;
    }
    std::vector<TWartend> Jetzt;
    Jetzt.swap(Wartende);
    for (TWartend& W : Jetzt)
      if (W.Kontext) W.Aktion();
  }

 public:
  // A modal window is gone, but the loop of its exec still runs: events
  // handled now come before its caller has the answer.
  bool Ausklingend() {
    while (!Ausklang.empty() && Schleifenstufe() <= Ausklang.back()) Ausklang.pop_back();
    return !Ausklang.empty();
  }

 private:
  std::vector<TWartend> Wartende;
  std::map<const QWidget*, int> Zeigestufe;  // modal windows shown, at which loop level
  std::vector<int> Ausklang;                 // levels of the exec loops still winding down
  bool Geweckt = false;
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

bool ModalOffen() {
  return QApplication::activeModalWidget() != nullptr || Waechter().Ausklingend();
}

void NachModal(QObject* Kontext, std::function<void()> Aktion) {
  Waechter().Warten(Kontext, std::move(Aktion));
}
