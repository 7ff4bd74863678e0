// The drawing settings as one value, the settings in force, and the random
// generator that a run draws from.
#pragma once

#include <cstdint>

constexpr int32_t StartTiefe = 2;
constexpr double StartSchrittweite = 10.0;
constexpr int32_t MaxTiefe = 30;

// How a character with several rules is replaced: by the first of them, or
// by one chosen from the seed and the character's place in the derivation.
enum class TRegelwahl : uint8_t { ErsteRegel, Zufaellig };
// What decides a line's colour between Zeichenfarbe and Endfarbe.
enum class TFaerbung : uint8_t { Einfarbig, Verzweigung, Alter, Regel };
// Whether "{", "}" and "|" draw leaves and turn around, or do nothing.
enum class TZeichensatz : uint8_t { Klassisch, MitBlaettern };

// Everything a drawing run reads besides the rule system and where it starts.
// A new setting is a member here and a row in the field table (Rezeptfelder),
// which gives it its place in recipes, on the command line and its check.
struct TEinstellungen {
  bool Zufallsmodus = false;
  bool SchrittweiteAnpassen = true;
  bool Schrittmodus = false;
  uint32_t Zeichenfarbe = 0x008000;  // 0x00BBGGRR
  double Anfangsdicke = 1.0;
  double Schwundfaktor = 1.0;  // = 1 - shrink per level in percent / 100
  double AbweichungPlus = 0.3;
  double AbweichungMinus = 0.3;
  double AbweichungSchritt = 0.3;
  // Each run places the start so that the drawing sits in the middle of the
  // surface, instead of starting where the user put it.
  bool Zentriert = false;
  // The random generator's state that the next run starts from.
  uint32_t Saat = 0;
  TRegelwahl Regelwahl = TRegelwahl::ErsteRegel;
  TFaerbung Faerbung = TFaerbung::Einfarbig;
  uint32_t Endfarbe = 0x90EE90;     // 0x00BBGGRR: the colour of the last level
  uint32_t Hintergrund = 0xFFFFFF;  // 0x00BBGGRR
  TZeichensatz Zeichensatz = TZeichensatz::Klassisch;

  bool operator==(const TEinstellungen&) const = default;
};

// The colour of a blank surface (0x00BBGGRR): what every picture a run draws
// on shows before the first line.
constexpr uint32_t Hintergrundfarbe(const TEinstellungen& E) { return E.Hintergrund; }

// The settings in force, for the whole program.
extern TEinstellungen Einstellungen;

// The random generator of one run; 0 at program start. Each "F", "f", "+"
// and "-" of random mode draws one number.
struct TZufall {
  uint32_t Zufallszustand = 0;

  // The next value in [0, 1).
  double Zufallszahl() {
    Zufallszustand = Zufallszustand * 134775813u + 1u;
    return Zufallszustand / 4294967296.0;
  }
  // A factor uniform in [1 - Abweichung, 1 + Abweichung); floating-point
  // faults raise errors.
  double Zufallsfaktor(double Abweichung);
};
