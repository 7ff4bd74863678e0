// rankenwerk-render: the rule system and its derived strings on the command line.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Rezept.h"
#include "engine/Rezeptfelder.h"
#include "helpers/Hilfen.h"
#include "pictures/Bilddatei.h"
#include "rules/Regelsystem.h"
#include "tools/Bildausgabe.h"

namespace {

// What the command line asks for: one task and its further arguments.
struct TOptionen {
  std::string Aufgabe;                 // "--regelsystem", "--ableitung", "--help"
  std::vector<std::string> Argumente;  // everything after the task
};

// A wrong command line: the message names --help.
struct EAufruf : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Schreiben(const std::string& Text) {
  if (std::fwrite(Text.data(), 1, Text.size(), stdout) != Text.size() || std::fflush(stdout) != 0)
    throw std::runtime_error("E/A-Fehler " + std::to_string(errno));
}

// The built-in system as at start-up, or the given file loaded into it: a
// .LSY file, or the recipe of a picture, whose settings then go to Rezept.
void RegelsystemLaden(TRegelsystem& R, const std::vector<std::string>& Argumente, size_t Position,
                      TLauf* Rezept = nullptr) {
  R.RegelnHinzufuegen(StandardRegeln);
  R.Sortieren();
  if (Argumente.size() > Position + 1) throw EAufruf("Zu viele Argumente");
  if (Argumente.size() < Position + 1) return;
  if (const std::optional<std::string> Text = RegelnOderRezeptLesen(Argumente[Position], R)) {
    const TLauf Gelesen = RezeptAusText(*Text);
    RegelsystemUebernehmen(Gelesen, R);
    if (Rezept) *Rezept = Gelesen;
  }
}

int RegelsystemAusgeben(const TOptionen& O) {
  TRegelsystem R;
  RegelsystemLaden(R, O.Argumente, 0);
  Schreiben(R.Dateiinhalt());
  return 0;
}

// The options of a derivation, wherever they stand; they win over a recipe's values.
constexpr const char* AbleitungsOptionen[] = {"--regelwahl", "--saat"};

int AbleitungAusgeben(const TOptionen& O) {
  std::vector<std::string> Rest;
  std::vector<std::pair<const TRezeptfeld*, std::string>> Werte;
  for (size_t i = 0; i < O.Argumente.size(); ++i) {
    const std::string& A = O.Argumente[i];
    const bool Option = std::find(std::begin(AbleitungsOptionen), std::end(AbleitungsOptionen),
                                  A) != std::end(AbleitungsOptionen);
    if (!Option) {
      Rest.push_back(A);
      continue;
    }
    if (i + 1 >= O.Argumente.size()) throw EAufruf("Der Wert von " + A + " fehlt");
    Werte.emplace_back(FeldZuOption(A), O.Argumente[++i]);
  }
  if (Rest.empty()) throw EAufruf("Die Tiefe fehlt");
  const int32_t Tiefe = GanzzahlWert(Rest[0]);
  TRegelsystem R;
  TLauf Rezept;
  RegelsystemLaden(R, Rest, 1, &Rezept);
  for (const auto& [Feld, Wert] : Werte) FeldEingeben(*Feld, Rezept, Wert);
  const TEinstellungen& E = Rezept.Einstellungen;
  std::string Text =
      E.Regelwahl == TRegelwahl::Zufaellig ? R.Ableitung(Tiefe, E.Saat) : R.Ableitung(Tiefe);
  std::string Ausgabe = Text + "\n";
  R.NichtterminaleEntfernen(Text);
  Schreiben(Ausgabe + Text + "\n");
  return 0;
}

int HilfeAusgeben(const TOptionen&);

struct TAufgabe {
  const char* Name;
  const char* Aufruf;
  const char* Beschreibung;
  int (*Ausfuehren)(const TOptionen&);
};

const TAufgabe Aufgaben[] = {
    {"--regelsystem", "--regelsystem [DATEI.LSY]",
     "Schreibt das Regelsystem genau so, wie es als .LSY-Datei gespeichert wird.\n"
     "Ohne Datei: das eingebaute Regelsystem (Regeln sortiert);\n"
     "mit Datei: ihr Inhalt, die Regeln in der Reihenfolge der Datei.\n"
     "DATEI.LSY darf auch ein Bild mit Rezept sein (.png, .svg).",
     RegelsystemAusgeben},
    {"--ableitung", "--ableitung N [DATEI.LSY] [--regelwahl erste|zufall] [--saat N]",
     "Schreibt zwei Zeilen: die abgeleitete Zeichenkette der Tiefe N und\n"
     "die Kette der Terminalzeichen (+ - F [ ] f) dieser Tiefe.\n"
     "Mit --regelwahl zufall erhält jedes Zeichen mit mehreren Regeln eine\n"
     "davon, gewählt aus der Saat (--saat, vor oder nach der Datei).\n"
     "DATEI.LSY darf auch ein Bild mit Rezept sein (.png, .svg).",
     AbleitungAusgeben},
    {"--help", "--help", "Zeigt diese Hilfe.", HilfeAusgeben},
};

int HilfeAusgeben(const TOptionen&) {
  std::string Text =
      "Aufruf: rankenwerk-render AUFGABE [ARGUMENTE]\n"
      "Rankenwerk 4.0 ohne Fenster: Lindenmayer-Systeme einlesen und ableiten.\n\n";
  for (const TAufgabe& A : Aufgaben) {
    Text += "  " + std::string(A.Aufruf) + "\n";
    std::string Beschreibung = A.Beschreibung;
    for (size_t Anfang = 0; Anfang < Beschreibung.size();) {
      size_t Ende = Beschreibung.find('\n', Anfang);
      if (Ende == std::string::npos) Ende = Beschreibung.size();
      Text += "      " + Beschreibung.substr(Anfang, Ende - Anfang) + "\n";
      Anfang = Ende + 1;
    }
  }
  Text += BildHilfe();
  Text +=
      "\nAlle Fehler (Datei, Regelzeile, Zahl, zu lange Zeichenkette) stehen als\n"
      "eine Zeile auf der Standardfehlerausgabe; der Rückgabewert ist dann 1.\n";
  Schreiben(Text);
  return 0;
}

TOptionen Zerlegen(int argc, char** argv) {
  if (argc < 2) throw EAufruf("Keine Aufgabe angegeben");
  TOptionen O;
  O.Aufgabe = argv[1];
  if (O.Aufgabe == "-h") O.Aufgabe = "--help";
  for (int i = 2; i < argc; ++i) O.Argumente.push_back(argv[i]);
  return O;
}

int Ausfuehren(const TOptionen& O) {
  for (const TAufgabe& A : Aufgaben)
    if (O.Aufgabe == A.Name) return A.Ausfuehren(O);
  throw EAufruf("Unbekannte Aufgabe: " + O.Aufgabe);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> Argumente(argv + 1, argv + argc);
  if (IstBildaufruf(Argumente)) {
    std::string Fehler;
    int Ergebnis = BildAusgeben(Argumente, Fehler);
    if (Ergebnis != 0) std::fprintf(stderr, "%s\n", Fehler.c_str());
    return Ergebnis;
  }
  try {
    return Ausfuehren(Zerlegen(argc, argv));
  } catch (const EAufruf& e) {
    std::fprintf(stderr, "%s (Hilfe: rankenwerk-render --help)\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return 1;
}
