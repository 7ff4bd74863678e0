#include "helpers/Dateistrom.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "helpers/TestHilfen.h"

namespace {

using Namen = std::vector<std::string>;

const std::string AlterInhalt = "alter Inhalt\r\n";
// Longer than the buffer, so that it goes to the temporary file at once.
const std::string NeuerInhalt(TDateistrom::Puffergroesse + 12345, 'n');

// How a stream over an existing file ends without success.
enum class TAusgang {
  Abgebrochen,   // dropped unfinished
  FehlerSofort,  // the bytes cannot even be set aside
  FehlerAmEnde,  // set aside, but the file itself cannot take them
};

// Streams NeuerInhalt into Datei and ends as told. Gives the message.
std::string Misslingen(const std::string& Datei, TAusgang Ausgang) {
  return Fehlertext([&] {
    TDateistrom Strom(Datei, TFehlerform::Grund);
    if (Ausgang == TAusgang::FehlerSofort) {
      TGroessengrenze Grenze(1000);
      Strom.Schreiben(NeuerInhalt);
    }
    Strom.Schreiben(NeuerInhalt);
    if (Ausgang == TAusgang::FehlerAmEnde) {
      TGroessengrenze Grenze(1000);
      Strom.Abschliessen();
    }
  });
}

class Dateistrom : public TOrdnerTest {
 protected:
  // The old file is there as it was, under all its names, and nothing else.
  void AltesUnversehrt(const std::string& Datei, ino_t Knoten, const Namen& Erwartet) {
    EXPECT_EQ(Lesen(Datei), AlterInhalt);
    EXPECT_EQ(Status(Datei).st_ino, Knoten);
    EXPECT_EQ(Inhalt(), Erwartet);
    EXPECT_EQ(Inhalt(Systemtemp), Namen{});
  }
};

// A write that is cancelled or fails leaves the old file as it was, also
// where it was to be overwritten in place (a second hard link): there the
// old content, already overwritten in part, is written back.
TEST_F(Dateistrom, MisslungenesLaesstDasAlte) {
  const struct {
    bool Hardlink;
    TAusgang Ausgang;
    const char* Meldung;
  } Faelle[] = {
      {false, TAusgang::Abgebrochen, "(kein Fehler)"},
      {true, TAusgang::Abgebrochen, "(kein Fehler)"},
      {false, TAusgang::FehlerSofort, "E/A-Fehler 27"},
      {true, TAusgang::FehlerSofort, "E/A-Fehler 27"},
      {true, TAusgang::FehlerAmEnde, "E/A-Fehler 27"},
  };
  for (const auto& F : Faelle) {
    SCOPED_TRACE(std::to_string(F.Hardlink) + " " + std::to_string(static_cast<int>(F.Ausgang)));
    const std::string Datei = Schreiben("alt", AlterInhalt);
    Namen Erwartet = {"alt"};
    if (F.Hardlink) {
      ASSERT_EQ(link(Datei.c_str(), Pfad("zweit").c_str()), 0);
      Erwartet.push_back("zweit");
    }
    const ino_t Knoten = Status(Datei).st_ino;
    EXPECT_EQ(Misslingen(Datei, F.Ausgang), F.Meldung);
    AltesUnversehrt(Datei, Knoten, Erwartet);
    unlink(Pfad("zweit").c_str());
  }
}

// What can't be a target is refused before anything is opened or created,
// in the words of each form.
TEST_F(Dateistrom, UnbrauchbareZiele) {
  Schreiben("datei", "x");
  mkdir(Pfad("ordner").c_str(), 0700);
  ASSERT_EQ(mkfifo(Pfad("fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink("fifo", Pfad("zumfifo").c_str()), 0);
  const struct {
    std::string Datei;
    const char* Grund;
    const char* MitName;
  } Faelle[] = {
      {"", "Datei nicht gefunden", "Ungültiger Dateiname"},
      {Pfad("fehlt/x"), "Ungültiger Dateiname", "Ungültiger Dateiname"},
      {Pfad("datei/x"), "Ungültiger Dateiname", "Ungültiger Dateiname"},
      {Pfad("ordner"), "Dateizugriff verweigert", "Dateizugriff verweigert"},
      {Pfad("fifo"), "Dateizugriff verweigert", "Dateizugriff verweigert"},
      {Pfad("zumfifo"), "Dateizugriff verweigert", "Dateizugriff verweigert"},
  };
  alarm(60);  // opening a FIFO to write would block
  for (const auto& F : Faelle) {
    EXPECT_EQ(Fehlertext([&] { DateiSchreiben(F.Datei, "neu", TFehlerform::Grund); }), F.Grund)
        << F.Datei;
    EXPECT_EQ(Fehlertext([&] { DateiSchreiben(F.Datei, "neu", TFehlerform::MitName); }),
              "Die Datei " + F.Datei + " kann nicht geschrieben werden: " + F.MitName);
  }
  alarm(0);
  EXPECT_TRUE(S_ISFIFO(Status(Pfad("fifo")).st_mode));
  EXPECT_EQ(Inhalt(), (Namen{"datei", "fifo", "ordner", "zumfifo"}));
  EXPECT_EQ(Inhalt(Systemtemp), Namen{});
}

// Permissions, which root does not feel: skipped as root, and run again as
// the user nobody by scripts/ohne-rechte.sh.
class Rechte : public Dateistrom {};

// In a folder that may not be written, the content waits in the system's
// temporary folder and is then written into the file itself; a cancelled or
// failed stream leaves no trace there either.
TEST_F(Rechte, GeschlossenerOrdner) {
  if (geteuid() == 0) GTEST_SKIP() << "root darf ueberall schreiben";
  const std::string Datei = Schreiben("alt", AlterInhalt);
  const ino_t Knoten = Status(Datei).st_ino;
  chmod(Ordner.c_str(), 0500);
  for (const TAusgang Ausgang : {TAusgang::Abgebrochen, TAusgang::FehlerAmEnde}) {
    EXPECT_EQ(Misslingen(Datei, Ausgang),
              Ausgang == TAusgang::Abgebrochen ? "(kein Fehler)" : "E/A-Fehler 27");
    AltesUnversehrt(Datei, Knoten, {"alt"});
  }
  EXPECT_EQ(Fehlertext([&] {
              TDateistrom Strom(Datei, TFehlerform::Grund);
              Strom.Schreiben(NeuerInhalt);
              Strom.Abschliessen();
            }),
            "(kein Fehler)");
  EXPECT_TRUE(Lesen(Datei) == NeuerInhalt);
  EXPECT_EQ(Status(Datei).st_ino, Knoten);
  EXPECT_EQ(Inhalt(), Namen{"alt"});
  EXPECT_EQ(Inhalt(Systemtemp), Namen{});
}

}  // namespace
