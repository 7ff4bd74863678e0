// What the file operations of rule systems and pictures share.
#pragma once

#include <string>

// The message of an operating-system error of a file ("Datei nicht gefunden",
// "Dateizugriff verweigert", "Zu wenig Speicherplatz", ... "E/A-Fehler <n>").
std::string DateiFehlertext(int Nummer);

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string Ordner(const std::string& Pfad);
