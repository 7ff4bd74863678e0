// The monkey's watchdog: ends a run that hangs, naming the seed, the last
// events and where the windows' thread stands.
#pragma once

#include <execinfo.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "mainwindow/Affenbuch.h"

// Watches from the thread that makes it, the windows' thread: when the book's
// progress stands still for Sekunden, it prints and exits with code 2.
class TWachhund {
 public:
  TWachhund(TAffenbuch& Buch, int Sekunden)
      : Buch(Buch), Sekunden(Sekunden), Hauptfaden(pthread_self()) {
    signal(SIGUSR1, StapelZeigen);
    Faden = std::thread([this] { Wachen(); });
  }
  ~TWachhund() {
    Fertig = true;
    Faden.join();
  }
  TWachhund(const TWachhund&) = delete;
  TWachhund& operator=(const TWachhund&) = delete;

 private:
  // Where the windows' thread hangs: it writes its own stack when asked.
  static void StapelZeigen(int) {
    void* Rahmen[80];
    const int n = backtrace(Rahmen, 80);
    static const char Kopf[] = "Stapel des Fensterfadens:\n";
    (void)!write(STDERR_FILENO, Kopf, sizeof Kopf - 1);
    backtrace_symbols_fd(Rahmen, n, STDERR_FILENO);
  }

  void Wachen() {
    int64_t Zuletzt = -1;
    auto Seit = std::chrono::steady_clock::now();
    while (!Fertig) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const int64_t Jetzt = Buch.Fortschritt;
      if (Jetzt != Zuletzt) {
        Zuletzt = Jetzt;
        Seit = std::chrono::steady_clock::now();
      } else if (std::chrono::steady_clock::now() - Seit > std::chrono::seconds(Sekunden)) {
        std::fprintf(stderr,
                     "Affentest hängt seit %d s nach Ereignis %lld (Saat %llu).\n"
                     "Letzte Ereignisse:\n%s",
                     Sekunden, static_cast<long long>(Jetzt),
                     static_cast<unsigned long long>(Buch.Saat), Buch.Verlauf().c_str());
        std::fflush(stderr);
        pthread_kill(Hauptfaden, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        std::_Exit(2);
      }
    }
  }

  TAffenbuch& Buch;
  const int Sekunden;
  const pthread_t Hauptfaden;
  std::atomic<bool> Fertig{false};
  std::thread Faden;
};
