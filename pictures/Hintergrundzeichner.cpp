#include "pictures/Hintergrundzeichner.h"

#include <chrono>
#include <exception>
#include <set>

#include "pictures/BildLeinwand.h"

namespace {

// How often a growing picture is handed over: often enough to see it grow,
// seldom enough that copying it costs the drawing little.
constexpr auto Zwischenabstand = std::chrono::milliseconds(60);

// The workers that exist, for the program's end (windows' thread only).
std::set<THintergrundzeichner*>& Alle() {
  static std::set<THintergrundzeichner*> Menge;
  return Menge;
}

}  // namespace

THintergrundzeichner::THintergrundzeichner(QObject* Eltern)
    : QObject(Eltern), Faden([this] { Arbeiten(); }) {
  Alle().insert(this);
}

THintergrundzeichner::~THintergrundzeichner() {
  Alle().erase(this);
  Beenden();
  Faden.join();
}

void THintergrundzeichner::AlleBeenden() {
  for (THintergrundzeichner* Z : Alle()) Z->Beenden();
}

void THintergrundzeichner::Beenden() {
  std::unique_lock<std::mutex> S(Sperre);
  Ende = true;
  Neueste = -1;
  Naechster = nullptr;
  Wecker.notify_one();
  Fertig.wait(S, [this] { return !ArbeitLaeuft; });
  Offen = false;
}

int THintergrundzeichner::Starten(QImage Bild, TAuftrag Auftrag) {
  const int Nummer = ++Gestartet;
  {
    const std::lock_guard<std::mutex> S(Sperre);
    if (Ende) return Nummer;
    Naechster = std::move(Auftrag);
    NaechstesBild = std::move(Bild);
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
    QImage Bild;
    int Nummer = 0;
    {
      std::unique_lock<std::mutex> S(Sperre);
      Wecker.wait(S, [this] { return Ende || Naechster; });
      if (Ende) return;
      Auftrag = std::move(Naechster);
      Naechster = nullptr;
      Bild = std::move(NaechstesBild);
      Nummer = NaechsteNummer;
      ArbeitLaeuft = true;
    }
    const bool MitBild = !Bild.isNull();
    if (!MitBild) Bild = QImage(1, 1, QImage::Format_RGB32);
    double Anteil = 0;
    QString Fehler;
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
          Abliefern(Nummer, MitBild ? Bild.copy() : QImage(), Anteil, false, {});
        }
        return true;
      };
      try {
        Auftrag(Leinwand, Weiter);
      } catch (const std::exception& E) {
        // The picture as far as it came is all there is.
        Fehler = QString::fromUtf8(E.what());
      }
      Leinwand.Ausgeben();
    }
    Auftrag = nullptr;  // its copies go with it, here
    Abliefern(Nummer, MitBild ? Bild : QImage(), Neueste == Nummer ? 1.0 : Anteil, true, Fehler);
    {
      const std::lock_guard<std::mutex> S(Sperre);
      ArbeitLaeuft = false;
    }
    Fertig.notify_all();
  }
}

void THintergrundzeichner::Abliefern(int Nummer, const QImage& Bild, double Anteil, bool Zuletzt,
                                     const QString& Fehler) {
  QMetaObject::invokeMethod(
      this,
      [this, Nummer, Bild, Anteil, Zuletzt, Fehler] {
        if (Zuletzt && Nummer == Gestartet) Offen = false;
        emit this->Bild(Nummer, Bild, Anteil, Zuletzt, Fehler);
      },
      Qt::QueuedConnection);
}
