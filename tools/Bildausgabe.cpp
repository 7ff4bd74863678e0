#include "tools/Bildausgabe.h"

#include <QImage>
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

#include "drawing/Feldpruefung.h"
#include "drawing/Rezept.h"
#include "helpers/Hilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/BildLeinwand.h"
#include "turtle/Bilddatei.h"
#include "turtle/SvgLeinwand.h"

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
  std::optional<bool> Zufall;  // --zufall or --exakt, the last one given
  bool Zentriert = false;      // --zentriert
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
    } else if (Name == "--zufall" || Name == "--exakt") {
      Auftrag.Zufall = Name == "--zufall";
    } else if (Name == "--zentriert") {
      Auftrag.Zentriert = true;
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
  if (Auftrag.Zentriert && (Auftrag.Werte.count("--x") > 0 || Auftrag.Werte.count("--y") > 0))
    throw std::runtime_error("--zentriert und --x oder --y schließen sich aus");
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

// Start state of the random generator: a whole number 0 to 4294967295.
uint32_t Saat(const std::string& Text) { return SaatPruefen(Text); }

// What the run is to compute afresh rather than take from the recipe.
struct TNeu {
  bool Schrittweite = false;
  bool Start = false;
};

// The options change the settings of a fresh drawing window or, redrawing a
// picture, those of its recipe. Gives what is to be computed: the step size
// always for a fresh drawing unless --schrittweite, for a picture whose step
// was fitted only when the depth or the surface changes; the start with
// --zentriert, and for a centred picture when an option moves its lines
// (not --farbe, --dicke, --schwund), unless --x or --y place it by hand.
TNeu OptionenAnwenden(const TAuftrag& A, TRezept& R, bool AusBild) {
  auto Wert = [&](const char* Name, std::string& Text) {
    auto i = A.Werte.find(Name);
    if (i == A.Werte.end()) return false;
    Text = i->second;
    return true;
  };
  std::string T;
  bool Anpassen = !AusBild;
  auto Gegeben = [&](const char* Name) { return A.Werte.count(Name) > 0; };
  if (AusBild) {
    R.Breite = Seite(std::to_string(R.Breite), "Breite");
    R.Hoehe = Seite(std::to_string(R.Hoehe), "Höhe");
  }
  bool Neu = false;  // depth or surface changed
  if (Wert("--breite", T)) {
    R.Breite = Seite(T, "Breite");
    Neu = true;
  }
  if (Wert("--hoehe", T)) {
    R.Hoehe = Seite(T, "Höhe");
    Neu = true;
  }
  if (!AusBild) {
    const int Mitte = R.Breite / 2;  // whole pixels, as the window does
    R.StartX = Mitte;
    R.StartY = R.Hoehe;
  }
  if (Wert("--tiefe", T)) {
    R.Tiefe = TiefePruefen(T);
    Neu = true;
  }
  if (AusBild && R.SchrittweiteAnpassen && Neu) Anpassen = true;
  if (Wert("--schrittweite", T)) {
    R.Schrittweite = SchrittweitePruefen(T);
    R.SchrittweiteAnpassen = Anpassen = false;
  }
  if (Wert("--x", T)) R.StartX = StartXPruefen(T, R.Breite);
  if (Wert("--y", T)) R.StartY = StartYPruefen(T, R.Hoehe);
  if (Wert("--winkel", T)) R.Startwinkel = StartwinkelPruefen(T);
  if (Wert("--dicke", T)) R.Anfangsdicke = DickePruefen(T);
  if (Wert("--schwund", T)) R.Schwundfaktor = 1 - SchwundPruefen(T) / 100;
  if (Wert("--abweichung-schritt", T)) R.AbweichungSchritt = AbweichungSchrittPruefen(T) / 100;
  if (Wert("--abweichung-plus", T)) R.AbweichungPlus = AbweichungPlusPruefen(T) / 100;
  if (Wert("--abweichung-minus", T)) R.AbweichungMinus = AbweichungMinusPruefen(T) / 100;
  if (Wert("--farbe", T)) R.Zeichenfarbe = Farbe(T);
  if (Wert("--saat", T)) R.Zufallszustand = Saat(T);
  if (A.Zufall) R.Zufallsmodus = *A.Zufall;
  const bool Verschoben = Neu || A.Zufall || Gegeben("--winkel") || Gegeben("--schrittweite") ||
                          Gegeben("--saat") || Gegeben("--abweichung-schritt") ||
                          Gegeben("--abweichung-plus") || Gegeben("--abweichung-minus");
  if (Gegeben("--x") || Gegeben("--y")) R.Zentriert = false;
  return {Anpassen, A.Zentriert || (R.Zentriert && Verschoben)};
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
  TRezept Rezept;
  std::string Bild;
  int Ergebnis = 0;
  try {
    const TAuftrag Auftrag = Zerlegen(Argumente);
    Bild = Auftrag.Bild;
    const bool AlsSvg = EndetAuf(Bild, ".svg");
    if (!AlsSvg && !EndetAuf(Bild, ".png"))
      throw std::runtime_error("Unbekanntes Bildformat: " + Bild + " (.png oder .svg)");
    const bool AusBild = !Auftrag.Datei.empty() && IstBilddatei(Auftrag.Datei);
    if (AusBild) Rezept = RezeptAusText(RezeptTextLesen(Auftrag.Datei));
    const TNeu Neu = OptionenAnwenden(Auftrag, Rezept, AusBild);
    if (!AusBild) {
      TRegelsystem R;
      R.RegelnHinzufuegen(StandardRegeln);
      R.Sortieren();
      if (!Auftrag.Datei.empty()) R.Laden(Auftrag.Datei);
      RegelsystemErfassen(Rezept, R);
    }

    std::unique_ptr<TLeinwand> Leinwand;
    if (AlsSvg) {
      Svg = std::make_unique<TSvgLeinwand>(Rezept.Breite, Rezept.Hoehe, Bild);
    } else {
      Png = std::make_unique<QImage>(Rezept.Breite, Rezept.Hoehe, QImage::Format_RGB32);
      if (Png->isNull()) throw std::runtime_error("Zu wenig Speicher für das Bild");
      Png->fill(Qt::white);
      Leinwand = std::make_unique<TBildLeinwand>(*Png);
    }
    TLeinwand& L = AlsSvg ? static_cast<TLeinwand&>(*Svg) : *Leinwand;
    try {
      // The SVG carries the recipe ahead of its lines, so it is set before the first one.
      RezeptZeichnen(Rezept, L, Neu.Schrittweite, Neu.Start, [&Svg](const TRezept& R) {
        if (Svg) Svg->MetadatenSetzen(RezeptAlsText(R));
      });
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
    if (Svg)
      Svg->Abschliessen();
    else
      PngSpeichern(std::move(*Png), Bild, RezeptAlsText(Rezept));
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
         "      --zentriert              Startposition so, dass die Zeichnung in der\n"
         "                               Mitte der Fläche liegt (statt --x und --y)\n"
         "      --schrittweite S         feste Schrittweite; sonst an die Fläche angepasst\n"
         "      --zufall, --exakt        Zufallsmodus an oder aus (aus)\n"
         "      --saat N                 Startwert des Zufallsgenerators (0), damit ein\n"
         "                               Zufallsbild wiederholt oder abgewandelt werden kann\n"
         "      --dicke D, --schwund P   Anfangsdicke (1) und Schwund pro Stufe in % (0)\n"
         "      --abweichung-schritt P, --abweichung-plus P, --abweichung-minus P\n"
         "                               Zufallsabweichungen in % (30)\n"
         "      --farbe RRGGBB           Zeichenfarbe (008000)\n"
         "      Jedes Bild trägt sein Rezept: das Regelsystem und alle Einstellungen,\n"
         "      mit denen es gezeichnet wurde, die Schrittweite wie berechnet.\n"
         "  [OPTIONEN] BILD.png|BILD.svg -o NEU.png|NEU.svg\n"
         "      Zeichnet ein Bild nach seinem Rezept noch einmal, in jedem der beiden\n"
         "      Formate. Angegebene Optionen ersetzen die Werte des Rezepts; ohne --x\n"
         "      und --y bleibt die Startposition die des Bildes. Eine angepasste\n"
         "      Schrittweite wird neu angepasst, wenn Tiefe, Breite oder Höhe sich\n"
         "      ändern; ein zentriertes Bild wird neu zentriert, wenn eine Option\n"
         "      die Linien verschiebt (alle außer --farbe, --dicke, --schwund).\n";
}
