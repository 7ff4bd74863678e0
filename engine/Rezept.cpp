#include "engine/Rezept.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "engine/Rezeptfelder.h"
#include "engine/Zeichenmaschine.h"
#include "rules/Regelstand.h"
#include "rules/Regelsystem.h"
#include "turtle/turtleUnit.h"

namespace {

constexpr const char* Kennung = "Rankenwerk-Rezept";
// Version 2 marks a recipe with a value that version 1 does not know.
constexpr int Version = 1;
constexpr int NeueVersion = 2;

[[noreturn]] void Ungueltig(const std::string& Grund) {
  throw std::runtime_error("Bild enthält kein gültiges Rezept: " + Grund);
}

// Shortest decimal form that reads back to the same double, with a point
// whatever the locale.
std::string Zahltext(double Wert) {
  char Puffer[32];
  const auto Ergebnis = std::to_chars(Puffer, Puffer + sizeof Puffer, Wert);
  return std::string(Puffer, Ergebnis.ptr);
}

const char Hexziffern[] = "0123456789ABCDEF";

// Printable ASCII stays; "%", the other bytes and a blank at the very end
// (which editors like to drop) become %XX.
std::string Kodieren(const std::string& Bytes) {
  std::string Text;
  Text.reserve(Bytes.size() + Bytes.size() / 4);
  for (size_t i = 0; i < Bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(Bytes[i]);
    const bool Blank = c == ' ' && i + 1 == Bytes.size();
    if (c >= ' ' && c <= '~' && c != '%' && !Blank) {
      Text += static_cast<char>(c);
    } else {
      Text += '%';
      Text += Hexziffern[c >> 4];
      Text += Hexziffern[c & 15];
    }
  }
  return Text;
}

int Hexwert(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A value for a message: cut when it is long, unprintable bytes as "?".
std::string Kurz(const std::string& Wert) {
  std::string Text = Wert.size() <= 40 ? Wert : Wert.substr(0, 40) + "...";
  for (char& c : Text)
    if (c < ' ' || c > '~') c = '?';
  return Text;
}

[[noreturn]] void FalscherWert(const std::string& Schluessel, const std::string& Wert) {
  Ungueltig("\"" + Schluessel + "\" hat den falschen Wert \"" + Kurz(Wert) + "\"");
}

// The keys and values of a recipe text, its first line checked.
class TFelder {
 public:
  explicit TFelder(const std::string& Text) {
    size_t Anfang = 0;
    bool Erste = true;
    while (Anfang < Text.size()) {
      size_t Ende = Text.find('\n', Anfang);
      if (Ende == std::string::npos) Ende = Text.size();
      std::string Zeile = Text.substr(Anfang, Ende - Anfang);
      Anfang = Ende + 1;
      if (!Zeile.empty() && Zeile.back() == '\r') Zeile.pop_back();
      if (Erste) {
        Kopf(Zeile);
        Erste = false;
        continue;
      }
      if (Zeile.empty()) continue;
      const size_t Doppelpunkt = Zeile.find(':');
      const std::string Schluessel = Zeile.substr(0, Doppelpunkt);
      if (Doppelpunkt == std::string::npos || Schluessel.empty() ||
          Schluessel.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                       "0123456789-") != std::string::npos)
        Ungueltig("Zeile ohne Schlüssel: \"" + Kurz(Zeile) + "\"");
      size_t Wertanfang = Doppelpunkt + 1;
      if (Wertanfang < Zeile.size() && Zeile[Wertanfang] == ' ') ++Wertanfang;
      if (!Werte.emplace(Schluessel, Zeile.substr(Wertanfang)).second)
        Ungueltig("\"" + Schluessel + "\" steht doppelt");
    }
    if (Erste) Ungueltig("der Text ist leer");
  }

  const std::string& Wert(const std::string& Schluessel) const {
    const auto i = Werte.find(Schluessel);
    if (i == Werte.end()) Ungueltig("\"" + Schluessel + "\" fehlt");
    return i->second;
  }

  double Zahl(const std::string& Schluessel) const {
    const std::string& W = Wert(Schluessel);
    double Ergebnis = 0;
    const auto [Ende, Fehler] = std::from_chars(W.data(), W.data() + W.size(), Ergebnis);
    if (W.empty() || Fehler != std::errc() || Ende != W.data() + W.size() ||
        !std::isfinite(Ergebnis))
      FalscherWert(Schluessel, W);
    return Ergebnis;
  }

  // A whole number in the recipe's own plain form, decimal or "0x" and hex digits.
  uint32_t Wort(const std::string& Schluessel, int Basis) const {
    const std::string& W = Wert(Schluessel);
    const bool Hex = Basis == 16;
    if (Hex && W.compare(0, 2, "0x") != 0) FalscherWert(Schluessel, W);
    const char* Anfang = W.data() + (Hex ? 2 : 0);
    const char* Ende = W.data() + W.size();
    uint32_t Ergebnis = 0;
    const auto [Zeiger, Fehler] = std::from_chars(Anfang, Ende, Ergebnis, Basis);
    if (Anfang == Ende || Fehler != std::errc() || Zeiger != Ende) FalscherWert(Schluessel, W);
    return Ergebnis;
  }

  // Four numbers as Zahl reads them, commas between.
  TRechteck Rechteck(const std::string& Schluessel) const {
    const std::string& W = Wert(Schluessel);
    double Werte[4];
    const char* p = W.data();
    const char* const Ende = W.data() + W.size();
    for (int i = 0; i < 4; ++i) {
      if (i > 0) {
        if (p == Ende || *p != ',') FalscherWert(Schluessel, W);
        ++p;
      }
      const auto [Weiter, Fehler] = std::from_chars(p, Ende, Werte[i]);
      if (Weiter == p || Fehler != std::errc() || !std::isfinite(Werte[i]))
        FalscherWert(Schluessel, W);
      p = Weiter;
    }
    if (p != Ende) FalscherWert(Schluessel, W);
    return {Werte[0], Werte[1], Werte[2], Werte[3]};
  }

  int32_t Ganzzahl(const std::string& Schluessel) const {
    const std::string& W = Wert(Schluessel);
    int32_t Ergebnis = 0;
    const auto [Zeiger, Fehler] = std::from_chars(W.data(), W.data() + W.size(), Ergebnis);
    if (W.empty() || Fehler != std::errc() || Zeiger != W.data() + W.size())
      FalscherWert(Schluessel, W);
    return Ergebnis;
  }

  bool Hat(const std::string& Schluessel) const { return Werte.count(Schluessel) > 0; }

  bool Wahrheit(const std::string& Schluessel) const {
    const std::string& W = Wert(Schluessel);
    if (W == "ja") return true;
    if (W == "nein") return false;
    FalscherWert(Schluessel, W);
  }

  std::string Bytes(const std::string& Schluessel) const {
    const std::string& W = Wert(Schluessel);
    std::string Ergebnis;
    Ergebnis.reserve(W.size());
    for (size_t i = 0; i < W.size(); ++i) {
      const char c = W[i];
      if (c == '%') {
        const bool Vollstaendig = i + 2 < W.size();
        const int Hoch = Vollstaendig ? Hexwert(W[i + 1]) : -1;
        const int Tief = Vollstaendig ? Hexwert(W[i + 2]) : -1;
        if (Hoch < 0 || Tief < 0)
          Ungueltig("\"" + Schluessel + "\" hat ein falsches %-Zeichen an Stelle " +
                    std::to_string(i + 1));
        Ergebnis += static_cast<char>(Hoch * 16 + Tief);
        i += 2;
      } else if (c >= ' ' && c <= '~') {
        Ergebnis += c;
      } else {
        Ungueltig("\"" + Schluessel + "\" hat ein unerlaubtes Zeichen an Stelle " +
                  std::to_string(i + 1));
      }
    }
    return Ergebnis;
  }

 private:
  static void Kopf(const std::string& Zeile) {
    const std::string Anfang = std::string(Kennung) + " ";
    if (Zeile.compare(0, Anfang.size(), Anfang) != 0)
      Ungueltig("die erste Zeile ist nicht \"" + Anfang + std::to_string(Version) + "\"");
    const std::string Nummer = Zeile.substr(Anfang.size());
    if (Nummer != std::to_string(Version) && Nummer != std::to_string(NeueVersion))
      Ungueltig("Version \"" + Kurz(Nummer) + "\" ist unbekannt (bekannt sind " +
                std::to_string(Version) + " und " + std::to_string(NeueVersion) + ")");
  }

  std::map<std::string, std::string> Werte;
};

}  // namespace

std::string RezeptAlsText(const TLauf& Lauf) {
  TLauf& R = const_cast<TLauf&>(Lauf);  // NOLINT(cppcoreguidelines-pro-type-const-cast): read only
  int Stufe = Version;
  std::string T;
  for (const TRezeptfeld& F : Rezeptfelder()) {
    // A picture of the whole surface has no view, as before views existed.
    if (F.Art == TFeldart::Rechteck && !F.Rechteck(R)) continue;
    // Pictures of the settings version 1 knows stay byte for byte as they were.
    if (F.Zweite) {
      if (Voreingestellt(F, R)) continue;
      Stufe = NeueVersion;
    }
    T += F.Schluessel;
    T += ": ";
    switch (F.Art) {
      case TFeldart::Ganzzahl:
        T += std::to_string(F.Ganz(R));
        break;
      case TFeldart::Zahl:
      case TFeldart::Prozent:
      case TFeldart::Schwund:
        T += Zahltext(F.Zahl(R));
        break;
      case TFeldart::Wahrheit:
        T += F.Wahr(R) ? "ja" : "nein";
        break;
      case TFeldart::Farbe: {
        char Farbe[16];
        std::snprintf(Farbe, sizeof Farbe, "0x%06X", static_cast<unsigned>(F.Wort(R)));
        T += Farbe;
        break;
      }
      case TFeldart::Zustand:
        T += std::to_string(F.Wort(R));
        break;
      case TFeldart::Wahl:
        T += F.Woerter[F.Index(R)];
        break;
      case TFeldart::Bytes:
        T += Kodieren(R.Regeln ? R.Regeln->Text() : std::string());
        break;
      case TFeldart::Rechteck: {
        const TRechteck& A = *F.Rechteck(R);
        T += Zahltext(A.X) + "," + Zahltext(A.Y) + "," + Zahltext(A.B) + "," + Zahltext(A.H);
        break;
      }
    }
    T += '\n';
  }
  return std::string(Kennung) + " " + std::to_string(Stufe) + "\n" + T;
}

TLauf RezeptAusText(const std::string& Text) {
  const TFelder Werte(Text);
  TLauf R;
  std::string Regeltext;
  for (const TRezeptfeld& F : Rezeptfelder()) {
    if (F.Neu && !Werte.Hat(F.Schluessel)) continue;
    switch (F.Art) {
      case TFeldart::Ganzzahl:
        F.Ganz(R) = Werte.Ganzzahl(F.Schluessel);
        break;
      case TFeldart::Zahl:
      case TFeldart::Prozent:
      case TFeldart::Schwund:
        F.Zahl(R) = Werte.Zahl(F.Schluessel);
        break;
      case TFeldart::Wahrheit:
        F.Wahr(R) = Werte.Wahrheit(F.Schluessel);
        break;
      case TFeldart::Farbe:
        F.Wort(R) = Werte.Wort(F.Schluessel, 16);
        break;
      case TFeldart::Zustand:
        F.Wort(R) = Werte.Wort(F.Schluessel, 10);
        break;
      case TFeldart::Bytes:
        Regeltext = Werte.Bytes(F.Schluessel);
        break;
      case TFeldart::Rechteck:
        F.Rechteck(R) = Werte.Rechteck(F.Schluessel);
        break;
      case TFeldart::Wahl: {
        const std::string& W = Werte.Wert(F.Schluessel);
        const std::optional<uint8_t> Index = WortIndex(F, W);
        if (!Index) FalscherWert(F.Schluessel, W);
        F.Index(R) = *Index;
        break;
      }
    }
  }
  // Each value as the field it fills would take it: nothing out of range gets in.
  try {
    RezeptPruefen(R);
  } catch (const EFeldfehler& E) {
    Ungueltig(E.what());
  }
  try {
    R.Regeln = TRegelstand::AusText(Regeltext);
  } catch (const std::exception& E) {
    Ungueltig(std::string("Regelsystem: ") + E.what());
  }
  return R;
}

void RegelsystemErfassen(TLauf& Lauf, const TRegelsystem& R) {
  Lauf.Regeln = TRegelstand::Aus(R);
  Lauf.WinkelPlus = R.WinkelPlus;
  Lauf.WinkelMinus = R.WinkelMinus;
}

void RegelsystemUebernehmen(const TLauf& Lauf, TRegelsystem& R) {
  R.InhaltLaden(Lauf.Regeln ? Lauf.Regeln->Text() : std::string());
  R.WinkelPlus = Lauf.WinkelPlus;
  R.WinkelMinus = Lauf.WinkelMinus;
}

namespace {

// What the run told: the fitted step and the centred start go into the run,
// which is handed on once, before anything is drawn: as soon as the run has
// computed what it is to compute. (Nothing stops a walk here, so the start is
// always computed.)
class TNachzeichner : public TLaufbeobachter {
 public:
  TNachzeichner(TLauf& Lauf, const TNachzeichnung& Wie)
      : Lauf(Lauf), Wie(Wie), SchrittFehlt(Wie.SchrittweiteAnpassen), StartFehlt(Wie.Zentrieren) {
    if (!SchrittFehlt && !StartFehlt) Melden();
  }

  void SchrittweiteGesetzt(double Schrittweite) override {
    Lauf.Schrittweite = Schrittweite;
    SchrittFehlt = false;
    if (!StartFehlt) Melden();
  }
  void StartGesetzt(double X, double Y) override {
    Lauf.StartX = X;
    Lauf.StartY = Y;
    StartFehlt = false;
    if (!SchrittFehlt) Melden();
  }
  void Fortschritt(double Wert) override { Anteil = Wert; }
  bool Weiter() override {
    Gestoppt = Gestoppt || (Wie.Weiter && !Wie.Weiter(Anteil));
    return !Gestoppt;
  }
  void Melden() {
    if (Gemeldet) return;
    Gemeldet = true;
    if (Wie.Bereit) Wie.Bereit(Lauf);
  }

  bool Gestoppt = false;

 private:
  TLauf& Lauf;
  const TNachzeichnung& Wie;
  double Anteil = 0;
  bool SchrittFehlt;
  bool StartFehlt;
  bool Gemeldet = false;
};

}  // namespace

bool LaufZeichnen(TLauf& Lauf, TLeinwand& Leinwand, const TNachzeichnung& Wie) {
  if (Wie.SchrittweiteAnpassen) Lauf.Einstellungen.SchrittweiteAnpassen = true;
  if (Wie.Zentrieren) Lauf.Einstellungen.Zentriert = true;
  // The run computes only what it is asked to; the rest is the run's already.
  TLauf Z = Lauf;
  Z.Einstellungen.SchrittweiteAnpassen = Wie.SchrittweiteAnpassen;
  Z.Einstellungen.Zentriert = Wie.Zentrieren;
  // A stopped step-by-step run counts its confirmed characters in its own string.
  Z.Einstellungen.Schrittmodus = Wie.Wiedergabe && Lauf.Einstellungen.Schrittmodus;

  TTurtle Turtle(Leinwand);
  TNachzeichner Beobachter(Lauf, Wie);
  TZeichenmaschine M(Turtle, Beobachter);
  TLaufart Art;
  Art.Zeichengrenze = Wie.Zeichengrenze;
  Art.Ansicht = Wie.Ansicht;
  Art.Vollstaendig = Wie.Vollstaendig;
  try {
    M.Zeichenlauf(Z, Art);
  } catch (...) {
    // A fitting that failed still leaves a picture, which carries its recipe.
    Beobachter.Melden();
    throw;
  }
  return !Beobachter.Gestoppt;
}
