// Pictures drawn away from the windows' thread, so that a window answers its
// user while a deep drawing comes about: one job at a time, a new job stops
// the one under way, and the picture is handed over now and then as it grows.
#pragma once

#include <QImage>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TLeinwand;

class THintergrundzeichner : public QObject {
  Q_OBJECT

 public:
  // A job draws on Leinwand; Weiter(Anteil) tells how far it has come (0 to
  // 1) and returns false once the job is to stop. It must read nothing that
  // the windows' thread may change meanwhile: it gets copies of its own.
  using TAuftrag =
      std::function<void(TLeinwand& Leinwand, const std::function<bool(double Anteil)>& Weiter)>;

  explicit THintergrundzeichner(QObject* Eltern = nullptr);
  // Stops the job under way and waits for the thread to end.
  ~THintergrundzeichner() override;

  // Starts Auftrag on a white picture of this size; a job under way stops.
  // Returns the job's number, which its pictures carry.
  int Starten(QSize Groesse, TAuftrag Auftrag);
  // The job under way stops; its picture so far comes as the last one.
  void Anhalten();
  // A job has been started and its last picture has not come yet.
  bool Beschaeftigt() const { return Offen; }

 signals:
  // The picture of job Nummer so far; Fertig on its last one (complete, or
  // as far as it came when it was stopped or failed).
  void Bild(int Nummer, const QImage& Bild, double Anteil, bool Fertig);

 private:
  void Arbeiten();
  void Abliefern(int Nummer, const QImage& Bild, double Anteil, bool Fertig);

  std::mutex Sperre;
  std::condition_variable Wecker;
  // Guarded by Sperre:
  TAuftrag Naechster;
  QSize NaechsteGroesse;
  int NaechsteNummer = 0;
  bool Ende = false;
  // The number of the newest job; an older one sees it and stops.
  std::atomic<int> Neueste{0};
  // Read in the windows' thread only.
  bool Offen = false;
  int Gestartet = 0;
  std::thread Faden;
};
