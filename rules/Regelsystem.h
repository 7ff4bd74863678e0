// The rule system: axiom, ordered rules, turning angles, derivation and .LSY files.
// Texts are 8-bit bytes (Windows-1252) and are never converted here; error
// messages are UTF-8.
#pragma once

#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct TRegel {
  char Kopf = '*';    // the character replaced; never a blank
  std::string Rumpf;  // the replacement; no blanks, balanced brackets
};

// A derived string grew beyond MaxStringlaenge.
class EZulang : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr int MaxStringlaenge = 50000;

// The built-in rule lines, blanks exactly as the user would see them.
extern const char* const StandardRegeln[3];

// Deletes every blank (code 32) from the text.
void LeerzeichenEntfernen(std::string& Text);
// -1 when a "]" closes nothing, 1 when a "[" stays open, else 0.
int KlammernPruefen(const std::string& Text);
// Order of Sortieren: -1, 0, 1 by the heads' character codes.
int KopfVergleich(const TRegel& A, const TRegel& B);

class TRegelsystem {
 public:
  TRegelsystem();
  TRegelsystem(const TRegelsystem&) = delete;
  TRegelsystem& operator=(const TRegelsystem&) = delete;

  std::bitset<256> Terminalzeichen;  // + - F [ ] f
  std::string Axiom = "A";
  int32_t Tiefe = 0;  // depth of the main window's derived-strings view
  double WinkelPlus = 30.0;
  double WinkelMinus = 30.0;

  int Count() const { return static_cast<int>(Regeln.size()); }
  // Throws "Listenindex überschreitet das Maximum (<i>)" outside 0..Count-1.
  const TRegel& Items(int i) const;
  void Delete(int i);
  // Writes head and replacement of rule i directly (the editor has validated them).
  void RegelSetzen(int i, char Kopf, const std::string& Rumpf);

  // Validates a rule line; Meldung is "leer", "Regelkopf falsch" or "Klammerfehler".
  static bool RegelZerlegen(std::string Zeile, std::string& Meldung, std::string& Rumpf,
                            char& Kopf);
  // Appends the rule; throws std::runtime_error(Meldung) for an invalid line.
  void RegelHinzufuegen(const std::string& Zeile);
  // Overwrites rule Position; index error first, then the line's error.
  void RegelErsetzen(const std::string& Zeile, int Position);
  void RegelnHinzufuegen(const char* const (&Zeilen)[3]);
  static std::string RegelAlsText(const TRegel& Regel);
  void Sortieren();

  // Replacement of the first rule with this head, else the character itself.
  std::string Ersetzung(char c) const;
  // Index of the first rule with this head, or -1. For callers that avoid copies.
  int RegelIndex(char c) const;

  // One parallel rewriting step; throws EZulang and leaves Text unchanged.
  void Ableitungsschritt(std::string& Text) const;
  std::string Ableitung(int32_t Tiefe) const;
  // Removes what is not terminal; with Blaetter the characters of leaves
  // ("{", "}", "|") count as terminal too.
  void NichtterminaleEntfernen(std::string& Text, bool Blaetter = false) const;
  std::string TerminalAbleitung(int32_t Tiefe) const;
  // The same with the random choice from the seed Saat (rules/Regelwahl.h):
  // each character with rules is replaced by one of them, chosen by its
  // path; Pfade holds the path of each character of Text and follows it.
  void Ableitungsschritt(std::string& Text, std::vector<uint64_t>& Pfade) const;
  std::string Ableitung(int32_t Tiefe, uint32_t Saat) const;
  std::string TerminalAbleitung(int32_t Tiefe, uint32_t Saat) const;
  // Some head has more than one rule: the choice of rules decides.
  bool MehrereRegelnJeKopf() const;

  // Replaces rules, axiom and angles by the file's content, all or nothing.
  // Refuses, without blocking, anything but a regular file of at most 16 MiB.
  void Laden(const std::string& Dateiname);
  // The same for a file's content already in memory (a rule system carried by a picture).
  void InhaltLaden(const std::string& Inhalt);
  // Writes the file safely: the old file stays intact when writing fails.
  // Replaces it by a temporary file where that keeps it as it was (links,
  // owner, group, mode), else overwrites it in place; symlinks are followed.
  void Speichern(const std::string& Dateiname) const;
  // The bytes Speichern writes; raises the floating-point error of a non-finite angle.
  std::string Dateiinhalt() const;

  // Grows with every change of the rules, so that callers may cache lookups;
  // never the same for two different rule systems.
  uint64_t Stand() const { return Aenderungen; }

 private:
  // Called after every change of the rule list: new Stand, new lookup table.
  void Geaendert();
  // From counts of characters, the first of up to Tiefe steps whose string
  // passes MaxStringlaenge, or 0; Gesehen is how many steps were looked at.
  // Looks no further where counts come to rest or the depth-first build
  // would cost too much: those are left to stepping.
  int64_t Vorausschau(int64_t Tiefe, int64_t& Gesehen) const;
  // The string of that depth, built depth first from the axiom; no length check.
  std::string TiefenAbleitung(int64_t Tiefe) const;
  // Schritte more steps of the first rules from Text; a string that repeats
  // takes the rest modulo its period, so huge numbers of steps end at once.
  void Fortsetzen(std::string& Text, int64_t Schritte) const;

  std::vector<TRegel> Regeln;
  uint64_t Aenderungen = 0;
  int ErsteRegel[256];  // index of the first rule per head, -1 for none
};
