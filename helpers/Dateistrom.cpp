#include "helpers/Dateistrom.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "helpers/Dateien.h"

namespace {

// A short name of fixed length, so that it fits wherever the file's own name does.
int TempAnlegen(const std::string& Ort, std::string& Temp) {
  Temp = (Ort == "/" ? "" : Ort) + "/.rankenwerk-XXXXXX";
  return mkostemp(Temp.data(), O_CLOEXEC);
}

// A file without a name in the system's temporary folder: nothing of it is
// left behind, however the program ends. Returns -1 with errno on failure.
int NamenlosAnlegen() {
  const char* Ort = std::getenv("TMPDIR");
  std::string Temp;
  const int fd = TempAnlegen(Ort && *Ort ? Ort : "/tmp", Temp);
  if (fd >= 0) unlink(Temp.c_str());
  return fd;
}

// Writes Laenge bytes at Stelle. Returns 0 or the error number.
int AllesSchreiben(int fd, const char* Daten, size_t Laenge, uint64_t Stelle) {
  size_t Geschrieben = 0;
  while (Geschrieben < Laenge) {
    const ssize_t n = pwrite(fd, Daten + Geschrieben, Laenge - Geschrieben,
                             static_cast<off_t>(Stelle + Geschrieben));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    Geschrieben += static_cast<size_t>(n);
  }
  return 0;
}

// Makes the first Laenge bytes of Von the whole content of Nach, synced.
// Puffer is scratch space. Returns 0 or the error number.
int InhaltUebertragen(int Von, int Nach, uint64_t Laenge, std::string& Puffer) {
  for (uint64_t Stelle = 0; Stelle < Laenge;) {
    Puffer.resize(
        static_cast<size_t>(std::min<uint64_t>(TDateistrom::Puffergroesse, Laenge - Stelle)));
    const ssize_t n = pread(Von, Puffer.data(), Puffer.size(), static_cast<off_t>(Stelle));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // The source got shorter under our hands.
    if (n == 0) return EIO;
    if (const int Fehler = AllesSchreiben(Nach, Puffer.data(), static_cast<size_t>(n), Stelle))
      return Fehler;
    Stelle += static_cast<uint64_t>(n);
  }
  Puffer.clear();
  if (ftruncate(Nach, static_cast<off_t>(Laenge)) != 0 || fsync(Nach) != 0) return errno;
  return 0;
}

}  // namespace

TDateistrom::TDateistrom(const std::string& Dateiname, TFehlerform Form)
    : Name(Dateiname), Form(Form), Ziel(Dateiname) {
  if (Dateiname.empty()) Fehler(ENOENT);
  // Write through symlinks to their target, so the links themselves survive.
  if (const int Nummer = LinksAufloesen(Ziel)) Fehler(Nummer);
  struct stat Info;
  if (stat(Ziel.c_str(), &Info) == 0) {
    // Never open a FIFO or device for writing: that could block or do harm.
    if (!S_ISREG(Info.st_mode)) Fehler(EACCES);
    // A replacement would get round a write protection; the file stays protected.
    if (access(Ziel.c_str(), W_OK) != 0) Fehler(errno);
    Vorhanden = true;
    Alt = Info;
    // A replacement would split hard links apart.
    AnOrt = Info.st_nlink > 1;
  } else if (errno != ENOENT) {
    Fehler(errno);
  }
  fd = TempAnlegen(Ordner(Ziel), Temp);
  if (fd < 0) {
    const int Nummer = errno;
    // A folder that may not be written, with a file in it that may: the
    // content waits elsewhere and is then written into the file itself.
    if (!Vorhanden || (Nummer != EACCES && Nummer != EPERM)) Fehler(Nummer);
    AnOrt = true;
    Temp.clear();
    fd = NamenlosAnlegen();
    if (fd < 0) Fehler(errno);
  } else if (Vorhanden && !AnOrt && fchown(fd, Alt.st_uid, Alt.st_gid) != 0) {
    // A new file would not be the old one's to its owner or group.
    AnOrt = true;
  }
  // Opened now, so that a file that can't be overwritten fails before anything is written.
  if (AnOrt) ZielOeffnen();
}

TDateistrom::~TDateistrom() { Aufraeumen(); }

void TDateistrom::Aufraeumen() {
  if (fd >= 0) close(fd);
  fd = -1;
  if (ZielFd >= 0) close(ZielFd);
  ZielFd = -1;
  if (!Temp.empty()) unlink(Temp.c_str());
  Temp.clear();
}

void TDateistrom::Fehler(int Nummer) {
  Aufraeumen();
  Nummer = Fehlergrund(Nummer, Ziel);
  if (Meldung.empty()) {
    if (Form == TFehlerform::Grund) {
      Meldung = DateiFehlertext(Nummer);
    } else {
      // A picture's file is never looked for, so a missing one is a bad name.
      Meldung = "Die Datei " + Name + " kann nicht geschrieben werden: " +
                DateiFehlertext(Nummer == ENOENT ? ENOTDIR : Nummer);
    }
  }
  throw std::runtime_error(Meldung);
}

void TDateistrom::ZielOeffnen() {
  struct stat Info;
  ZielFd = DateiOeffnen(Ziel, O_RDWR, Info);
  if (ZielFd < 0) Fehler(errno);
}

void TDateistrom::Leeren() {
  if (!Meldung.empty()) throw std::runtime_error(Meldung);
  if (const int Nummer = AllesSchreiben(fd, Puffer.data(), Puffer.size(), Laenge)) Fehler(Nummer);
  Laenge += Puffer.size();
  Puffer.clear();
}

void TDateistrom::Ueberlauf(std::string_view Text) {
  Leeren();
  if (Text.size() < Puffergroesse) {
    Puffer.append(Text);
    return;
  }
  Puffer.assign(Text);
  Leeren();
}

void TDateistrom::Abschliessen() {
  if (Fertig) return;
  Leeren();
  if (!AnOrt) {
    mode_t Rechte = Alt.st_mode & 07777;
    if (!Vorhanden) {
      const mode_t Maske = umask(0);
      umask(Maske);
      Rechte = 0666 & ~Maske;
    }
    // The mode after the owner (set in the constructor): a change of owner clears the set-id bits.
    if (fchmod(fd, Rechte) != 0 || fsync(fd) != 0) Fehler(errno);
    if (rename(Temp.c_str(), Ziel.c_str()) != 0) {
      const int Nummer = errno;
      // A folder with the sticky bit refuses to replace another user's file.
      if (!Vorhanden || (Nummer != EACCES && Nummer != EPERM)) Fehler(Nummer);
      AnOrt = true;
      ZielOeffnen();
    } else {
      Temp.clear();
      // Make the rename itself durable; a failure here no longer endangers the data.
      const int Dir = open(Ordner(Ziel).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (Dir >= 0) {
        fsync(Dir);
        close(Dir);
      }
    }
  }
  if (AnOrt) AnOrtSchreiben();
  Aufraeumen();
  Fertig = true;
}

// The old content goes first into a copy without a name and is written back
// when the new one could not be, so the file keeps its content as well as its
// inode, owner, group and mode, at any size and without holding it in memory.
void TDateistrom::AnOrtSchreiben() {
  struct stat Info;
  if (fstat(ZielFd, &Info) != 0) Fehler(errno);
  const auto AltLaenge = static_cast<uint64_t>(Info.st_size);
  const int Sicherung = NamenlosAnlegen();
  if (Sicherung < 0) Fehler(errno);
  int Nummer = InhaltUebertragen(ZielFd, Sicherung, AltLaenge, Puffer);
  if (Nummer == 0) {
    Nummer = InhaltUebertragen(fd, ZielFd, Laenge, Puffer);
    // Only the first error counts: it is the one that explains the failure.
    if (Nummer != 0) InhaltUebertragen(Sicherung, ZielFd, AltLaenge, Puffer);
  }
  close(Sicherung);
  if (Nummer != 0) Fehler(Nummer);
}

void DateiSchreiben(const std::string& Dateiname, std::string_view Inhalt, TFehlerform Form) {
  TDateistrom Strom(Dateiname, Form);
  Strom.Schreiben(Inhalt);
  Strom.Abschliessen();
}
