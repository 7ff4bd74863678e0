// What the file operations of rule systems and pictures share. The functions
// that touch files report errors by number, so that each caller words them
// its own way.
#pragma once

#include <sys/stat.h>

#include <string>

// The message of an operating-system error of a file ("Datei nicht gefunden",
// "Dateizugriff verweigert", "Zu wenig Speicherplatz", ... "E/A-Fehler <n>").
std::string DateiFehlertext(int Nummer);

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string Ordner(const std::string& Pfad);

// A missing file and a missing folder both give ENOENT; the folder decides:
// ENOTDIR ("Ungültiger Dateiname") where it is missing. Other numbers stay.
int Fehlergrund(int Nummer, const std::string& Pfad);

// Follows a chain of symbolic links to the path it finally names, which need
// not exist yet; a relative target counts from the folder of its link.
// Returns 0 or the error number.
int LinksAufloesen(std::string& Pfad);

// Opens a regular file without ever blocking: a FIFO, device or socket is
// refused (EACCES) before it is opened, and again on the opened descriptor in
// case the name was replaced in between. Info describes the opened file.
// Returns the descriptor, or -1 with the reason, through Fehlergrund, in errno.
int DateiOeffnen(const std::string& Pfad, int Modus, struct stat& Info);
