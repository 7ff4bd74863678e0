#include "engine/Rezeptfelder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

#include "helpers/Gleitkomma.h"
#include "helpers/Hilfen.h"

namespace {

constexpr int GroessteSeite = 10000;
// A centred start lies wherever the drawing needs it, but not in the far distance.
constexpr double GroessterZentrierterStart = 1e9;
// The smallest factor the shrink field lets through (99 percent).
const double KleinsterSchwundfaktor = 1 - 99.0 / 100;

std::string Bereich(const std::string& Anfang, const std::string& Von, const std::string& Bis) {
  return Anfang + "außerhalb des zulässigen Bereichs von " + Von + " bis " + Bis;
}

std::string Start(const char* Achse, double Grenze, bool Zentriert) {
  const std::string Anfang = std::string(Achse) + " hat falsches Format oder\r\n";
  if (Zentriert) return Bereich(Anfang, "-1000000000", "1000000000");
  return Bereich(Anfang, "0", std::to_string(static_cast<int64_t>(Grenze)));
}

bool StartGilt(double Wert, double Grenze, bool Zentriert) {
  if (Zentriert) return std::fabs(Wert) <= GroessterZentrierterStart;
  return Wert >= 0 && Wert <= Grenze;
}

// The largest step the fitting gives on this surface: its extent at least 0.01.
double GroessteAngepassteSchrittweite(const TRezept& R) {
  return Gk(GkTeilen(Minimum(R.Breite, R.Hoehe), 0.01) * 0.6);
}

double SchrittGrenze(const TRezept& R) {
  return R.SchrittweiteAnpassen ? GroessteAngepassteSchrittweite(R) : 1000.0;
}

bool Endlich(double Wert, const TRezept&) { return std::isfinite(Wert); }

// The scale of a view from a quarter to a million; its height as the surface's sides give it.
constexpr double KleinsterMassstab = 0.25;
constexpr double GroessterMassstab = 1e6;
constexpr double HoehenToleranz = 0.001;

std::string Kurzzahl(double Wert) {
  char Puffer[32];
  const auto Ende =
      std::to_chars(Puffer, Puffer + sizeof Puffer, Wert, std::chars_format::general, 6);
  return std::string(Puffer, Ende.ptr);
}

// Why the recipe's view cannot be drawn on its surface; empty when it can.
std::string AusschnittFehler(const TRezept& R) {
  if (!R.Ausschnitt) return {};
  const TRechteck& A = *R.Ausschnitt;
  if (!(A.B > 0)) return "Ausschnittsbreite muss größer als 0 sein";
  const double Massstab = R.Breite / A.B;
  if (!(Massstab >= KleinsterMassstab && Massstab <= GroessterMassstab))
    return Bereich("Maßstab des Ausschnitts (Breite/B) ", "0.25", "1000000");
  const double Soll = A.B * R.Hoehe / R.Breite;
  if (!(std::fabs(A.H - Soll) <= Soll * HoehenToleranz))
    return "Ausschnittshöhe passt nicht zur Fläche: " + Kurzzahl(Soll) +
           " (B * Höhe / Breite) erwartet";
  return {};
}

const TRezeptfeld Felder[] = {
    {.Schluessel = "Tiefe",
     .Option = "--tiefe",
     .Hilfe = "N|Entwicklungstiefe 0 bis 30 (2)",
     .Art = TFeldart::Ganzzahl,
     .Ganz = &TRezept::Tiefe,
     .Gilt = [](double W, const TRezept&) { return W >= 0 && W <= MaxTiefe; },
     .Meldung =
         [](const TRezept&) {
           return "Tiefe außerhalb des zulässigen Bereichs von 0 bis " + std::to_string(MaxTiefe);
         },
     .Verschiebt = true,
     .Anpassen = true},
    {.Schluessel = "StartX",
     .Option = "--x",
     .Hilfe = "X|Startposition x (Breite div 2)",
     .Zahl = &TRezept::StartX,
     .Gilt = [](double W, const TRezept& R) { return StartGilt(W, R.Breite, R.Zentriert); },
     .Meldung = [](const TRezept& R) { return Start("x", R.Breite, R.Zentriert); },
     .Verschiebt = true},
    {.Schluessel = "StartY",
     .Option = "--y",
     .Hilfe = "Y|Startposition y (Höhe)",
     .Zahl = &TRezept::StartY,
     .Gilt = [](double W, const TRezept& R) { return StartGilt(W, R.Hoehe, R.Zentriert); },
     .Meldung = [](const TRezept& R) { return Start("y", R.Hoehe, R.Zentriert); },
     .Verschiebt = true},
    {.Schluessel = "Startwinkel",
     .Option = "--winkel",
     .Hilfe = "W|Startwinkel, 90 zeigt nach oben (90)",
     .Zahl = &TRezept::Startwinkel,
     .Gilt = Endlich,
     .Meldung = [](const TRezept&) { return std::string("Winkel hat falsches Format "); },
     .Verschiebt = true},
    {.Schluessel = "Zentriert",
     .Art = TFeldart::Wahrheit,
     .Wahr = &TRezept::Zentriert,
     .Neu = true},
    {.Schluessel = "Schrittweite",
     .Option = "--schrittweite",
     .Hilfe = "S|feste Schrittweite; sonst an die Fläche angepasst",
     .Zahl = &TRezept::Schrittweite,
     .Gilt = [](double W, const TRezept& R) { return W > 0 && W <= SchrittGrenze(R); },
     .Meldung =
         [](const TRezept& R) {
           return "Schrittweite falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 "
                  "bis " +
                  KommazahlAlsText(2, SchrittGrenze(R));
         },
     .Verschiebt = true},
    {.Schluessel = "SchrittweiteAnpassen",
     .Art = TFeldart::Wahrheit,
     .Wahr = &TRezept::SchrittweiteAnpassen},
    {.Schluessel = "Schrittmodus", .Art = TFeldart::Wahrheit, .Wahr = &TRezept::Schrittmodus},
    {.Schluessel = "Zufallsmodus",
     .Art = TFeldart::Wahrheit,
     .Wahr = &TRezept::Zufallsmodus,
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "Anfangsdicke",
     .Option = "--dicke",
     .Hilfe = "D|Anfangsdicke der Linien (1)",
     .Zahl = &TRezept::Anfangsdicke,
     .Gilt = Endlich,
     .Meldung = [](const TRezept&) { return std::string("Liniendicke hat falsches Format."); }},
    {.Schluessel = "Schwundfaktor",
     .Option = "--schwund",
     .Hilfe = "P|Schwund der Dicke pro Stufe in % (0)",
     .Art = TFeldart::Schwund,
     .Zahl = &TRezept::Schwundfaktor,
     .Gilt = [](double W, const TRezept&) { return W >= KleinsterSchwundfaktor; },
     .Meldung = [](const TRezept&) { return std::string("Schwund hat falsches Format "); },
     .ImLauf = true},
    {.Schluessel = "AbweichungSchritt",
     .Option = "--abweichung-schritt",
     .Hilfe = "P|Zufallsabweichung der Schritte in % (30)",
     .Art = TFeldart::Prozent,
     .Zahl = &TRezept::AbweichungSchritt,
     .Gilt = Endlich,
     .Meldung =
         [](const TRezept&) { return std::string("\"Abweichung Schritt\" hat falsches Format "); },
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "AbweichungPlus",
     .Option = "--abweichung-plus",
     .Hilfe = "P|Zufallsabweichung der Drehungen + in % (30)",
     .Art = TFeldart::Prozent,
     .Zahl = &TRezept::AbweichungPlus,
     .Gilt = Endlich,
     .Meldung = [](const TRezept&) { return std::string("\"Abweichung +\" hat falsches Format "); },
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "AbweichungMinus",
     .Option = "--abweichung-minus",
     .Hilfe = "P|Zufallsabweichung der Drehungen - in % (30)",
     .Art = TFeldart::Prozent,
     .Zahl = &TRezept::AbweichungMinus,
     .Gilt = Endlich,
     .Meldung = [](const TRezept&) { return std::string("\"Abweichung -\" hat falsches Format "); },
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "Zeichenfarbe",
     .Option = "--farbe",
     .Hilfe = "RRGGBB|Zeichenfarbe (008000)",
     .Art = TFeldart::Farbe,
     .Wort = &TRezept::Zeichenfarbe,
     .Gilt = [](double W, const TRezept&) { return W >= 0 && W <= 0xFFFFFF; },
     .Meldung =
         [](const TRezept&) { return std::string("Farbe hat falsches Format (RRGGBB erwartet)"); }},
    {.Schluessel = "Zufallszustand",
     .Option = "--saat",
     .Hilfe = "N|Startwert des Zufallsgenerators, 0 bis 4294967295 (0)",
     .Art = TFeldart::Zustand,
     .Wort = &TRezept::Saat,
     .Meldung =
         [](const TRezept&) {
           return std::string("Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295");
         },
     .Verschiebt = true},
    {.Schluessel = "Breite",
     .Option = "--breite",
     .Hilfe = "B|Breite der Fläche (1000)",
     .Art = TFeldart::Ganzzahl,
     .Ganz = &TRezept::Breite,
     .Gilt = [](double W, const TRezept&) { return W >= 1 && W <= GroessteSeite; },
     .Meldung =
         [](const TRezept&) { return Bereich("Breite ", "1", std::to_string(GroessteSeite)); },
     .Verschiebt = true,
     .Anpassen = true},
    {.Schluessel = "Hoehe",
     .Option = "--hoehe",
     .Hilfe = "H|Höhe der Fläche (680)",
     .Art = TFeldart::Ganzzahl,
     .Ganz = &TRezept::Hoehe,
     .Gilt = [](double W, const TRezept&) { return W >= 1 && W <= GroessteSeite; },
     .Meldung = [](const TRezept&) { return Bereich("Höhe ", "1", std::to_string(GroessteSeite)); },
     .Verschiebt = true,
     .Anpassen = true},
    {.Schluessel = "Ausschnitt",
     .Option = "--ausschnitt",
     .Hilfe = "X,Y,B,H|nur dieses Rechteck der Fläche, auf Breite x Höhe skaliert",
     .Art = TFeldart::Rechteck,
     .Rechteck = &TRezept::Ausschnitt,
     .Gilt = [](double, const TRezept& R) { return AusschnittFehler(R).empty(); },
     .Meldung =
         [](const TRezept& R) {
           const std::string Fehler = AusschnittFehler(R);
           return Fehler.empty() ? std::string("Ausschnitt hat falsches Format (X,Y,B,H erwartet)")
                                 : Fehler;
         },
     .Neu = true},
    {.Schluessel = "WinkelPlus",
     .Zahl = &TRezept::WinkelPlus,
     .Gilt = Endlich,
     .Meldung =
         [](const TRezept&) { return std::string("Winkel für \"+\" hat falsches Format."); }},
    {.Schluessel = "WinkelMinus",
     .Zahl = &TRezept::WinkelMinus,
     .Gilt = Endlich,
     .Meldung =
         [](const TRezept&) { return std::string("Winkel für \"-\" hat falsches Format."); }},
    {.Schluessel = "Regelsystem", .Art = TFeldart::Bytes, .Text = &TRezept::Regelsystem},
};

// The value as the check sees it.
double Wert(const TRezeptfeld& F, const TRezept& R) {
  if (F.Ganz) return R.*F.Ganz;
  if (F.Zahl) return R.*F.Zahl;
  if (F.Wort) return R.*F.Wort;
  if (F.Wahr) return R.*F.Wahr ? 1 : 0;
  return 0;
}

void Pruefen(const TRezeptfeld& F, const TRezept& R) {
  if (F.Gilt && !F.Gilt(Wert(F, R), R)) throw EFeldfehler(F.Meldung(R));
}

[[noreturn]] void Falsch(const TRezeptfeld& F, const TRezept& R) {
  if (!F.Meldung)
    throw EFeldfehler(std::string(F.Option ? F.Option : F.Schluessel) +
                      " erwartet „ja“ oder „nein“");
  throw EFeldfehler(F.Meldung(R));
}

double Kommazahl(const TRezeptfeld& F, const TRezept& R, const std::string& Text) {
  if (!IstKommazahl(Text)) Falsch(F, R);
  return TextAlsKommazahl(Text);
}

uint32_t Farbwert(const TRezeptfeld& F, const TRezept& R, const std::string& Text) {
  const std::string T = Text.rfind('#', 0) == 0 ? Text.substr(1) : Text;
  if (T.size() != 6 || T.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    Falsch(F, R);
  const auto Rgb = static_cast<uint32_t>(std::stoul(T, nullptr, 16));
  return ((Rgb >> 16) & 0xFF) | (Rgb & 0xFF00) | ((Rgb & 0xFF) << 16);
}

// Four numbers with a decimal point, the commas between them.
TRechteck Rechteckwert(const TRezeptfeld& F, const TRezept& R, const std::string& Text) {
  double Werte[4];
  size_t Anfang = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t Komma = i < 3 ? Text.find(',', Anfang) : Text.size();
    if (Komma == std::string::npos) Falsch(F, R);
    const std::string Teil = Text.substr(Anfang, Komma - Anfang);
    if (Teil.find(',') != std::string::npos || !IstKommazahl(Teil)) Falsch(F, R);
    Werte[i] = TextAlsKommazahl(Teil);
    Anfang = Komma + 1;
  }
  return {Werte[0], Werte[1], Werte[2], Werte[3]};
}

uint32_t Zustand(const TRezeptfeld& F, const TRezept& R, const std::string& Text) {
  if (Text.empty() || Text.size() > 10 || Text.find_first_not_of("0123456789") != std::string::npos)
    Falsch(F, R);
  const unsigned long long Wert = std::stoull(Text);
  if (Wert > 0xFFFFFFFFull) Falsch(F, R);
  return static_cast<uint32_t>(Wert);
}

}  // namespace

std::span<const TRezeptfeld> Rezeptfelder() { return Felder; }

const TRezeptfeld* FeldZuSchluessel(const std::string& Schluessel) {
  for (const TRezeptfeld& F : Felder)
    if (Schluessel == F.Schluessel) return &F;
  return nullptr;
}

const TRezeptfeld* FeldZuOption(const std::string& Option) {
  for (const TRezeptfeld& F : Felder)
    if (F.Option && Option == F.Option) return &F;
  return nullptr;
}

void FeldEingeben(const TRezeptfeld& F, TRezept& R, const std::string& Text) {
  TRezept Neu = R;
  switch (F.Art) {
    case TFeldart::Ganzzahl:
      if (!IstGanzzahl(Text)) Falsch(F, R);
      Neu.*F.Ganz = GanzzahlWert(Text);
      break;
    case TFeldart::Zahl:
      Neu.*F.Zahl = Kommazahl(F, R, Text);
      break;
    case TFeldart::Prozent:
      Neu.*F.Zahl = Kommazahl(F, R, Text) / 100;
      break;
    case TFeldart::Schwund:
      Neu.*F.Zahl = 1 - Kommazahl(F, R, Text) / 100;
      break;
    case TFeldart::Farbe:
      Neu.*F.Wort = Farbwert(F, R, Text);
      break;
    case TFeldart::Zustand:
      Neu.*F.Wort = Zustand(F, R, Text);
      break;
    case TFeldart::Rechteck:
      Neu.*F.Rechteck = Rechteckwert(F, R, Text);
      break;
    case TFeldart::Wahrheit:
      // A setting that is on or off: "ja" or "nein", as in the recipe.
      if (Text != "ja" && Text != "nein") Falsch(F, R);
      Neu.*F.Wahr = Text == "ja";
      break;
    case TFeldart::Bytes:
      Falsch(F, R);
  }
  Pruefen(F, Neu);
  R = std::move(Neu);
}

void RezeptPruefen(const TRezept& R) {
  // The surface first: the bounds of start and step depend on it.
  for (const TRezeptfeld& F : Felder)
    if (F.Ganz == &TRezept::Breite || F.Ganz == &TRezept::Hoehe) Pruefen(F, R);
  for (const TRezeptfeld& F : Felder) Pruefen(F, R);
}

bool ImLaufGleich(const TEinstellungen& A, const TEinstellungen& B) {
  TRezept RA, RB;
  static_cast<TEinstellungen&>(RA) = A;
  static_cast<TEinstellungen&>(RB) = B;
  for (const TRezeptfeld& F : Felder) {
    if (!F.ImLauf) continue;
    const double WA = Wert(F, RA), WB = Wert(F, RB);
    if (std::bit_cast<uint64_t>(WA) != std::bit_cast<uint64_t>(WB)) return false;
  }
  return true;
}
