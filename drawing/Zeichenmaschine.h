// The drawing engine: what each character does to the turtle, the recursive and
// step-by-step drawings, the step-size fitting and the sequence of one run.
// It needs no window: what it needs of one is TZeichenfensterSchnittstelle.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class TRegelsystem;
class TTurtle;

// Program-wide drawing settings in force.
extern bool Zufallsmodus;            // false
extern bool SchrittweiteAnpassen;    // true
extern bool Schrittmodus;            // false
extern uint32_t Zeichenfarbe;        // 0x008000
extern double Anfangsdicke;          // 1.0
extern double Schwundfaktor;         // 1.0
extern double AbweichungPlus;        // 0.3
extern double AbweichungMinus;       // 0.3
extern double AbweichungSchritt;     // 0.3
constexpr int32_t StartTiefe = 2;
constexpr double StartSchrittweite = 10.0;
constexpr int32_t MaxTiefe = 30;

// The one random generator of the program; 0 at start.
extern uint32_t Zufallszustand;
double Zufallszahl();                 // next value in [0, 1)
double Zufallsfaktor(double Abweichung);

// What the engine needs of the drawing window. Tests implement it too.
class TZeichenfensterSchnittstelle {
 public:
  virtual ~TZeichenfensterSchnittstelle() = default;
  // Runs all pending window messages (the engine decides how often).
  virtual void NachrichtenVerarbeiten() = 0;
  // BAbbrechen visible and enabled, or hidden and disabled.
  virtual void AbbrechenZeigen(bool An) = 0;
  // Shows the continue prompt modally; true only when the user chose "OK".
  virtual bool WeiterFragen() = 0;
  // Places the continue prompt below EString, right of the control panel.
  virtual void WeiterBoxPlatzieren() = 0;
  virtual void ZeichenSetzen(const std::string& Text) = 0;  // text of EZeichen
  virtual void ZeichenfeldZeigen(bool An) = 0;              // EZeichen
  virtual void StringZeigen(bool An, const std::string& Text) = 0;  // EString
  // ESchrittweite shows the new step size (3 decimals).
  virtual void SchrittweiteAnzeigen(double Schrittweite) = 0;
  // Plain message box.
  virtual void Meldung(const std::string& Text) = 0;
  virtual int ClientBreite() const = 0;
  virtual int ClientHoehe() const = 0;
};
