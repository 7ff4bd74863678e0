#include "rules/Regelsystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "helpers/Dateien.h"
#include "helpers/Dateistrom.h"
#include "helpers/Gleitkomma.h"
#include "helpers/Hilfen.h"

const char* const StandardRegeln[3] = {"F->FB", "B ->F", " A -> FF+[FA]--[FA]"};

void LeerzeichenEntfernen(std::string& Text) {
  Text.erase(std::remove(Text.begin(), Text.end(), ' '), Text.end());
}

int KlammernPruefen(const std::string& Text) {
  int Zaehler = 0;
  for (char c : Text) {
    if (c == '[') {
      ++Zaehler;
    } else if (c == ']') {
      if (--Zaehler < 0) return -1;
    }
  }
  return Zaehler > 0 ? 1 : 0;
}

int KopfVergleich(const TRegel& A, const TRegel& B) {
  const auto a = static_cast<unsigned char>(A.Kopf);
  const auto b = static_cast<unsigned char>(B.Kopf);
  return a < b ? -1 : (a > b ? 1 : 0);
}

namespace {

[[noreturn]] void IndexFehler(int i) {
  throw std::runtime_error("Listenindex überschreitet das Maximum (" + std::to_string(i) + ")");
}

// Loading reads no more than this; no rule system comes near it, and a bigger
// file is most likely not one at all.
constexpr off_t GroessteDatei = 16 * 1024 * 1024;

[[noreturn]] void ZuGross() { throw std::runtime_error("Datei ist zu groß (mehr als 16 MiB)"); }

// Reads the whole file from its start, but stops one byte beyond GroessteDatei.
// Returns 0 or the error number.
int AllesLesen(int fd, std::string& Inhalt) {
  Inhalt.clear();
  char Puffer[65536];
  while (Inhalt.size() <= static_cast<size_t>(GroessteDatei)) {
    const ssize_t n = pread(fd, Puffer, sizeof Puffer, static_cast<off_t>(Inhalt.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;
    Inhalt.append(Puffer, static_cast<size_t>(n));
  }
  return 0;
}

std::string DateiLesen(const std::string& Dateiname) {
  struct stat Info;
  const int fd = DateiOeffnen(Dateiname, O_RDONLY, Info);
  if (fd < 0) throw std::runtime_error(DateiFehlertext(errno));
  std::string Inhalt;
  // The size is checked before reading and again after: the file may have grown.
  const bool Gross = Info.st_size > GroessteDatei;
  const int Fehler = Gross ? 0 : AllesLesen(fd, Inhalt);
  close(fd);
  if (Fehler != 0) throw std::runtime_error(DateiFehlertext(Fehler));
  if (Gross || Inhalt.size() > static_cast<size_t>(GroessteDatei)) ZuGross();
  return Inhalt;
}

// Sequential reader of a text file's content with the line rules of .LSY files.
class TLeser {
 public:
  explicit TLeser(std::string Text) : Inhalt(std::move(Text)) {
    // Ctrl-Z ends the file.
    const size_t z = Inhalt.find('\x1a');
    if (z != std::string::npos) Inhalt.resize(z);
  }

  bool Ende() const { return Pos >= Inhalt.size(); }

  // Text up to the next LF; CRs are dropped, the LF is consumed.
  std::string Zeile() {
    std::string Text;
    while (Pos < Inhalt.size() && Inhalt[Pos] != '\n') {
      if (Inhalt[Pos] != '\r') Text += Inhalt[Pos];
      ++Pos;
    }
    if (Pos < Inhalt.size()) ++Pos;
    return Text;
  }

  void RestDerZeile() { Zeile(); }

  double Zahl() {
    while (Pos < Inhalt.size() && static_cast<unsigned char>(Inhalt[Pos]) <= 32) ++Pos;
    if (Ende()) return 0.0;
    std::string Wort;
    while (Pos < Inhalt.size() && static_cast<unsigned char>(Inhalt[Pos]) > 32 && Wort.size() < 64)
      Wort += Inhalt[Pos++];
    return ZahlWert(Wort);
  }

 private:
  static bool Ziffer(char c) { return c >= '0' && c <= '9'; }

  // Sign, digits, optional point and digits, optional exponent with digits.
  static double ZahlWert(const std::string& Wort) {
    size_t i = 0;
    const size_t n = Wort.size();
    if (i < n && (Wort[i] == '+' || Wort[i] == '-')) ++i;
    size_t Ziffern = 0;
    while (i < n && Ziffer(Wort[i])) ++i, ++Ziffern;
    if (i < n && Wort[i] == '.') {
      ++i;
      while (i < n && Ziffer(Wort[i])) ++i, ++Ziffern;
    }
    if (Ziffern == 0) throw std::runtime_error("Ungültige numerische Eingabe");
    if (i < n && (Wort[i] == 'e' || Wort[i] == 'E')) {
      ++i;
      if (i < n && (Wort[i] == '+' || Wort[i] == '-')) ++i;
      size_t ExpZiffern = 0;
      while (i < n && Ziffer(Wort[i])) ++i, ++ExpZiffern;
      if (ExpZiffern == 0) throw std::runtime_error("Ungültige numerische Eingabe");
    }
    if (i != n) throw std::runtime_error("Ungültige numerische Eingabe");
    return Gk(DezimalzahlLesen(Wort));
  }

  std::string Inhalt;
  size_t Pos = 0;
};

// 23 characters: sign place, d.dddddddddddddd, E, exponent sign, 4 digits;
// 15 significant digits, halves away from zero on the exact value.
std::string ZahlAlsDateitext(double Zahl) {
  Gk(Zahl);
  // 770 digits are enough for the exact expansion of every double.
  char Puffer[800];
  std::snprintf(Puffer, sizeof Puffer, "%.770e", Zahl < 0 ? -Zahl : Zahl);
  std::string Ziffern;
  const char* p = Puffer;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') Ziffern += *p;
  long Exponent = std::strtol(p + 1, nullptr, 10);
  std::string Stellen = Ziffern.substr(0, 15);
  // Near the largest double, rounding up would write a number that no longer
  // loads; there the digits are cut instead.
  const bool Aufrunden =
      Ziffern[15] >= '5' && !(Exponent == 308 && Stellen.compare("179769313486231") >= 0);
  if (Aufrunden) {
    size_t j = Stellen.size();
    while (j > 0 && Stellen[j - 1] == '9') Stellen[--j] = '0';
    if (j == 0) {
      Stellen.insert(Stellen.begin(), '1');
      Stellen.pop_back();
      ++Exponent;
    } else {
      ++Stellen[j - 1];
    }
  }
  if (Zahl == 0) Exponent = 0;
  char Text[32];
  std::snprintf(Text, sizeof Text, "%c%c.%sE%c%04ld", Zahl < 0 ? '-' : ' ', Stellen[0],
                Stellen.c_str() + 1, Exponent < 0 ? '-' : '+', Exponent < 0 ? -Exponent : Exponent);
  return Text;
}

// Drawn from one counter for all rule systems, so that no two states of any
// two systems share a Stand and a cache keyed by it can't mix them up.
std::atomic<uint64_t> LetzterStand{0};
}  // namespace

TRegelsystem::TRegelsystem() {
  for (char c : std::string("+-F[]f")) Terminalzeichen.set(static_cast<unsigned char>(c));
  std::fill(std::begin(ErsteRegel), std::end(ErsteRegel), -1);
  Aenderungen = ++LetzterStand;
}

void TRegelsystem::Geaendert() {
  Aenderungen = ++LetzterStand;
  std::fill(std::begin(ErsteRegel), std::end(ErsteRegel), -1);
  for (int i = Count() - 1; i >= 0; --i)
    ErsteRegel[static_cast<unsigned char>(Regeln[static_cast<size_t>(i)].Kopf)] = i;
}

const TRegel& TRegelsystem::Items(int i) const {
  if (i < 0 || i >= Count()) IndexFehler(i);
  return Regeln[static_cast<size_t>(i)];
}

void TRegelsystem::Delete(int i) {
  if (i < 0 || i >= Count()) IndexFehler(i);
  Regeln.erase(Regeln.begin() + i);
  Geaendert();
}

void TRegelsystem::RegelSetzen(int i, char Kopf, const std::string& Rumpf) {
  if (i < 0 || i >= Count()) IndexFehler(i);
  Regeln[static_cast<size_t>(i)] = TRegel{Kopf, Rumpf};
  Geaendert();
}

bool TRegelsystem::RegelZerlegen(std::string Zeile, std::string& Meldung, std::string& Rumpf,
                                 char& Kopf) {
  Meldung.clear();
  LeerzeichenEntfernen(Zeile);
  if (Zeile.size() < 3) {
    Meldung = "leer";
    return false;
  }
  Kopf = Zeile[0];
  if (Zeile[1] != '-' || Zeile[2] != '>') {
    Meldung = "Regelkopf falsch";
    return false;
  }
  Rumpf = Zeile.substr(3);
  if (KlammernPruefen(Rumpf) != 0) {
    Meldung = "Klammerfehler";
    return false;
  }
  return true;
}

void TRegelsystem::RegelHinzufuegen(const std::string& Zeile) {
  std::string Meldung, Rumpf;
  char Kopf = 0;
  if (!RegelZerlegen(Zeile, Meldung, Rumpf, Kopf)) throw std::runtime_error(Meldung);
  Regeln.push_back(TRegel{Kopf, std::move(Rumpf)});
  Geaendert();
}

void TRegelsystem::RegelErsetzen(const std::string& Zeile, int Position) {
  if (Position < 0 || Position >= Count()) IndexFehler(Position);
  std::string Meldung, Rumpf;
  char Kopf = 0;
  if (!RegelZerlegen(Zeile, Meldung, Rumpf, Kopf)) throw std::runtime_error(Meldung);
  Regeln[static_cast<size_t>(Position)] = TRegel{Kopf, std::move(Rumpf)};
  Geaendert();
}

void TRegelsystem::RegelnHinzufuegen(const char* const (&Zeilen)[3]) {
  for (const char* Zeile : Zeilen) RegelHinzufuegen(Zeile);
}

std::string TRegelsystem::RegelAlsText(const TRegel& Regel) {
  return std::string(1, Regel.Kopf) + "->" + Regel.Rumpf;
}

void TRegelsystem::Sortieren() {
  std::stable_sort(Regeln.begin(), Regeln.end(),
                   [](const TRegel& A, const TRegel& B) { return KopfVergleich(A, B) < 0; });
  Geaendert();
}

int TRegelsystem::RegelIndex(char c) const { return ErsteRegel[static_cast<unsigned char>(c)]; }

std::string TRegelsystem::Ersetzung(char c) const {
  const int i = RegelIndex(c);
  if (i < 0) return std::string(1, c);
  return Regeln[static_cast<size_t>(i)].Rumpf;
}

void TRegelsystem::Ableitungsschritt(std::string& Text) const {
  std::string Neu;
  for (char c : Text) {
    const int i = RegelIndex(c);
    if (i < 0)
      Neu += c;
    else
      Neu += Regeln[static_cast<size_t>(i)].Rumpf;
    if (Neu.size() > static_cast<size_t>(MaxStringlaenge))
      throw EZulang("Stringlaenge ist zu groß:  " + std::to_string(Neu.size()));
  }
  Text.swap(Neu);
}

int64_t TRegelsystem::Vorausschau(int64_t Tiefe, int64_t& Gesehen) const {
  // Only how often each character occurs matters for the lengths. Counts stay
  // exact as doubles: the look ends as soon as a string would pass the limit.
  std::array<double, 256> Anzahl{}, Neu{};
  for (char c : Axiom) ++Anzahl[static_cast<unsigned char>(c)];
  // A string that grows at all passes the limit within this many steps.
  const int64_t Grenze = std::min<int64_t>(Tiefe, 2 * int64_t{MaxStringlaenge} + 2);
  // Beyond this many expansions building depth first is no cheaper than
  // stepping, which also finds repeating strings at once.
  const double Budget = 64.0 * MaxStringlaenge;
  double Expansionen = 0;
  for (Gesehen = 0; Gesehen < Grenze; ++Gesehen) {
    Neu.fill(0);
    double Laenge = 0;
    for (int c = 0; c < 256; ++c) {
      if (Anzahl[c] == 0) continue;
      const int i = ErsteRegel[c];
      const std::string* Rumpf = i < 0 ? nullptr : &Regeln[static_cast<size_t>(i)].Rumpf;
      if (!Rumpf || (Rumpf->size() == 1 && (*Rumpf)[0] == static_cast<char>(c))) {
        Neu[c] += Anzahl[c];
        Laenge += Anzahl[c];
        continue;
      }
      for (char z : *Rumpf) Neu[static_cast<unsigned char>(z)] += Anzahl[c];
      Laenge += Anzahl[c] * static_cast<double>(Rumpf->size());
      Expansionen += Anzahl[c];
    }
    if (Laenge > MaxStringlaenge) return Gesehen + 1;
    // Counts at rest never reach the limit; too much work is left to stepping.
    if (Neu == Anzahl || Expansionen > Budget) return 0;
    Anzahl.swap(Neu);
  }
  return 0;
}

std::string TRegelsystem::TiefenAbleitung(int64_t Tiefe) const {
  // Depth first: a character without a rule is written once, at the level it
  // stands, instead of being copied again by every step below it.
  std::string Ergebnis;
  struct TStufe {
    const std::string* Text;
    size_t Stelle;
    int64_t Rest;
  };
  std::vector<TStufe> Stapel{{&Axiom, 0, Tiefe}};
  while (!Stapel.empty()) {
    TStufe& Oben = Stapel.back();
    if (Oben.Stelle == Oben.Text->size()) {
      Stapel.pop_back();
      continue;
    }
    const char c = (*Oben.Text)[Oben.Stelle++];
    const int i = ErsteRegel[static_cast<unsigned char>(c)];
    if (Oben.Rest > 0 && i >= 0) {
      const std::string& Rumpf = Regeln[static_cast<size_t>(i)].Rumpf;
      if (!(Rumpf.size() == 1 && Rumpf[0] == c)) {
        const int64_t Rest = Oben.Rest - 1;
        Stapel.push_back({&Rumpf, 0, Rest});
        continue;
      }
    }
    Ergebnis += c;
  }
  return Ergebnis;
}

std::string TRegelsystem::Ableitung(int32_t Tiefe) const {
  if (Tiefe <= 0) return Axiom;
  // A string that grows by a few characters per step would be copied tens of
  // thousands of times before it reaches the limit: the lengths are worked out
  // ahead, and the string is built once, depth first.
  int64_t Gesehen = 0;
  if (const int64_t Ueberlauf = Vorausschau(Tiefe, Gesehen); Ueberlauf > 0) {
    std::string Davor = TiefenAbleitung(Ueberlauf - 1);
    Ableitungsschritt(Davor);  // raises EZulang with the length where it crossed
  }
  if (Gesehen >= Tiefe) return TiefenAbleitung(Tiefe);
  // A string that stays within the limit must sooner or later repeat; once a
  // repetition is found (Brent's method) the remaining steps are taken modulo
  // its period, so huge depths of non-growing systems end at once.
  std::string Text = Axiom;
  Fortsetzen(Text, Tiefe);
  return Text;
}

void TRegelsystem::Fortsetzen(std::string& Text, int64_t Schritte) const {
  std::string Merker = Text;
  int64_t Potenz = 1, Periode = 0;
  for (int64_t i = 0; i < Schritte; ++i) {
    Ableitungsschritt(Text);
    ++Periode;
    if (Text == Merker) {
      for (int64_t Rest = (Schritte - i - 1) % Periode; Rest > 0; --Rest) Ableitungsschritt(Text);
      break;
    }
    if (Periode == Potenz) {
      Merker = Text;
      Potenz *= 2;
      Periode = 0;
    }
  }
}

void TRegelsystem::NichtterminaleEntfernen(std::string& Text, bool Blaetter) const {
  std::erase_if(Text, [this, Blaetter](char c) {
    return !Terminalzeichen.test(static_cast<unsigned char>(c)) &&
           !(Blaetter && (c == '{' || c == '}' || c == '|'));
  });
}

std::string TRegelsystem::TerminalAbleitung(int32_t Tiefe) const {
  std::string Text = Ableitung(Tiefe);
  NichtterminaleEntfernen(Text);
  return Text;
}

void TRegelsystem::Laden(const std::string& Dateiname) { InhaltLaden(DateiLesen(Dateiname)); }

void TRegelsystem::InhaltLaden(const std::string& Inhalt) {
  // Everything is read into locals first, so a failure leaves this system as it was.
  TLeser Leser(Inhalt);
  std::string NeuesAxiom = Leser.Zeile();
  const double NeuPlus = Leser.Zahl();
  Leser.RestDerZeile();
  const double NeuMinus = Leser.Zahl();
  Leser.RestDerZeile();
  std::vector<TRegel> NeueRegeln;
  while (!Leser.Ende()) {
    std::string Meldung, Rumpf;
    char Kopf = 0;
    if (!RegelZerlegen(Leser.Zeile(), Meldung, Rumpf, Kopf)) throw std::runtime_error(Meldung);
    NeueRegeln.push_back(TRegel{Kopf, std::move(Rumpf)});
  }
  Axiom.swap(NeuesAxiom);
  WinkelPlus = NeuPlus;
  WinkelMinus = NeuMinus;
  Regeln.swap(NeueRegeln);
  Geaendert();
}

std::string TRegelsystem::Dateiinhalt() const {
  std::string Text = Axiom + "\r\n";
  Text += ZahlAlsDateitext(WinkelPlus) + "\r\n";
  Text += ZahlAlsDateitext(WinkelMinus) + "\r\n";
  for (const TRegel& Regel : Regeln) Text += RegelAlsText(Regel) + "\r\n";
  return Text;
}

void TRegelsystem::Speichern(const std::string& Dateiname) const {
  DateiSchreiben(Dateiname, Dateiinhalt(), TFehlerform::Grund);
}
