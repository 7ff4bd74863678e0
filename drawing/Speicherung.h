// Writing a picture or an animation in the background: the windows stay
// usable meanwhile. A box beside them shows how far it has come, and its
// "Abbrechen", Escape or close button stops it quietly; a failure, or a stop
// for a reason (Unterbrechen), is told when the writing has ended. Unless it
// completes, an older file of that name stays as it was.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "pictures/Hintergrundzeichner.h"

class QProgressDialog;
class QWidget;

class TSpeicherung : public QObject {
  Q_OBJECT

 public:
  // Writes with Weiter asked now and then; true once the file is in place,
  // false when Weiter stopped it. Throws with a German message. It runs away
  // from the windows' thread and reads only its own copies.
  using TSchreiben = std::function<bool(const THintergrundzeichner::TWeiter& Weiter)>;

  // Fenster: where the box and the messages appear.
  explicit TSpeicherung(QWidget* Fenster);
  ~TSpeicherung() override;

  // Starts writing, the box saying Text; Danach runs in the windows' thread
  // once the file is in place. A writing under way is not disturbed: a second
  // one is refused with a message.
  void Starten(const QString& Text, TSchreiben Schreiben, std::function<void()> Danach = {});
  bool Laeuft() const { return Laufend; }
  // Stops the writing under way; once it has ended, Meldung says why.
  void Unterbrechen(const QString& Meldung);

 signals:
  // The writing has ended, whether the file is in place or not.
  void Beendet();

 private:
  void Gekommen(int Nummer, double Anteil, bool Zuletzt, const QString& Fehler);

  QWidget* Fenster;
  THintergrundzeichner* Zeichner;
  QProgressDialog* Box = nullptr;
  int Auftrag = 0;
  bool Laufend = false;
  QString Grund;  // why it was stopped, when not by the user
  std::shared_ptr<bool> Geschrieben;
  std::function<void()> Danach;
};
