#include "engine/Laufprotokoll.h"

#include <exception>

void TLaufprotokoll::Beginnen(TLauf Lauf) {
  Aktueller = TProtokolllauf();
  // Runs of one rule system, a redraw after the other, hold its rules once.
  const std::string Text = Lauf.Regeln ? Lauf.Regeln->Text() : std::string();
  bool Geteilt = false;
  for (auto i = Laeufe.rbegin(); i != Laeufe.rend() && !Geteilt; ++i)
    if (i->Lauf.Regeln && i->Lauf.Regeln->Text() == Text &&
        (!Lauf.Regeln || i->Lauf.Regeln->GleicheRegeln(*Lauf.Regeln))) {
      Lauf.Regeln = i->Lauf.Regeln;
      Geteilt = true;
    }
  if (!Geteilt) Textgroesse += Text.size();
  Aktueller.Lauf = std::move(Lauf);
  Laufend = true;
}

void TLaufprotokoll::StartGesetzt(double X, double Y) {
  Aktueller.Lauf.StartX = X;
  Aktueller.Lauf.StartY = Y;
}

void TLaufprotokoll::Stoeren(const std::string& Grund) {
  if (Laufend && Aktueller.Hindernis.empty()) Aktueller.Hindernis = Grund;
}

void TLaufprotokoll::Beenden(uint64_t Zeichen, double Schrittweite) {
  if (!Laufend) return;
  Laufend = false;
  Aktueller.Zeichen = Zeichen;
  Aktueller.Lauf.Schrittweite = Schrittweite;
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
  Textgroesse = Laufend && Aktueller.Lauf.Regeln ? Aktueller.Lauf.Regeln->Text().size() : 0;
  Stoeren("„Löschen“ hat einen Lauf unterbrochen");
}

std::optional<TLauf> TLaufprotokoll::LetzterLauf() const {
  if (Laufend) return Aktueller.Lauf;
  if (Laeufe.empty()) return std::nullopt;
  return Laeufe.back().Lauf;
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
                 const std::function<bool(double Anteil)>& Weiter,
                 const std::optional<TAnsicht>& Ansicht) {
  const double Anzahl = static_cast<double>(Laeufe.size());
  bool Gestoppt = false;
  for (size_t i = 0; i < Laeufe.size() && !Gestoppt; ++i) {
    TLauf Lauf = Laeufe[i].Lauf;
    TNachzeichnung Wie;
    Wie.Wiedergabe = true;
    Wie.Zeichengrenze = Laeufe[i].Zeichen;
    Wie.Ansicht = Ansicht;
    if (Weiter)
      Wie.Weiter = [&](double Anteil) {
        Gestoppt = Gestoppt || !Weiter((static_cast<double>(i) + Anteil) / Anzahl);
        return !Gestoppt;
      };
    try {
      LaufZeichnen(Lauf, Leinwand, Wie);
    } catch (const std::exception&) {
      // The run ended with this error when it was drawn: it ends here again.
    }
  }
  return !Gestoppt;
}
