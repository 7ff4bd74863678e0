#include "helpers/Dateien.h"

#include <cerrno>

std::string DateiFehlertext(int Fehler) {
  switch (Fehler) {
    case ENOENT:
      return "Datei nicht gefunden";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return "Ungültiger Dateiname";
    case EMFILE:
    case ENFILE:
      return "Zu viele geöffnete Dateien";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "Dateizugriff verweigert";
    case ENOSPC:
    case EDQUOT:
      return "Zu wenig Speicherplatz";
    default:
      return "E/A-Fehler " + std::to_string(Fehler);
  }
}

std::string Ordner(const std::string& Pfad) {
  const size_t p = Pfad.rfind('/');
  if (p == std::string::npos) return ".";
  if (p == 0) return "/";
  return Pfad.substr(0, p);
}
