#include "pictures/Hintergrundzeichner.h"

#include <chrono>
#include <exception>

#include "pictures/BildLeinwand.h"

namespace {

// How often a growing picture is handed over: often enough to see it grow,
// seldom enough that copying it costs the drawing little.
constexpr auto Zwischenabstand = std::chrono::milliseconds(60);

}  // namespace

THintergrundzeichner::THintergrundzeichner(QObject* Eltern)
    : QObject(Eltern), Faden([this] { Arbeiten(); }) {}

THintergrundzeichner::~THintergrundzeichner() {
  {
    const std::lock_guard<std::mutex> S(Sperre);
    Ende = true;
    Neueste = -1;
  }
  Wecker.notify_one();
  Faden.join();
}

int THintergrundzeichner::Starten(QSize Groesse, TAuftrag Auftrag) {
  const int Nummer = ++Gestartet;
  {
    const std::lock_guard<std::mutex> S(Sperre);
    Naechster = std::move(Auftrag);
    NaechsteGroesse = Groesse;
    NaechsteNummer = Nummer;
    Neueste = Nummer;
  }
  Offen = true;
  Wecker.notify_one();
  return Nummer;
}

void THintergrundzeichner::Anhalten() {
  const std::lock_guard<std::mutex> S(Sperre);
  // A number no job has: the one under way stops at its next look.
  Neueste = -Gestartet;
  if (Naechster) {
    Naechster = nullptr;
    Offen = false;
  }
}

void THintergrundzeichner::Arbeiten() {
  for (;;) {
    TAuftrag Auftrag;
    QSize Groesse;
    int Nummer = 0;
    {
      std::unique_lock<std::mutex> S(Sperre);
      Wecker.wait(S, [this] { return Ende || Naechster; });
      if (Ende) return;
      Auftrag = std::move(Naechster);
      Naechster = nullptr;
      Groesse = NaechsteGroesse;
      Nummer = NaechsteNummer;
    }
    QImage Bild(Groesse, QImage::Format_RGB32);
    Bild.fill(Qt::white);
    double Anteil = 0;
    {
      TBildLeinwand Leinwand(Bild);
      auto Zuletzt = std::chrono::steady_clock::now();
      const auto Weiter = [&](double Wert) {
        Anteil = Wert;
        if (Neueste != Nummer) return false;
        const auto Jetzt = std::chrono::steady_clock::now();
        if (Jetzt - Zuletzt >= Zwischenabstand) {
          Zuletzt = Jetzt;
          Leinwand.Ausgeben();
          Abliefern(Nummer, Bild.copy(), Anteil, false);
        }
        return true;
      };
      try {
        Auftrag(Leinwand, Weiter);
      } catch (const std::exception&) {
        // The picture as far as it came is all there is.
      }
      Leinwand.Ausgeben();
    }
    Abliefern(Nummer, Bild, Neueste == Nummer ? 1.0 : Anteil, true);
  }
}

void THintergrundzeichner::Abliefern(int Nummer, const QImage& Bild, double Anteil, bool Fertig) {
  QMetaObject::invokeMethod(
      this,
      [this, Nummer, Bild, Anteil, Fertig] {
        if (Fertig && Nummer == Gestartet) Offen = false;
        emit this->Bild(Nummer, Bild, Anteil, Fertig);
      },
      Qt::QueuedConnection);
}
