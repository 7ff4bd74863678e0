// The one table of a recipe's values: for each its key in the recipe text,
// its option on rankenwerk-render's command line, how it reads and writes,
// and the check it must pass with the message of the field it fills. Recipes,
// the command line and the windows' field checks all go through it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/Feldpruefung.h"
#include "engine/Lauf.h"

enum class TFeldart {
  Ganzzahl,  // int32_t, decimal
  Zahl,      // double; typed with a decimal comma or point
  Prozent,   // double held as a share, typed in percent
  Schwund,   // double held as 1 - percent / 100, typed in percent
  Wahrheit,  // bool, "ja" or "nein"
  Farbe,     // 0x00BBGGRR; typed as RRGGBB
  Zustand,   // uint32_t, decimal digits only
  Bytes,     // the rule system's file text
  Rechteck,  // X,Y,B,H: four numbers with a decimal point, commas between; optional
  Wahl       // one of the words of Woerter, held as its index
};

struct TRezeptfeld {
  const char* Schluessel;        // key in the recipe text
  const char* Option = nullptr;  // rankenwerk-render's option taking a value
  const char* Hilfe = nullptr;   // the option's value and meaning in its help, "N|Text"
  TFeldart Art = TFeldart::Zahl;
  // Where the value lives in a run, the member of its kind (the rule
  // system's text, Bytes, is the text of the run's rules).
  int32_t& (*Ganz)(TLauf&) = nullptr;
  double& (*Zahl)(TLauf&) = nullptr;
  bool& (*Wahr)(TLauf&) = nullptr;
  uint32_t& (*Wort)(TLauf&) = nullptr;
  std::optional<TRechteck>& (*Rechteck)(TLauf&) = nullptr;
  uint8_t& (*Index)(TLauf&) = nullptr;
  // The words of a Wahl, in the order of its values; the first is the default.
  std::span<const char* const> Woerter = {};
  // The field's check of a value as the recipe holds it; R is the recipe it
  // stands in, for bounds that depend on other values. Without it any value
  // of its kind passes.
  bool (*Gilt)(double Wert, const TLauf& R) = nullptr;
  // The field's message for a refused value (also for a refused text).
  std::string (*Meldung)(const TLauf& R) = nullptr;
  // Recipes from before it lack the key: it then keeps its default.
  bool Neu = false;
  // Written only when it is not its default; a recipe that has it carries
  // version 2, so that an older program refuses it rather than drawing
  // another picture.
  bool Zweite = false;
  // Read while a run goes on, after its first look at the messages (a change
  // then may alter the run): by the characters, or after the fitting.
  bool ImLauf = false;
  // A change moves the drawing's lines (a centred picture is centred anew).
  bool Verschiebt = false;
  // A change calls for a new fit of the step size (depth, surface).
  bool Anpassen = false;
  // A side of the surface: read and checked first, as other bounds depend on it.
  bool Seite = false;
};

std::span<const TRezeptfeld> Rezeptfelder();

// The row with this key, or of this command-line option; nullptr when none.
const TRezeptfeld* FeldZuSchluessel(const std::string& Schluessel);
const TRezeptfeld* FeldZuOption(const std::string& Option);

// Takes a value as the user types it (decimal comma, percent, RRGGBB), checks
// it with R as the recipe it is to stand in, and stores it in R. Throws
// EFeldfehler with the field's message; a number beyond the range of a double
// still raises "Gleitkommaüberlauf".
void FeldEingeben(const TRezeptfeld& Feld, TLauf& R, const std::string& Text);

// The index of a Wahl's word; none for a word it does not have.
std::optional<uint8_t> WortIndex(const TRezeptfeld& Feld, const std::string& Wort);

// True when the run holds the field's default value.
bool Voreingestellt(const TRezeptfeld& Feld, const TLauf& R);

// Checks every value of the recipe as its field would; throws EFeldfehler
// with the first refused field's message.
void RezeptPruefen(const TLauf& R);

// True when A and B agree in every setting that the characters read while a
// run goes on.
bool ImLaufGleich(const TEinstellungen& A, const TEinstellungen& B);
