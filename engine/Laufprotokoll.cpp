#include "engine/Laufprotokoll.h"

#include <exception>

TRezept TProtokolllauf::Vollstaendig() const {
  TRezept R = Rezept;
  if (Regeltext) R.Regelsystem = *Regeltext;
  return R;
}

void TLaufprotokoll::Beginnen(TRezept Rezept) {
  Aktueller = TProtokolllauf();
  // Runs of one rule system, a redraw after the other, hold its text once.
  for (auto i = Laeufe.rbegin(); i != Laeufe.rend() && !Aktueller.Regeltext; ++i)
    if (i->Regeltext && *i->Regeltext == Rezept.Regelsystem) Aktueller.Regeltext = i->Regeltext;
  if (!Aktueller.Regeltext) {
    Textgroesse += Rezept.Regelsystem.size();
    Aktueller.Regeltext = std::make_shared<const std::string>(std::move(Rezept.Regelsystem));
  }
  Rezept.Regelsystem.clear();
  Aktueller.Rezept = std::move(Rezept);
  Laufend = true;
}

void TLaufprotokoll::StartGesetzt(double X, double Y) {
  Aktueller.Rezept.StartX = X;
  Aktueller.Rezept.StartY = Y;
}

void TLaufprotokoll::Stoeren(const std::string& Grund) {
  if (Laufend && Aktueller.Hindernis.empty()) Aktueller.Hindernis = Grund;
}

void TLaufprotokoll::Beenden(uint64_t Zeichen, double Schrittweite) {
  if (!Laufend) return;
  Laufend = false;
  Aktueller.Zeichen = Zeichen;
  Aktueller.Rezept.Schrittweite = Schrittweite;
  if (Uebervoll) return;
  if (Laeufe.size() >= MaxLaeufe || Textgroesse > MaxRegeltext) {
    // Runs are dropped from here on; the earlier ones alone would be a wrong picture.
    Uebervoll = true;
    Laeufe.clear();
    return;
  }
  Laeufe.push_back(std::move(Aktueller));
}

void TLaufprotokoll::Leeren() {
  Laeufe.clear();
  Uebervoll = false;
  Textgroesse = Laufend && Aktueller.Regeltext ? Aktueller.Regeltext->size() : 0;
  Stoeren("„Löschen“ hat einen Lauf unterbrochen");
}

std::optional<TRezept> TLaufprotokoll::LetztesRezept() const {
  if (Laufend) return Aktueller.Vollstaendig();
  if (Laeufe.empty()) return std::nullopt;
  return Laeufe.back().Vollstaendig();
}

std::string TLaufprotokoll::Hindernis() const {
  if (Laufend) return "die Zeichnung ist noch nicht fertig";
  if (Uebervoll)
    return "seit dem letzten „Löschen“ wurden zu viele Läufe gezeichnet, um sie festzuhalten";
  for (const TProtokolllauf& L : Laeufe)
    if (!L.Hindernis.empty()) return L.Hindernis;
  return {};
}

bool Wiedergeben(const std::vector<TProtokolllauf>& Laeufe, TLeinwand& Leinwand,
                 const std::function<bool(double Anteil)>& Weiter, const TAnsicht* Ansicht) {
  const double Anzahl = static_cast<double>(Laeufe.size());
  bool Gestoppt = false;
  for (size_t i = 0; i < Laeufe.size() && !Gestoppt; ++i) {
    TRezept Rezept = Laeufe[i].Vollstaendig();
    TWiedergabe Wiedergabe;
    Wiedergabe.Zeichengrenze = Laeufe[i].Zeichen;
    if (Weiter)
      Wiedergabe.Weiter = [&](double Anteil) {
        Gestoppt = Gestoppt || !Weiter((static_cast<double>(i) + Anteil) / Anzahl);
        return !Gestoppt;
      };
    try {
      RezeptZeichnen(Rezept, Leinwand, false, false, {}, &Wiedergabe, Ansicht);
    } catch (const std::exception&) {
      // The run ended with this error when it was drawn: it ends here again.
    }
  }
  return !Gestoppt;
}
