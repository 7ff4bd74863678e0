#include "turtle/Dateistrom.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "helpers/Dateien.h"

TDateistrom::TDateistrom(const std::string& Dateiname) : Name(Dateiname), Ziel(Dateiname) {
  if (Dateiname.empty()) Fehler(ENOENT);
  // Write through a symlink to its target, so the link itself survives.
  struct stat Info;
  if (lstat(Dateiname.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode)) {
    if (char* Echt = realpath(Dateiname.c_str(), nullptr)) {
      Ziel = Echt;
      std::free(Echt);
    }
  }
  mode_t Rechte;
  if (stat(Ziel.c_str(), &Info) == 0) {
    if (S_ISDIR(Info.st_mode)) Fehler(EISDIR);
    // The rename would replace a write-protected file; it stays protected.
    if (access(Ziel.c_str(), W_OK) != 0) Fehler(errno);
    Rechte = Info.st_mode & 07777;
  } else {
    const mode_t Maske = umask(0);
    umask(Maske);
    Rechte = 0666 & ~Maske;
  }
  // A hidden name beside the target: ".name.XXXXXX".
  const size_t Schnitt = Ziel.rfind('/');
  const size_t Anfang = Schnitt == std::string::npos ? 0 : Schnitt + 1;
  Temp = Ziel.substr(0, Anfang) + "." + Ziel.substr(Anfang) + ".XXXXXX";
  fd = mkostemp(Temp.data(), O_CLOEXEC);
  if (fd < 0) Fehler(errno);
  if (fchmod(fd, Rechte) != 0) {
    const int Nummer = errno;
    Aufraeumen();
    Fehler(Nummer);
  }
  Puffer.reserve(Platz);
}

TDateistrom::~TDateistrom() { Aufraeumen(); }

void TDateistrom::Aufraeumen() {
  if (fd < 0) return;
  close(fd);
  fd = -1;
  unlink(Temp.c_str());
}

void TDateistrom::Fehler(int Nummer) {
  // A file that is to be created is missing only when its folder is.
  if (Meldung.empty())
    Meldung = "Die Datei " + Name + " kann nicht geschrieben werden: " +
              DateiFehlertext(Nummer == ENOENT ? ENOTDIR : Nummer);
  throw std::runtime_error(Meldung);
}

void TDateistrom::Leeren() {
  if (!Meldung.empty()) throw std::runtime_error(Meldung);
  size_t Geschrieben = 0;
  while (Geschrieben < Puffer.size()) {
    const ssize_t n = write(fd, Puffer.data() + Geschrieben, Puffer.size() - Geschrieben);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fehler(errno);
    }
    Geschrieben += static_cast<size_t>(n);
  }
  Puffer.clear();
}

void TDateistrom::Ueberlauf(std::string_view Text) {
  Leeren();
  if (Text.size() < Platz) {
    Puffer.append(Text);
    return;
  }
  Puffer.assign(Text);
  Leeren();
}

void TDateistrom::Abschliessen() {
  if (Fertig) return;
  Leeren();
  int Nummer = 0;
  if (fsync(fd) != 0) Nummer = errno;
  if (close(fd) != 0 && Nummer == 0) Nummer = errno;
  fd = -1;
  if (Nummer == 0 && rename(Temp.c_str(), Ziel.c_str()) != 0) Nummer = errno;
  if (Nummer != 0) {
    unlink(Temp.c_str());
    Fehler(Nummer);
  }
  Fertig = true;
  // Make the rename itself durable; a failure here no longer endangers the data.
  const int Dir = open(Ordner(Ziel).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Dir >= 0) {
    fsync(Dir);
    close(Dir);
  }
}
