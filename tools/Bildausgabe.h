// rankenwerk-render's pictures: one drawing run at once on a white surface,
// written as PNG or SVG, with the defaults of a freshly opened drawing window.
#pragma once

#include <string>
#include <vector>

// True when the arguments (without the program name) ask for a picture: they
// name "-o".
bool IstBildaufruf(const std::vector<std::string>& Argumente);

// Draws and writes the picture. Returns 0, or 1 with the message in Fehler;
// a drawing that ends with an error still writes what was drawn so far.
int BildAusgeben(const std::vector<std::string>& Argumente, std::string& Fehler);

// The help text of the picture options.
std::string BildHilfe();
