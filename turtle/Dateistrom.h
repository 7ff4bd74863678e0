// A file written safely and in pieces: the bytes go, buffered, into a
// temporary file in the target's folder, which replaces the target only when
// Abschliessen succeeds. A stream dropped unfinished removes its temporary
// file, so a failed write neither damages an existing file nor leaves debris.
#pragma once

#include <string>
#include <string_view>

class TDateistrom {
 public:
  // Creates the temporary file. Every failure, here and later, throws
  // std::runtime_error("Die Datei <Name> kann nicht geschrieben werden: <Grund>").
  explicit TDateistrom(const std::string& Dateiname);
  ~TDateistrom();
  TDateistrom(const TDateistrom&) = delete;
  TDateistrom& operator=(const TDateistrom&) = delete;

  void Schreiben(std::string_view Text) {
    if (Text.size() <= Platz - Puffer.size()) [[likely]] {
      Puffer.append(Text);
      return;
    }
    Ueberlauf(Text);
  }
  // Writes the rest, makes the file durable and renames it over the target.
  // After a failed write it throws that write's error again.
  void Abschliessen();

 private:
  static constexpr size_t Platz = size_t{1} << 20;

  void Ueberlauf(std::string_view Text);
  void Leeren();
  void Aufraeumen();  // closes and removes the temporary file
  [[noreturn]] void Fehler(int Nummer);

  std::string Name;  // as the caller gave it, for messages
  std::string Ziel;  // the file replaced in the end (a symlink's target)
  std::string Temp;
  int fd = -1;  // open while the temporary file exists
  std::string Puffer;
  std::string Meldung;  // the first error, once there was one
  bool Fertig = false;
};
