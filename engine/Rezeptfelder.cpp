#include "engine/Rezeptfelder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

#include "helpers/Gleitkomma.h"
#include "helpers/Hilfen.h"

namespace {

// Where a field's value lives: a member of the run, or of its settings.
template <auto Glied>
auto& Im(TLauf& L) {
  return L.*Glied;
}
template <auto Glied>
auto& Eingestellt(TLauf& L) {
  return L.Einstellungen.*Glied;
}

// A choice among words, held in the settings as an enum of one byte.
template <auto Glied>
uint8_t& Gewaehlt(TLauf& L) {
  static_assert(sizeof(L.Einstellungen.*Glied) == 1);
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): an enum of one byte
  return reinterpret_cast<uint8_t&>(L.Einstellungen.*Glied);
}

constexpr const char* RegelwahlWoerter[] = {"erste", "zufall"};
constexpr const char* FaerbungWoerter[] = {"einfarbig", "verzweigung", "alter", "regel"};
constexpr const char* ZeichensatzWoerter[] = {"klassisch", "blaetter"};

bool FarbeGilt(double W, const TLauf&) { return W >= 0 && W <= 0xFFFFFF; }

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
double GroessteAngepassteSchrittweite(const TLauf& R) {
  return Gk(GkTeilen(Minimum(R.Breite, R.Hoehe), 0.01) * 0.6);
}

double SchrittGrenze(const TLauf& R) {
  return R.Einstellungen.SchrittweiteAnpassen ? GroessteAngepassteSchrittweite(R) : 1000.0;
}

bool Endlich(double Wert, const TLauf&) { return std::isfinite(Wert); }

// The scale of a view from a quarter to a million; its height as the surface's sides give it.
constexpr double HoehenToleranz = 0.001;

std::string Kurzzahl(double Wert) {
  char Puffer[32];
  const auto Ende =
      std::to_chars(Puffer, Puffer + sizeof Puffer, Wert, std::chars_format::general, 6);
  return std::string(Puffer, Ende.ptr);
}

// Why the recipe's view cannot be drawn on its surface; empty when it can.
std::string AusschnittFehler(const TLauf& R) {
  if (!R.Ausschnitt) return {};
  const TRechteck& A = *R.Ausschnitt;
  for (const auto& [Wert, Achse] : {std::pair{A.X, "X"}, std::pair{A.Y, "Y"}})
    if (!(std::fabs(Wert) <= GroessteAnsichtsentfernung))
      return Bereich(std::string(Achse) + " des Ausschnitts ", "-1000000000", "1000000000");
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
     .Ganz = Im<&TLauf::Tiefe>,
     .Gilt = [](double W, const TLauf&) { return W >= 0 && W <= MaxTiefe; },
     .Meldung =
         [](const TLauf&) {
           return "Tiefe außerhalb des zulässigen Bereichs von 0 bis " + std::to_string(MaxTiefe);
         },
     .Verschiebt = true,
     .Anpassen = true},
    {.Schluessel = "StartX",
     .Option = "--x",
     .Hilfe = "X|Startposition x (Breite div 2)",
     .Zahl = Im<&TLauf::StartX>,
     .Gilt = [](double W,
                const TLauf& R) { return StartGilt(W, R.Breite, R.Einstellungen.Zentriert); },
     .Meldung = [](const TLauf& R) { return Start("x", R.Breite, R.Einstellungen.Zentriert); },
     .Verschiebt = true},
    {.Schluessel = "StartY",
     .Option = "--y",
     .Hilfe = "Y|Startposition y (Höhe)",
     .Zahl = Im<&TLauf::StartY>,
     .Gilt = [](double W,
                const TLauf& R) { return StartGilt(W, R.Hoehe, R.Einstellungen.Zentriert); },
     .Meldung = [](const TLauf& R) { return Start("y", R.Hoehe, R.Einstellungen.Zentriert); },
     .Verschiebt = true},
    {.Schluessel = "Startwinkel",
     .Option = "--winkel",
     .Hilfe = "W|Startwinkel, 90 zeigt nach oben (90)",
     .Zahl = Im<&TLauf::Startwinkel>,
     .Gilt = Endlich,
     .Meldung = [](const TLauf&) { return std::string("Winkel hat falsches Format "); },
     .Verschiebt = true},
    {.Schluessel = "Zentriert",
     .Art = TFeldart::Wahrheit,
     .Wahr = Eingestellt<&TEinstellungen::Zentriert>,
     .Neu = true},
    {.Schluessel = "Schrittweite",
     .Option = "--schrittweite",
     .Hilfe = "S|feste Schrittweite; sonst an die Fläche angepasst",
     .Zahl = Im<&TLauf::Schrittweite>,
     .Gilt = [](double W, const TLauf& R) { return W > 0 && W <= SchrittGrenze(R); },
     .Meldung =
         [](const TLauf& R) {
           return "Schrittweite falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 "
                  "bis " +
                  KommazahlAlsText(2, SchrittGrenze(R));
         },
     .Verschiebt = true},
    {.Schluessel = "SchrittweiteAnpassen",
     .Art = TFeldart::Wahrheit,
     .Wahr = Eingestellt<&TEinstellungen::SchrittweiteAnpassen>,
     .ImLauf = true},
    {.Schluessel = "Schrittmodus",
     .Art = TFeldart::Wahrheit,
     .Wahr = Eingestellt<&TEinstellungen::Schrittmodus>,
     .ImLauf = true},
    {.Schluessel = "Zufallsmodus",
     .Art = TFeldart::Wahrheit,
     .Wahr = Eingestellt<&TEinstellungen::Zufallsmodus>,
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "Anfangsdicke",
     .Option = "--dicke",
     .Hilfe = "D|Anfangsdicke der Linien (1)",
     .Zahl = Eingestellt<&TEinstellungen::Anfangsdicke>,
     .Gilt = Endlich,
     .Meldung = [](const TLauf&) { return std::string("Liniendicke hat falsches Format."); },
     .ImLauf = true},
    {.Schluessel = "Schwundfaktor",
     .Option = "--schwund",
     .Hilfe = "P|Schwund der Dicke pro Stufe in % (0)",
     .Art = TFeldart::Schwund,
     .Zahl = Eingestellt<&TEinstellungen::Schwundfaktor>,
     .Gilt = [](double W, const TLauf&) { return W >= KleinsterSchwundfaktor; },
     .Meldung = [](const TLauf&) { return std::string("Schwund hat falsches Format "); },
     .ImLauf = true},
    {.Schluessel = "AbweichungSchritt",
     .Option = "--abweichung-schritt",
     .Hilfe = "P|Zufallsabweichung der Schritte in % (30)",
     .Art = TFeldart::Prozent,
     .Zahl = Eingestellt<&TEinstellungen::AbweichungSchritt>,
     .Gilt = Endlich,
     .Meldung =
         [](const TLauf&) { return std::string("\"Abweichung Schritt\" hat falsches Format "); },
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "AbweichungPlus",
     .Option = "--abweichung-plus",
     .Hilfe = "P|Zufallsabweichung der Drehungen + in % (30)",
     .Art = TFeldart::Prozent,
     .Zahl = Eingestellt<&TEinstellungen::AbweichungPlus>,
     .Gilt = Endlich,
     .Meldung = [](const TLauf&) { return std::string("\"Abweichung +\" hat falsches Format "); },
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "AbweichungMinus",
     .Option = "--abweichung-minus",
     .Hilfe = "P|Zufallsabweichung der Drehungen - in % (30)",
     .Art = TFeldart::Prozent,
     .Zahl = Eingestellt<&TEinstellungen::AbweichungMinus>,
     .Gilt = Endlich,
     .Meldung = [](const TLauf&) { return std::string("\"Abweichung -\" hat falsches Format "); },
     .ImLauf = true,
     .Verschiebt = true},
    {.Schluessel = "Zeichenfarbe",
     .Option = "--farbe",
     .Hilfe = "RRGGBB|Zeichenfarbe (008000)",
     .Art = TFeldart::Farbe,
     .Wort = Eingestellt<&TEinstellungen::Zeichenfarbe>,
     .Gilt = FarbeGilt,
     .Meldung =
         [](const TLauf&) { return std::string("Farbe hat falsches Format (RRGGBB erwartet)"); },
     .ImLauf = true},
    {.Schluessel = "Regelwahl",
     .Option = "--regelwahl",
     .Hilfe =
         "erste|zufall|bei mehreren Regeln eines Zeichens die erste oder eine zufällige (erste)",
     .Art = TFeldart::Wahl,
     .Index = Gewaehlt<&TEinstellungen::Regelwahl>,
     .Woerter = RegelwahlWoerter,
     .Meldung =
         [](const TLauf&) { return std::string("Regelwahl erwartet „erste“ oder „zufall“"); },
     .Neu = true,
     .Zweite = true,
     .Verschiebt = true},
    {.Schluessel = "Faerbung",
     .Option = "--faerbung",
     .Hilfe = "einfarbig|verzweigung|alter|regel|Färbung der Linien von Zeichenfarbe bis Endfarbe "
              "(einfarbig)",
     .Art = TFeldart::Wahl,
     .Index = Gewaehlt<&TEinstellungen::Faerbung>,
     .Woerter = FaerbungWoerter,
     .Meldung =
         [](const TLauf&) {
           return std::string("Färbung erwartet „einfarbig“, „verzweigung“, „alter“ oder „regel“");
         },
     .Neu = true,
     .Zweite = true},
    {.Schluessel = "Endfarbe",
     .Option = "--endfarbe",
     .Hilfe = "RRGGBB|Farbe der letzten Stufe einer Färbung (90EE90)",
     .Art = TFeldart::Farbe,
     .Wort = Eingestellt<&TEinstellungen::Endfarbe>,
     .Gilt = FarbeGilt,
     .Meldung =
         [](const TLauf&) { return std::string("Endfarbe hat falsches Format (RRGGBB erwartet)"); },
     .Neu = true,
     .Zweite = true},
    {.Schluessel = "Hintergrund",
     .Option = "--hintergrund",
     .Hilfe = "RRGGBB|Hintergrundfarbe der Fläche (FFFFFF)",
     .Art = TFeldart::Farbe,
     .Wort = Eingestellt<&TEinstellungen::Hintergrund>,
     .Gilt = FarbeGilt,
     .Meldung =
         [](const TLauf&) {
           return std::string("Hintergrund hat falsches Format (RRGGBB erwartet)");
         },
     .Neu = true,
     .Zweite = true},
    {.Schluessel = "Zeichensatz",
     .Option = "--zeichensatz",
     .Hilfe = "klassisch|blaetter|mit „blaetter“ füllen { und } Blätter, der senkrechte Strich "
              "kehrt um (klassisch)",
     .Art = TFeldart::Wahl,
     .Index = Gewaehlt<&TEinstellungen::Zeichensatz>,
     .Woerter = ZeichensatzWoerter,
     .Meldung =
         [](const TLauf&) {
           return std::string("Zeichensatz erwartet „klassisch“ oder „blaetter“");
         },
     .Neu = true,
     .Zweite = true,
     .Verschiebt = true},
    {.Schluessel = "Zufallszustand",
     .Option = "--saat",
     .Hilfe = "N|Startwert des Zufallsgenerators, 0 bis 4294967295 (0)",
     .Art = TFeldart::Zustand,
     .Wort = Eingestellt<&TEinstellungen::Saat>,
     .Meldung =
         [](const TLauf&) {
           return std::string("Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295");
         },
     .Verschiebt = true},
    {.Schluessel = "Breite",
     .Option = "--breite",
     .Hilfe = "B|Breite der Fläche (1000)",
     .Art = TFeldart::Ganzzahl,
     .Ganz = Im<&TLauf::Breite>,
     .Gilt = [](double W, const TLauf&) { return W >= 1 && W <= GroessteSeite; },
     .Meldung = [](const TLauf&) { return Bereich("Breite ", "1", std::to_string(GroessteSeite)); },
     .Verschiebt = true,
     .Anpassen = true,
     .Seite = true},
    {.Schluessel = "Hoehe",
     .Option = "--hoehe",
     .Hilfe = "H|Höhe der Fläche (680)",
     .Art = TFeldart::Ganzzahl,
     .Ganz = Im<&TLauf::Hoehe>,
     .Gilt = [](double W, const TLauf&) { return W >= 1 && W <= GroessteSeite; },
     .Meldung = [](const TLauf&) { return Bereich("Höhe ", "1", std::to_string(GroessteSeite)); },
     .Verschiebt = true,
     .Anpassen = true,
     .Seite = true},
    {.Schluessel = "Ausschnitt",
     .Option = "--ausschnitt",
     .Hilfe = "X,Y,B,H|nur dieses Rechteck der Fläche, auf Breite x Höhe skaliert",
     .Art = TFeldart::Rechteck,
     .Rechteck = Im<&TLauf::Ausschnitt>,
     .Gilt = [](double, const TLauf& R) { return AusschnittFehler(R).empty(); },
     .Meldung =
         [](const TLauf& R) {
           const std::string Fehler = AusschnittFehler(R);
           return Fehler.empty() ? std::string("Ausschnitt hat falsches Format (X,Y,B,H erwartet)")
                                 : Fehler;
         },
     .Neu = true},
    {.Schluessel = "WinkelPlus",
     .Zahl = Im<&TLauf::WinkelPlus>,
     .Gilt = Endlich,
     .Meldung = [](const TLauf&) { return std::string("Winkel für \"+\" hat falsches Format."); }},
    {.Schluessel = "WinkelMinus",
     .Zahl = Im<&TLauf::WinkelMinus>,
     .Gilt = Endlich,
     .Meldung = [](const TLauf&) { return std::string("Winkel für \"-\" hat falsches Format."); }},
    {.Schluessel = "Regelsystem", .Art = TFeldart::Bytes},
};

// The value as the check sees it; the accessors only point into the run.
double Wert(const TRezeptfeld& F, const TLauf& R) {
  TLauf& L = const_cast<TLauf&>(R);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  if (F.Ganz) return F.Ganz(L);
  if (F.Zahl) return F.Zahl(L);
  if (F.Wort) return F.Wort(L);
  if (F.Wahr) return F.Wahr(L) ? 1 : 0;
  if (F.Index) return F.Index(L);
  return 0;
}

void Pruefen(const TRezeptfeld& F, const TLauf& R) {
  if (F.Gilt && !F.Gilt(Wert(F, R), R)) throw EFeldfehler(F.Meldung(R));
}

[[noreturn]] void Falsch(const TRezeptfeld& F, const TLauf& R) {
  if (!F.Meldung)
    throw EFeldfehler(std::string(F.Option ? F.Option : F.Schluessel) +
                      " erwartet „ja“ oder „nein“");
  throw EFeldfehler(F.Meldung(R));
}

double Kommazahl(const TRezeptfeld& F, const TLauf& R, const std::string& Text) {
  if (!IstKommazahl(Text)) Falsch(F, R);
  return TextAlsKommazahl(Text);
}

uint32_t Farbwert(const TRezeptfeld& F, const TLauf& R, const std::string& Text) {
  const std::string T = Text.rfind('#', 0) == 0 ? Text.substr(1) : Text;
  if (T.size() != 6 || T.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    Falsch(F, R);
  const auto Rgb = static_cast<uint32_t>(std::stoul(T, nullptr, 16));
  return ((Rgb >> 16) & 0xFF) | (Rgb & 0xFF00) | ((Rgb & 0xFF) << 16);
}

// Four numbers with a decimal point, the commas between them.
TRechteck Rechteckwert(const TRezeptfeld& F, const TLauf& R, const std::string& Text) {
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

uint32_t Zustand(const TRezeptfeld& F, const TLauf& R, const std::string& Text) {
  if (Text.empty() || Text.size() > 10 || Text.find_first_not_of("0123456789") != std::string::npos)
    Falsch(F, R);
  const unsigned long long Wert = std::stoull(Text);
  if (Wert > 0xFFFFFFFFull) Falsch(F, R);
  return static_cast<uint32_t>(Wert);
}

uint8_t WahlIndex(const TRezeptfeld& F, const TLauf& R, const std::string& Text) {
  const std::optional<uint8_t> Index = WortIndex(F, Text);
  if (!Index) Falsch(F, R);
  return *Index;
}

}  // namespace

std::optional<uint8_t> WortIndex(const TRezeptfeld& Feld, const std::string& Wort) {
  for (size_t i = 0; i < Feld.Woerter.size(); ++i)
    if (Wort == Feld.Woerter[i]) return static_cast<uint8_t>(i);
  return std::nullopt;
}

bool Voreingestellt(const TRezeptfeld& Feld, const TLauf& R) {
  static const TLauf Vorgabe;
  return std::bit_cast<uint64_t>(Wert(Feld, R)) == std::bit_cast<uint64_t>(Wert(Feld, Vorgabe));
}

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

void FeldEingeben(const TRezeptfeld& F, TLauf& R, const std::string& Text) {
  TLauf Neu = R;
  switch (F.Art) {
    case TFeldart::Ganzzahl:
      if (!IstGanzzahl(Text)) Falsch(F, R);
      F.Ganz(Neu) = GanzzahlWert(Text);
      break;
    case TFeldart::Zahl:
      F.Zahl(Neu) = Kommazahl(F, R, Text);
      break;
    case TFeldart::Prozent:
      F.Zahl(Neu) = Kommazahl(F, R, Text) / 100;
      break;
    case TFeldart::Schwund:
      F.Zahl(Neu) = 1 - Kommazahl(F, R, Text) / 100;
      break;
    case TFeldart::Farbe:
      F.Wort(Neu) = Farbwert(F, R, Text);
      break;
    case TFeldart::Zustand:
      F.Wort(Neu) = Zustand(F, R, Text);
      break;
    case TFeldart::Rechteck:
      F.Rechteck(Neu) = Rechteckwert(F, R, Text);
      break;
    case TFeldart::Wahrheit:
      // A setting that is on or off: "ja" or "nein", as in the recipe.
      if (Text != "ja" && Text != "nein") Falsch(F, R);
      F.Wahr(Neu) = Text == "ja";
      break;
    case TFeldart::Wahl:
      F.Index(Neu) = WahlIndex(F, R, Text);
      break;
    case TFeldart::Bytes:
      Falsch(F, R);
  }
  Pruefen(F, Neu);
  R = std::move(Neu);
}

void RezeptPruefen(const TLauf& R) {
  // The surface first: the bounds of start and step depend on it.
  for (const TRezeptfeld& F : Felder)
    if (F.Seite) Pruefen(F, R);
  for (const TRezeptfeld& F : Felder) Pruefen(F, R);
}

bool ImLaufGleich(const TEinstellungen& A, const TEinstellungen& B) {
  TLauf RA, RB;
  RA.Einstellungen = A;
  RB.Einstellungen = B;
  for (const TRezeptfeld& F : Felder) {
    if (!F.ImLauf) continue;
    const double WA = Wert(F, RA), WB = Wert(F, RB);
    if (std::bit_cast<uint64_t>(WA) != std::bit_cast<uint64_t>(WB)) return false;
  }
  return true;
}
