// The monkey's book: its dice, the last events, the counts per control, drop
// target and kind of thing seen, the first violation, and the report. All
// parts of the monkey write into one.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

class QWidget;

// The kinds of control the monkey works; the report sums its events by them.
enum class TArt { Knopf, Feld, Radiogruppe, Liste, Textfeld, Drehfeld, Auswahl, Schieber, Flaeche };

struct TSteuerelement {
  QWidget* W = nullptr;
  TArt Art = TArt::Knopf;
  QString Name;  // window and control, "Form1.BLoad"
};

inline double Millisekunden(std::chrono::steady_clock::time_point Seit) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Seit).count();
}

// Muster with its markers %1, %2, ... filled in turn, as a chain of QString::arg.
template <class... T>
QString Satz(const char* Muster, const T&... Werte) {
  QString S = QString::fromUtf8(Muster);
  ((S = S.arg(Werte)), ...);
  return S;
}

class TAffenbuch {
 public:
  explicit TAffenbuch(uint64_t Saat);

  const uint64_t Saat;
  std::mt19937_64 Zufall;
  // Decisions taken at timer ticks during a run come from their own generator,
  // so that how long a run takes does not change the rest of the sequence.
  std::mt19937_64 ZufallImLauf;
  int Wurf(int n) { return static_cast<int>(Zufall() % static_cast<uint64_t>(std::max(1, n))); }

  int64_t Nummer = 0;       // the event under way
  bool ImEreignis = false;  // an event of the main loop is under way
  bool Stopp = false;       // a violation was found: the run ends
  QString Fehler;           // its report: seed, event, last events, state
  double Laengstes = 0;     // ms of the longest event
  int64_t LaengstesNummer = 0;
  std::atomic<int64_t> Fortschritt{0};  // events done, for the watchdog

  void Log(const QString& Zeile);
  void Vermerken(const QString& Was) { ++Statistik[Was]; }
  int64_t Vermerkt(const QString& Was) { return Statistik[Was]; }
  // One event aimed at the control W belongs to, if any.
  void Zaehlen(QWidget* W);
  int64_t Anzahl(const QString& Steuerelement) const;
  void Abgelegt(const QString& Ziel) { ++Ablagen[Ziel]; }
  // Controls every run must reach (with AFFEN_ALLE).
  void Verlangen(const TSteuerelement& S);
  // The first violation stops the run; later ones are not recorded.
  void Verletzt(const QString& Was);

  // Events per control and per drop target, sums per kind, what the dialogs saw.
  QStringList Bericht() const;
  // Controls it had to reach that got no event.
  QStringList Unberuehrt() const;
  // The last events, readable from another thread.
  std::string Verlauf();

 private:
  std::mutex LogSperre;
  std::deque<QString> Letzte;
  std::map<QString, int64_t> Treffer;  // events per control
  std::map<QString, int64_t> Ablagen;  // drops per target
  std::map<QString, TArt> Arten;
  std::map<QString, int64_t> Statistik;
  QStringList Pflicht;
};

// What every part of the monkey uses of the book.
class TAffenteil {
 protected:
  explicit TAffenteil(TAffenbuch& Buch) : Buch(Buch), Stopp(Buch.Stopp) {}

  int Wurf(int n) { return Buch.Wurf(n); }
  bool Chance(int Prozent) { return Wurf(100) < Prozent; }
  template <class T, size_t N>
  const T& Eines(const T (&Liste)[N]) {
    return Liste[Wurf(static_cast<int>(N))];
  }
  const QString& Eines(const QStringList& Liste) {
    return Liste[Wurf(static_cast<int>(Liste.size()))];
  }
  template <class T>
  const T& Eines(const std::vector<T>& Liste) {
    return Liste[static_cast<size_t>(Wurf(static_cast<int>(Liste.size())))];
  }
  void Log(const QString& Zeile) { Buch.Log(Zeile); }
  void Vermerken(const QString& Was) { Buch.Vermerken(Was); }
  void Zaehlen(QWidget* W) { Buch.Zaehlen(W); }
  void Verletzt(const QString& Was) { Buch.Verletzt(Was); }

  TAffenbuch& Buch;
  const bool& Stopp;
};
