#include "tools/Bildausgabe.h"

#include <QImage>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

#include "engine/Feldpruefung.h"
#include "engine/Rezept.h"
#include "engine/Rezeptfelder.h"
#include "helpers/Hilfen.h"
#include "pictures/Animation.h"
#include "pictures/BildLeinwand.h"
#include "pictures/Bilddatei.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"

namespace {

struct TAuftrag {
  std::map<std::string, std::string> Werte;  // option with a value -> its text
  std::optional<bool> Zufall;                // --zufall or --exakt, the last one given
  bool Zentriert = false;                    // --zentriert
  bool Wachstum = false;                     // --wachstum
  bool Vollstaendig = false;                 // --jedes-zeichen
  std::optional<std::string> Aufbau;         // --aufbau N
  std::optional<std::string> Bildzeit;       // --bildzeit MS
  std::string Datei;
  std::string Bild;
};

bool EndetAuf(std::string Text, const std::string& Endung) {
  std::transform(Text.begin(), Text.end(), Text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return Text.size() >= Endung.size() &&
         Text.compare(Text.size() - Endung.size(), Endung.size(), Endung) == 0;
}

// A whole number from Kleinste to Groesste, else the message.
int Ganzzahl(const std::string& Text, const char* Was, int Kleinste, int Groesste) {
  if (IstGanzzahl(Text)) {
    const int32_t n = GanzzahlWert(Text);
    if (n >= Kleinste && n <= Groesste) return n;
  }
  throw std::runtime_error(std::string(Was) + " außerhalb des zulässigen Bereichs von " +
                           std::to_string(Kleinste) + " bis " + std::to_string(Groesste));
}

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
    } else if (Name == "--wachstum") {
      Auftrag.Wachstum = true;
    } else if (Name == "--jedes-zeichen") {
      Auftrag.Vollstaendig = true;
    } else if (Name == "--aufbau") {
      Auftrag.Aufbau = Naechster();
    } else if (Name == "--bildzeit") {
      Auftrag.Bildzeit = Naechster();
    } else if (FeldZuOption(Name)) {
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
  if (Auftrag.Wachstum && Auftrag.Aufbau)
    throw std::runtime_error("--wachstum und --aufbau schließen sich aus");
  const bool Animation = Auftrag.Wachstum || Auftrag.Aufbau;
  if (Auftrag.Bildzeit && !Animation)
    throw std::runtime_error("--bildzeit gilt nur mit --wachstum oder --aufbau");
  if (Animation && Auftrag.Werte.count("--ausschnitt") > 0)
    throw std::runtime_error("Eine Animation zeigt die ganze Fläche: --ausschnitt geht hier nicht");
  if (Animation && EndetAuf(Auftrag.Bild, ".svg"))
    throw std::runtime_error("Eine Animation lässt sich nur als PNG schreiben: " + Auftrag.Bild);
  return Auftrag;
}

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
TNeu OptionenAnwenden(const TAuftrag& A, TLauf& R, bool AusBild) {
  auto Gegeben = [&](const char* Option) { return A.Werte.count(Option) > 0; };
  bool Neu = false;         // depth or surface changed
  bool Verschoben = false;  // an option moves the lines
  auto Eingeben = [&](const TRezeptfeld& F) {
    if (!F.Option || !Gegeben(F.Option)) return;
    FeldEingeben(F, R, A.Werte.at(F.Option));
    Neu = Neu || F.Anpassen;
    Verschoben = Verschoben || F.Verschiebt;
  };
  // The surface first: the start's range and a fresh window's start depend on it.
  for (const TRezeptfeld& F : Rezeptfelder())
    if (F.Seite) Eingeben(F);
  if (!AusBild) {
    R.StartX = std::floor(R.Breite / 2.0);  // whole pixels, as the window does
    R.StartY = R.Hoehe;
  }
  // A start or step given by hand is the user's own, neither centred nor fitted.
  if (Gegeben("--x") || Gegeben("--y")) R.Einstellungen.Zentriert = false;
  const bool Schritt = Gegeben("--schrittweite");
  if (Schritt) R.Einstellungen.SchrittweiteAnpassen = false;
  for (const TRezeptfeld& F : Rezeptfelder())
    if (!F.Seite) Eingeben(F);
  if (A.Zufall) {
    R.Einstellungen.Zufallsmodus = *A.Zufall;
    Verschoben = true;
  }
  // A picture's view must fit a surface given anew as well.
  const TRezeptfeld& Ausschnitt = *FeldZuSchluessel("Ausschnitt");
  if (!Ausschnitt.Gilt(0, R)) throw EFeldfehler(Ausschnitt.Meldung(R));
  const bool Anpassen = !Schritt && (!AusBild || (R.Einstellungen.SchrittweiteAnpassen && Neu));
  if (Anpassen) R.Einstellungen.SchrittweiteAnpassen = true;
  return {Anpassen, A.Zentriert || (R.Einstellungen.Zentriert && Verschoben)};
}

}  // namespace

namespace {

// An animated PNG: frames of the growth or of the turtle's path, each frame
// as the picture of the same options would be at that depth or line.
int AnimationAusgeben(const TAuftrag& A, TLauf R, const TNeu& Neu) {
  const int Bildzeit = A.Bildzeit ? Ganzzahl(*A.Bildzeit, "Bildzeit", 10, 60000) : 100;
  const int Bilder = A.Aufbau ? Ganzzahl(*A.Aufbau, "Bildzahl von --aufbau", 1, 10000) : 0;
  // What the picture would compute afresh, every frame computes afresh.
  if (Neu.Schrittweite) R.Einstellungen.SchrittweiteAnpassen = true;
  if (Neu.Start) R.Einstellungen.Zentriert = true;
  R.Ausschnitt.reset();
  if (A.Aufbau)
    AufbauSchreiben(R, A.Bild, Bilder, Bildzeit);
  else
    WachstumSchreiben(R, A.Bild, Bildzeit);
  return 0;
}

}  // namespace

bool IstBildaufruf(const std::vector<std::string>& Argumente) {
  return std::find(Argumente.begin(), Argumente.end(), "-o") != Argumente.end();
}

int BildAusgeben(const std::vector<std::string>& Argumente, std::string& Fehler) {
  std::unique_ptr<TSvgLeinwand> Svg;
  std::unique_ptr<QImage> Png;
  TLauf Rezept;
  std::string Bild;
  int Ergebnis = 0;
  try {
    const TAuftrag Auftrag = Zerlegen(Argumente);
    Bild = Auftrag.Bild;
    const bool AlsSvg = EndetAuf(Bild, ".svg");
    if (!AlsSvg && !EndetAuf(Bild, ".png"))
      throw std::runtime_error("Unbekanntes Bildformat: " + Bild + " (.png oder .svg)");
    TRegelsystem R;
    R.RegelnHinzufuegen(StandardRegeln);
    R.Sortieren();
    std::optional<std::string> Text;
    if (!Auftrag.Datei.empty()) Text = RegelnOderRezeptLesen(Auftrag.Datei, R);
    const bool AusBild = Text.has_value();
    if (AusBild) Rezept = RezeptAusText(*Text);
    const TNeu Neu = OptionenAnwenden(Auftrag, Rezept, AusBild);
    if (!AusBild) RegelsystemErfassen(Rezept, R);

    if (Auftrag.Wachstum || Auftrag.Aufbau) return AnimationAusgeben(Auftrag, Rezept, Neu);

    std::unique_ptr<TLeinwand> Leinwand;
    if (AlsSvg) {
      Svg = std::make_unique<TSvgLeinwand>(Rezept.Breite, Rezept.Hoehe, Bild);
      FlaecheLeeren(*Svg, Rezept.Einstellungen);
    } else {
      Png = std::make_unique<QImage>(LeeresBild(Rezept.Breite, Rezept.Hoehe, Rezept.Einstellungen));
      if (Png->isNull()) throw std::runtime_error("Zu wenig Speicher für das Bild");
      Leinwand = std::make_unique<TBildLeinwand>(*Png);
    }
    TLeinwand& L = AlsSvg ? static_cast<TLeinwand&>(*Svg) : *Leinwand;
    // A view shows its rectangle of the surface on a picture of the surface's size.
    TNachzeichnung Wie;
    Wie.SchrittweiteAnpassen = Neu.Schrittweite;
    Wie.Zentrieren = Neu.Start;
    Wie.Vollstaendig = Auftrag.Vollstaendig;
    // The SVG carries the recipe ahead of its lines, so it is set before the first one.
    Wie.Bereit = [&Svg](const TLauf& R) {
      if (Svg) Svg->MetadatenSetzen(RezeptAlsText(R));
    };
    try {
      LaufZeichnen(Rezept, L, Wie);
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
  std::string Text =
      "  [OPTIONEN] [DATEI.LSY] -o BILD.png|BILD.svg\n"
      "      Zeichnet das Regelsystem (ohne Datei: das eingebaute) auf einer Fläche\n"
      "      (weiß, wenn --hintergrund nichts anderes sagt), wie \"Zeichnen\" im\n"
      "      Zeichenfenster im Modus \"schnell\".\n";
  auto Zeile = [&Text](const std::string& Aufruf, const std::string& Bedeutung) {
    std::string Z = "      " + Aufruf;
    Z.resize(std::max<size_t>(Z.size() + 1, 31), ' ');
    Text += Z + Bedeutung + "\n";
  };
  for (const TRezeptfeld& F : Rezeptfelder()) {
    if (!F.Option) continue;
    const std::string Hilfe = F.Hilfe;
    const size_t Strich = Hilfe.rfind('|');  // the value may list words: a|b|Text
    Zeile(std::string(F.Option) + " " + Hilfe.substr(0, Strich), Hilfe.substr(Strich + 1));
  }
  Zeile("--zentriert", "Startposition so, dass die Zeichnung in der Mitte der Fläche liegt");
  Zeile("--zufall, --exakt", "Zufallsmodus an oder aus (aus)");
  Zeile("--jedes-zeichen", "lässt jedes Zeichen einzeln wirken, ohne Sprünge (zum Vergleich)");
  Zeile("--wachstum", "animiertes PNG: ein Bild je Tiefe von 0 bis --tiefe");
  Zeile("--aufbau N", "animiertes PNG aus N Bildern (1 bis 10000): die Linien in der Reihenfolge,");
  Zeile("", "in der die Turtle sie zeichnet; das letzte Bild ist die ganze Zeichnung");
  Zeile("--bildzeit MS", "Zeit je Bild einer Animation in ms, 10 bis 60000 (100)");
  Text +=
      "      Mit --ausschnitt X,Y,B,H (Zahlen mit Dezimalpunkt) wird die Zeichnung wie\n"
      "      sonst auf der Fläche angelegt; das Bild zeigt aber nur deren Rechteck mit\n"
      "      der linken oberen Ecke X,Y, B breit und H hoch, skaliert auf Breite x\n"
      "      Höhe. H muss B*Höhe/Breite sein, Breite/B zwischen 0.25 und 1000000\n"
      "      liegen. Die Linien behalten ihre Dicke in Pixeln; das Rezept trägt den\n"
      "      Ausschnitt, ein SVG nur die sichtbaren Linien.\n"
      "      Jedes Bild trägt sein Rezept: das Regelsystem und alle Einstellungen,\n"
      "      mit denen es gezeichnet wurde, die Schrittweite wie berechnet.\n"
      "  [OPTIONEN] BILD.png|BILD.svg -o NEU.png|NEU.svg\n"
      "      Zeichnet ein Bild nach seinem Rezept noch einmal, in jedem der beiden\n"
      "      Formate. Angegebene Optionen ersetzen die Werte des Rezepts; ohne --x\n"
      "      und --y bleibt die Startposition die des Bildes. Eine angepasste\n"
      "      Schrittweite wird neu angepasst, wenn Tiefe, Breite oder Höhe sich\n"
      "      ändern; ein zentriertes Bild wird neu zentriert, wenn eine Option\n"
      "      die Linien verschiebt (alle außer --farbe, --dicke, --schwund).\n";
  return Text;
}
