// Plants: the walks with the random choice among rules or with colour levels.
#include "engine/Pflanzenlauf.h"

#include <algorithm>
#include <cmath>

#include "engine/Zeichenzahl.h"

const std::bitset<256>& TZeichenmaschine::Terminale() const {
  return (Art.Regelsystem ? *Art.Regelsystem : Lauf.Regeln->Regelsystem()).Terminalzeichen;
}

uint32_t Stufenfarbe(uint32_t A, uint32_t B, int64_t i, int64_t n) {
  if (n <= 1) return A;
  uint32_t Farbe = 0;
  for (int Kanal = 0; Kanal < 24; Kanal += 8) {
    const double a = (A >> Kanal) & 0xFF, b = (B >> Kanal) & 0xFF;
    const double Wert = a + (b - a) * static_cast<double>(i) / static_cast<double>(n - 1);
    Farbe |= static_cast<uint32_t>(std::nearbyint(Wert)) << Kanal;
  }
  return Farbe;
}

void TZeichenmaschine::PflanzeBeginnen(const std::string& s, int32_t Tiefe) {
  Pf.Wurzeltiefe = Tiefe;
  LetzteStufe = -1;
  const int32_t Farbtiefe = Lauf.Farbtiefe >= 0 ? Lauf.Farbtiefe : Tiefe;
  switch (Pf.Faerbung) {
    case TFaerbung::Einfarbig:
      Pf.Stufen = 1;
      break;
    case TFaerbung::Verzweigung:
      Pf.Stufen = TiefsteVerschachtelung(*Aktuelle, Farbtiefe, s,
                                         Pf.Wahl ? TRegelwahl::Zufaellig : TRegelwahl::ErsteRegel) +
                  1;
      break;
    case TFaerbung::Alter:
      Pf.Stufen = static_cast<int64_t>(std::max(Farbtiefe, 0)) + 1;
      break;
    case TFaerbung::Regel:
      Pf.Stufen = static_cast<int64_t>(Aktuelle->Ruempfe.size()) + 1;
      break;
  }
  Palette.clear();
  for (int64_t i = 0; i < std::min<int64_t>(Pf.Stufen, 1024); ++i)
    Palette.push_back(Stufenfarbe(Pf.Anfangsfarbe, Pf.Endfarbe, i, Pf.Stufen));
}

TZeichenmaschine::TZweig TZeichenmaschine::Wurzel() const {
  return {PfadAnfang(Pf.Saat), 0, -1, 0};
}

void TZeichenmaschine::Faerben(char c, int64_t Stufe) {
  if (Pf.Faerbung == TFaerbung::Einfarbig || (c != 'F' && c != '}')) return;
  int64_t Ebene = Pf.Faerbung == TFaerbung::Verzweigung ? Turtle.Gemerkt : Stufe;
  Ebene = std::clamp<int64_t>(Ebene, 0, Pf.Stufen - 1);
  if (Ebene == LetzteStufe) return;
  LetzteStufe = Ebene;
  Turtle.FarbeSetzen(Ebene < static_cast<int64_t>(Palette.size())
                         ? Palette[static_cast<size_t>(Ebene)]
                         : Stufenfarbe(Pf.Anfangsfarbe, Pf.Endfarbe, Ebene, Pf.Stufen));
}

// ---- at once

void TZeichenmaschine::PflanzeRek(const std::string& s, int32_t n) {
  TLaufrahmen Rahmen(*this);
  Tabelle();
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization): see above
  PflanzeBeginnen(Text, n);
  struct TSofort {
    TZeichenmaschine& M;
    bool Anfang(size_t Laenge) {
      M.BisZurUhr -= static_cast<int32_t>(Laenge >> 4);
      if (M.Turtle.Canvas.Aufwand() - M.GesehenerAufwand >= LinienProEinheit) M.AufwandAnrechnen();
      M.NachrichtenVerarbeiten();
      return !M.Abbruch;
    }
    bool Springen(unsigned char, int32_t, bool) { return false; }
    bool Blatt(char c, int64_t Stufe, bool Zufaellig) {
      return M.PflanzenZeichen(c, Stufe, Zufaellig, [this](char d, bool Z) { M.Handeln(d, Z); });
    }
  } Sofort{*this};
  Wachsen(Sofort, Text.data(), Text.size(), n, Wurzel());
}

// ---- step by step

void TZeichenmaschine::PflanzeSchritte(const std::string& s, int32_t n, bool NurTerminale) {
  TLaufrahmen Rahmen(*this);
  Tabelle();
  const std::string Text = s;  // NOLINT(performance-unnecessary-copy-initialization): see above
  PflanzeBeginnen(Text, n);
  Gestoppt = false;
  struct TSchritte {
    TZeichenmaschine& M;
    bool NurTerminale;
    size_t Stelle = 0;
    bool Anfang(size_t) { return !M.Gestoppt; }
    bool Springen(unsigned char, int32_t, bool) { return false; }
    bool Blatt(char c, int64_t Stufe, bool Zufaellig) {
      if (NurTerminale && !M.Terminale()[static_cast<unsigned char>(c)]) return true;
      // A replay ends where the run it repeats was stopped, without walking the rest.
      bool Weiter = !M.Gestoppt && M.Ausgefuehrt_ < M.Art.Zeichengrenze;
      if (Weiter) {
        M.Turtle.Canvas.Ausgeben();
        Weiter = M.Beobachter.WeiterFragen();
        M.Tabelle();  // the prompt ran messages
      }
      if (!Weiter) {
        M.Beobachter.SchrittmodusEndet();
        M.Gestoppt = true;
        return false;
      }
      M.Beobachter.ZeichenZeigen(c, NurTerminale ? Stelle++ : TLaufbeobachter::KeinePosition);
      M.Faerben(c, Stufe);
      M.ZeichenAusfuehren(c, Zufaellig);
      return true;
    }
  } Schritte{*this, NurTerminale};
  Wachsen(Schritte, Text.data(), Text.size(), n, Wurzel());
  if (!Gestoppt) Turtle.Canvas.Ausgeben();
}
