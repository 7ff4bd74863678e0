#include "drawing/Nachzeichnen.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "gui/Modal.h"

TNachzeichner::TNachzeichner(TNachzeichenfenster& Fenster, QLabel* Hinweis, QObject* Eltern)
    : QObject(Eltern), Fenster(Fenster), Hinweis(Hinweis), Uhr(new QTimer(this)) {
  Uhr->setSingleShot(true);
  Uhr->setInterval(40);
  connect(Uhr, &QTimer::timeout, this, &TNachzeichner::Pruefen);
  QCoreApplication::instance()->installEventFilter(this);
}

void TNachzeichner::SofortSetzen(bool Sofort) {
  if (An == Sofort) return;
  An = Sofort;
  Gezeichnet.reset();
  if (An) {
    Anstossen();
  } else {
    Uhr->stop();
    Hinweis->hide();
  }
}

void TNachzeichner::Anstossen() {
  if (An && !Ende && !Uhr->isActive()) Uhr->start();
}

void TNachzeichner::LaufVorbei() {
  if (!Versuchsgrund.isEmpty() && Fenster.ArbeitsgrenzeErreicht()) HinweisZeigen(Versuchsgrund);
  Versuchsgrund.clear();
  Anstossen();
}

void TNachzeichner::HinweisZeigen(const QString& Text) {
  Hinweis->setText(Text);
  Hinweis->adjustSize();
  Hinweis->setVisible(!Text.isEmpty());
}

void TNachzeichner::Beenden() {
  Ende = true;
  Uhr->stop();
}

bool TNachzeichner::eventFilter(QObject*, QEvent* E) {
  // What the user does is what changes the picture's settings; looking a
  // moment later is cheap, and nothing happens while nobody does anything.
  switch (E->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::FocusOut:
    case QEvent::Drop:
      Anstossen();
      break;
    default:
      break;
  }
  return false;
}

void TNachzeichner::Pruefen() {
  if (!An || Ende) return;
  if (ModalOffen()) {
    // A redraw started inside a dialog's loop would hold up whoever opened it.
    NachModal(this, [this] { Pruefen(); });
    return;
  }
  const TLauf Jetzt = Fenster.Bildstand();
  if (!Jetzt.Regeln) return;
  if (Fenster.Beschaeftigt()) {
    // The run under way draws what is out of date: it gives way, and the end
    // of the run brings us back.
    if (Gezeichnet && Jetzt != *Gezeichnet) {
      Ueberholt_ = true;
      Fenster.LaufAbbrechen();
    }
    return;
  }
  if (Gezeichnet && Jetzt == *Gezeichnet) return;
  Gezeichnet = Jetzt;
  if (Jetzt.Einstellungen.Schrittmodus) return;
  bool Versuch = false;
  const QString Grund = ZuSchwer(Jetzt, Versuch);
  HinweisZeigen(Versuch ? QString() : Grund);
  if (!Grund.isEmpty() && !Versuch) return;
  // Drawn from an event of its own: the timer must stay free to notice a
  // change during the redraw, and Qt does not fire it while its slot runs.
  QMetaObject::invokeMethod(
      this,
      [this, Grund] {
        if (!An || Ende) return;
        if (Fenster.Beschaeftigt() || ModalOffen()) {
          Gezeichnet.reset();
          Anstossen();
          return;
        }
        ++Anzahl;
        Versuchsgrund = Grund;
        Fenster.NeuZeichnen(Grund.isEmpty() ? UINT64_MAX : Grenzwert);
      },
      Qt::QueuedConnection);
}

QString TNachzeichner::ZuSchwer(const TLauf& S, bool& Versuch) const {
  const TAufwand A =
      AufwandSchaetzen(S.Regeln->Ersetzungen(), S.Tiefe, S.Regeln->Axiom(), S.Einstellungen,
                       S.Schrittweite, Fenster.ClientBreite(), Fenster.ClientHoehe());
  if (A.Summe() <= Grenze) return {};
  // An exact drawing jumps over the lines and characters it cannot show: what
  // it really costs shows only as it goes. Not so the pixels of thick lines.
  Versuch = Springbar(S.Einstellungen) && A.Flaeche <= Grenze;
  const QString Ende = QStringLiteral(" zum sofortigen Nachzeichnen – „Zeichnen“ zeichnet es.");
  // Named after what costs most: the lines' pixels, their number, or the
  // characters that draw nothing.
  const uint64_t Andere = A.Zeichen - std::min(A.Zeichen, A.Linien);
  if (A.Flaeche >= A.Linien && A.Flaeche >= Andere) return QStringLiteral("Zu dicke Linien") + Ende;
  if (A.Linien >= Andere) return QStringLiteral("Zu viele Linien") + Ende;
  return QStringLiteral("Zu viele Zeichen") + Ende;
}
