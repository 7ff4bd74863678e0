// Work away from the windows' thread, so that a window answers its user while
// a deep drawing comes about or a large picture is written: one job at a
// time, a new job stops the one under way, and a picture drawn is handed over
// now and then as it grows. Every drawing in the background goes through it:
// the magnifier's views, Wachstum's frames, and the saving of pictures and
// animations.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TLeinwand;

class THintergrundzeichner : public QObject {
  Q_OBJECT

 public:
  using TWeiter = std::function<bool(double Anteil)>;
  // A job draws on Leinwand, the picture it was started with; Weiter(Anteil)
  // tells how far it has come (0 to 1) and returns false once the job is to
  // stop. It must read nothing that the windows' thread may change meanwhile:
  // it gets copies of its own. It throws with a German message when it fails.
  using TAuftrag = std::function<void(TLeinwand& Leinwand, const TWeiter& Weiter)>;

  explicit THintergrundzeichner(QObject* Eltern = nullptr);
  // Stops the job under way and waits for the thread to end.
  ~THintergrundzeichner() override;

  // Starts Auftrag on Bild (a blank picture of the surface, say); a job under
  // way stops. A job that draws on a canvas of its own (a file) is given a
  // null Bild: it gets a canvas of one pixel, and no pictures are handed over.
  // Returns the job's number, which its pictures carry.
  int Starten(QImage Bild, TAuftrag Auftrag);
  // The job under way stops; its picture so far comes as the last one.
  void Anhalten();
  // A job has been started and its last picture has not come yet.
  bool Beschaeftigt() const { return Offen; }

  // Every job of the program stops, and each thread waits until its job has
  // ended: at the program's end, so that nothing is left half written.
  static void AlleBeenden();

 signals:
  // The picture of job Nummer so far; Zuletzt on its last one (complete, or
  // as far as it came when it was stopped or failed). Fehler is the message
  // of a job that failed, else empty.
  void Bild(int Nummer, const QImage& Bild, double Anteil, bool Zuletzt, const QString& Fehler);

 private:
  void Arbeiten();
  void Abliefern(int Nummer, const QImage& Bild, double Anteil, bool Zuletzt,
                 const QString& Fehler);
  // Waits until the job under way has ended; no new one starts.
  void Beenden();

  std::mutex Sperre;
  std::condition_variable Wecker;
  // Guarded by Sperre:
  TAuftrag Naechster;
  QImage NaechstesBild;
  int NaechsteNummer = 0;
  bool Ende = false;
  bool ArbeitLaeuft = false;
  std::condition_variable Fertig;  // ArbeitLaeuft became false
  // The number of the newest job; an older one sees it and stops.
  std::atomic<int> Neueste{0};
  // Read in the windows' thread only.
  bool Offen = false;
  int Gestartet = 0;
  std::thread Faden;
};
