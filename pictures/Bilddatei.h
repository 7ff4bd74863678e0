// Picture files that carry the recipe of their drawing as text: a PNG in a
// text chunk, an SVG in its <metadata> (see TSvgLeinwand).
#pragma once

#include <QImage>
#include <cstddef>
#include <optional>
#include <string>

// Key of the PNG text chunk; the recipe text begins with it as well.
constexpr const char* RezeptSchluessel = "Rankenwerk-Rezept";
// The longest recipe text looked for; a picture file is never read further
// than its chunks' headers, that chunk, or an SVG's first 32 MiB.
constexpr size_t MaxRezepttext = size_t{16} << 20;

// Writes the picture as PNG with Rezepttext (printable ASCII and LF) in a
// text chunk, through a temporary file that goes in place only when all was
// written (see TDateistrom); an empty Rezepttext writes no chunk. Throws std::runtime_error("Die
// Datei <Datei> kann nicht geschrieben werden..."). Pass the image with
// std::move where it is large: a shared one is copied for the text.
void PngSpeichern(QImage Bild, const std::string& Datei, const std::string& Rezepttext);

// The recipe text a PNG or SVG file carries, told apart by content. Throws
// std::runtime_error with the German message when the file can't be read,
// is neither a PNG nor an SVG picture ("Die Datei ist weder ein PNG- noch ein
// SVG-Bild"), carries no recipe ("Das Bild enthält kein Rankenwerk-Rezept"),
// or one that is damaged or too long ("Bild enthält kein gültiges Rezept: ...").
// Never blocks on a pipe or device.
std::string RezeptTextLesen(const std::string& Datei);

// True for names that end in ".png" or ".svg", in any case.
bool IstBilddatei(const std::string& Datei);

class TRegelsystem;

// A file given for loading, told apart by its content, whatever its name: a
// PNG or SVG picture gives its recipe text (errors as RezeptTextLesen), and R
// stays; anything else loads into R as a rule system, all or nothing, and
// gives nothing. A file that cannot be read goes by its name, so that the
// error says what the name promised; one named like a picture that is neither
// picture nor rule system says so, "Die Datei ist weder ein PNG- noch ein
// SVG-Bild noch ein Regelsystem: " and why it is none.
std::optional<std::string> RegelnOderRezeptLesen(const std::string& Datei, TRegelsystem& R);
