#include "tools/Bildausgabe.h"

#include <QImage>
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <stdexcept>

#include "drawing/Feldpruefung.h"
#include "drawing/Zeichenmaschine.h"
#include "helpers/Hilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/BildLeinwand.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

namespace {

constexpr int GroessteSeite = 10000;

const char* const Wertoptionen[] = {"--breite",
                                    "--hoehe",
                                    "--tiefe",
                                    "--x",
                                    "--y",
                                    "--winkel",
                                    "--schrittweite",
                                    "--dicke",
                                    "--schwund",
                                    "--abweichung-schritt",
                                    "--abweichung-plus",
                                    "--abweichung-minus",
                                    "--farbe",
                                    "--saat"};

struct TAuftrag {
  std::map<std::string, std::string> Werte;
  bool Zufall = false;
  std::string Datei;
  std::string Bild;
};

TAuftrag Zerlegen(const std::vector<std::string>& A) {
  TAuftrag Auftrag;
  for (size_t i = 0; i < A.size(); ++i) {
    std::string Name = A[i], Wert;
    bool MitWert = false;
    if (Name.rfind("--", 0) == 0 && Name.find('=') != std::string::npos) {
      Wert = Name.substr(Name.find('=') + 1);
      Name = Name.substr(0, Name.find('='));
      MitWert = true;
    }
    auto Naechster = [&]() {
      if (MitWert) return Wert;
      if (i + 1 >= A.size()) throw std::runtime_error("Wert fehlt für " + Name);
      return A[++i];
    };
    if (Name == "-o") {
      Auftrag.Bild = Naechster();
    } else if (Name == "--zufall") {
      Auftrag.Zufall = true;
    } else if (std::find(std::begin(Wertoptionen), std::end(Wertoptionen), Name) !=
               std::end(Wertoptionen)) {
      Auftrag.Werte[Name] = Naechster();
    } else if (Name.size() > 1 && Name[0] == '-') {
      throw std::runtime_error("Unbekannte Option: " + Name);
    } else if (Auftrag.Datei.empty()) {
      Auftrag.Datei = Name;
    } else {
      throw std::runtime_error("Zu viele Argumente");
    }
  }
  if (Auftrag.Bild.empty()) throw std::runtime_error("Wert fehlt für -o");
  return Auftrag;
}

int Seite(const std::string& Text, const char* Name) {
  const std::string Meldung = std::string(Name) + " außerhalb des zulässigen Bereichs von 1 bis " +
                              std::to_string(GroessteSeite);
  if (!IstGanzzahl(Text)) throw std::runtime_error(Meldung);
  int32_t n = GanzzahlWert(Text);
  if (n < 1 || n > GroessteSeite) throw std::runtime_error(Meldung);
  return n;
}

uint32_t Farbe(const std::string& Text) {
  std::string T = Text.rfind('#', 0) == 0 ? Text.substr(1) : Text;
  if (T.size() != 6 || T.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw std::runtime_error("Farbe hat falsches Format (RRGGBB erwartet)");
  uint32_t rgb = static_cast<uint32_t>(std::stoul(T, nullptr, 16));
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

// The settings of a fresh drawing window, changed by the options.
struct TEinstellungen {
  int Breite = 1000, Hoehe = 680;
  int32_t Tiefe = StartTiefe;
  double X = 0, Y = 0, Winkel = 90.0;
  bool Anpassen = true;
  double Schrittweite = StartSchrittweite;
  bool Zufall = false;
  double Dicke = 1.0, Schwund = 1.0;
  double AbwSchritt = 0.3, AbwPlus = 0.3, AbwMinus = 0.3;
  uint32_t Farbe = 0x008000;
  uint32_t Saat = 0;
};

// Start state of the random generator: a whole number 0 to 4294967295.
uint32_t Saat(const std::string& Text) {
  const std::string Meldung = "Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295";
  if (Text.empty() || Text.size() > 10 || Text.find_first_not_of("0123456789") != std::string::npos)
    throw std::runtime_error(Meldung);
  const unsigned long long Wert = std::stoull(Text);
  if (Wert > 0xFFFFFFFFull) throw std::runtime_error(Meldung);
  return static_cast<uint32_t>(Wert);
}

TEinstellungen Pruefen(const TAuftrag& A) {
  TEinstellungen E;
  auto Wert = [&](const char* Name, std::string& Text) {
    auto i = A.Werte.find(Name);
    if (i == A.Werte.end()) return false;
    Text = i->second;
    return true;
  };
  std::string T;
  if (Wert("--breite", T)) E.Breite = Seite(T, "Breite");
  if (Wert("--hoehe", T)) E.Hoehe = Seite(T, "Höhe");
  const int Mitte = E.Breite / 2;  // whole pixels, as the window does
  E.X = Mitte;
  E.Y = E.Hoehe;
  if (Wert("--tiefe", T)) E.Tiefe = TiefePruefen(T);
  if (Wert("--schrittweite", T)) {
    E.Schrittweite = SchrittweitePruefen(T);
    E.Anpassen = false;
  }
  if (Wert("--x", T)) E.X = StartXPruefen(T, E.Breite);
  if (Wert("--y", T)) E.Y = StartYPruefen(T, E.Hoehe);
  if (Wert("--winkel", T)) E.Winkel = StartwinkelPruefen(T);
  if (Wert("--dicke", T)) E.Dicke = DickePruefen(T);
  if (Wert("--schwund", T)) E.Schwund = 1 - SchwundPruefen(T) / 100;
  if (Wert("--abweichung-schritt", T)) E.AbwSchritt = AbweichungSchrittPruefen(T) / 100;
  if (Wert("--abweichung-plus", T)) E.AbwPlus = AbweichungPlusPruefen(T) / 100;
  if (Wert("--abweichung-minus", T)) E.AbwMinus = AbweichungMinusPruefen(T) / 100;
  if (Wert("--farbe", T)) E.Farbe = Farbe(T);
  if (Wert("--saat", T)) E.Saat = Saat(T);
  E.Zufall = A.Zufall;
  return E;
}

bool EndetAuf(std::string Text, const std::string& Endung) {
  std::transform(Text.begin(), Text.end(), Text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return Text.size() >= Endung.size() &&
         Text.compare(Text.size() - Endung.size(), Endung.size(), Endung) == 0;
}

}  // namespace

bool IstBildaufruf(const std::vector<std::string>& Argumente) {
  return std::find(Argumente.begin(), Argumente.end(), "-o") != Argumente.end();
}

int BildAusgeben(const std::vector<std::string>& Argumente, std::string& Fehler) {
  std::unique_ptr<TSvgLeinwand> Svg;
  std::unique_ptr<QImage> Png;
  std::string Bild;
  int Ergebnis = 0;
  try {
    const TAuftrag Auftrag = Zerlegen(Argumente);
    Bild = Auftrag.Bild;
    const bool AlsSvg = EndetAuf(Bild, ".svg");
    if (!AlsSvg && !EndetAuf(Bild, ".png"))
      throw std::runtime_error("Unbekanntes Bildformat: " + Bild + " (.png oder .svg)");
    const TEinstellungen E = Pruefen(Auftrag);

    TRegelsystem R;
    R.RegelnHinzufuegen(StandardRegeln);
    R.Sortieren();
    if (!Auftrag.Datei.empty()) R.Laden(Auftrag.Datei);

    Zufallsmodus = E.Zufall;
    Zufallszustand = E.Saat;
    SchrittweiteAnpassen = E.Anpassen;
    Schrittmodus = false;
    Zeichenfarbe = E.Farbe;
    Anfangsdicke = E.Dicke;
    Schwundfaktor = E.Schwund;
    AbweichungSchritt = E.AbwSchritt;
    AbweichungPlus = E.AbwPlus;
    AbweichungMinus = E.AbwMinus;

    std::unique_ptr<TLeinwand> Leinwand;
    if (AlsSvg) {
      Svg = std::make_unique<TSvgLeinwand>(E.Breite, E.Hoehe, Bild);
    } else {
      Png = std::make_unique<QImage>(E.Breite, E.Hoehe, QImage::Format_RGB32);
      if (Png->isNull()) throw std::runtime_error("Zu wenig Speicher für das Bild");
      Png->fill(Qt::white);
      Leinwand = std::make_unique<TBildLeinwand>(*Png);
    }
    TLeinwand& L = AlsSvg ? static_cast<TLeinwand&>(*Svg) : *Leinwand;
    TTurtle Turtle(L);
    TOhneFenster Fenster(E.Breite, E.Hoehe);
    TZeichenmaschine M(Turtle, Fenster);
    M.Regelsystem = &R;
    M.WinkelPlus = R.WinkelPlus;
    M.WinkelMinus = -R.WinkelMinus;
    M.Schrittweite = E.Schrittweite;
    try {
      M.Zeichenlauf(E.Tiefe, E.X, E.Y, E.Winkel);
    } catch (const std::exception& Ex) {
      Fehler = Ex.what();
      Ergebnis = 1;
    }
    L.Ausgeben();
  } catch (const std::exception& Ex) {
    Fehler = Ex.what();
    return 1;
  }
  try {
    if (Svg) {
      Svg->Abschliessen();
    } else if (Png && !Png->save(QString::fromStdString(Bild), "PNG")) {
      throw std::runtime_error("Die Datei " + Bild + " kann nicht geschrieben werden");
    }
  } catch (const std::exception& Ex) {
    if (Ergebnis == 0) Fehler = Ex.what();
    return 1;
  }
  return Ergebnis;
}

std::string BildHilfe() {
  return "  [OPTIONEN] [DATEI.LSY] -o BILD.png|BILD.svg\n"
         "      Zeichnet das Regelsystem (ohne Datei: das eingebaute) auf einer weißen\n"
         "      Fläche, wie \"Zeichnen\" im Zeichenfenster im Modus \"schnell\".\n"
         "      --breite B, --hoehe H    Größe der Fläche (1000 x 680)\n"
         "      --tiefe N                Entwicklungstiefe 0 bis 30 (2)\n"
         "      --x X, --y Y, --winkel W Startposition und -winkel (B div 2, H, 90)\n"
         "      --schrittweite S         feste Schrittweite; sonst an die Fläche angepasst\n"
         "      --zufall                 Zufallsmodus\n"
         "      --saat N                 Startwert des Zufallsgenerators (0), damit ein\n"
         "                               Zufallsbild wiederholt oder abgewandelt werden kann\n"
         "      --dicke D, --schwund P   Anfangsdicke (1) und Schwund pro Stufe in % (0)\n"
         "      --abweichung-schritt P, --abweichung-plus P, --abweichung-minus P\n"
         "                               Zufallsabweichungen in % (30)\n"
         "      --farbe RRGGBB           Zeichenfarbe (008000)\n";
}
