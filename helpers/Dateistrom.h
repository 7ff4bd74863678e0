// A file written safely, whole or in pieces. The bytes go, buffered, into a
// temporary file; only Abschliessen puts them in place: by renaming that file
// over the target, or, where a new file would not be the old one (a folder
// that may not be written, more than one hard link, an owner or group a new
// file cannot get), by overwriting the target where it is. A stream dropped
// unfinished, or one whose write failed, leaves the old file as it was and no
// temporary file behind.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

// How failures read: the bare reason ("Dateizugriff verweigert"), or
// "Die Datei <Name> kann nicht geschrieben werden: <Grund>".
enum class TFehlerform { Grund, MitName };

class TDateistrom {
 public:
  // Bytes collected before they go to the file; a text at least this long
  // is written at once.
  static constexpr size_t Puffergroesse = size_t{1} << 20;

  // Checks the target and creates the temporary file. Every failure, here
  // and later, throws std::runtime_error worded as Form says. Symlinks are
  // followed to their final target, also one that does not exist yet; a
  // folder, FIFO, device or write-protected file is refused unopened.
  TDateistrom(const std::string& Dateiname, TFehlerform Form);
  ~TDateistrom();
  TDateistrom(const TDateistrom&) = delete;
  TDateistrom& operator=(const TDateistrom&) = delete;

  void Schreiben(std::string_view Text) {
    if (Text.size() <= Puffergroesse - Puffer.size()) [[likely]] {
      Puffer.append(Text);
      return;
    }
    Ueberlauf(Text);
  }
  // Writes the rest, makes it durable and puts it in place. After a failed
  // write it throws that write's error again.
  void Abschliessen();

 private:
  void Ueberlauf(std::string_view Text);
  void Leeren();
  void ZielOeffnen();
  void AnOrtSchreiben();
  void Aufraeumen();  // closes everything and removes the temporary file
  [[noreturn]] void Fehler(int Nummer);

  std::string Name;  // as the caller gave it, for messages
  TFehlerform Form;
  std::string Ziel;  // the file written in the end (a symlink's target)
  std::string Temp;  // the temporary file's name; empty once it has none
  int fd = -1;       // the temporary file, open until the end
  int ZielFd = -1;   // the target, open when it is to be overwritten in place
  bool Vorhanden = false;
  struct stat Alt {};  // the target as found, when Vorhanden
  bool AnOrt = false;
  uint64_t Laenge = 0;  // bytes in the temporary file
  std::string Puffer;
  std::string Meldung;  // the first error, once there was one
  bool Fertig = false;
};

// A whole content at once, in the same way.
void DateiSchreiben(const std::string& Dateiname, std::string_view Inhalt, TFehlerform Form);
