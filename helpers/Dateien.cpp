#include "helpers/Dateien.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

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

int Fehlergrund(int Nummer, const std::string& Pfad) {
  if (Nummer != ENOENT) return Nummer;
  struct stat Info;
  if (stat(Ordner(Pfad).c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode)) return ENOTDIR;
  return ENOENT;
}

int LinksAufloesen(std::string& Pfad) {
  for (int Schritte = 0;; ++Schritte) {
    struct stat Info;
    if (lstat(Pfad.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode)) return 0;
    // The kernel's own limit for a chain, so a loop ends as it would there.
    if (Schritte == 40) return ELOOP;
    std::string Ziel(PATH_MAX, '\0');
    const ssize_t n = readlink(Pfad.c_str(), Ziel.data(), Ziel.size());
    if (n < 0) return Fehlergrund(errno, Pfad);
    if (static_cast<size_t>(n) >= Ziel.size()) return ENAMETOOLONG;
    Ziel.resize(static_cast<size_t>(n));
    if (Ziel.empty()) return ENOENT;
    if (Ziel.front() != '/') {
      const std::string Ort = Ordner(Pfad);
      Ziel.insert(0, Ort == "/" ? Ort : Ort + "/");
    }
    Pfad = std::move(Ziel);
  }
}

int DateiOeffnen(const std::string& Pfad, int Modus, struct stat& Info) {
  int Fehler = 0;
  if (stat(Pfad.c_str(), &Info) != 0) {
    Fehler = Fehlergrund(errno, Pfad);
  } else if (!S_ISREG(Info.st_mode)) {
    Fehler = EACCES;
  }
  if (Fehler != 0) {
    errno = Fehler;
    return -1;
  }
  const int fd = open(Pfad.c_str(), Modus | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    errno = Fehlergrund(errno, Pfad);
    return -1;
  }
  if (fstat(fd, &Info) != 0) {
    Fehler = errno;
  } else if (!S_ISREG(Info.st_mode)) {
    Fehler = EACCES;
  } else {
    const int Flags = fcntl(fd, F_GETFL);
    if (Flags < 0 || fcntl(fd, F_SETFL, Flags & ~O_NONBLOCK) != 0) Fehler = errno;
  }
  if (Fehler != 0) {
    close(fd);
    errno = Fehler;
    return -1;
  }
  return fd;
}
