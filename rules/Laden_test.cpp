#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "helpers/Hilfen.h"
#include "helpers/TestHilfen.h"
#include "rules/RegelTestHilfen.h"
#include "rules/Regelsystem.h"

namespace {

// Axiom, angles, depth and rules in one line.
std::string Kurz(const TRegelsystem& R) {
  std::ostringstream s;
  s.precision(17);
  s << '"' << R.Axiom << "\" " << R.WinkelPlus << ' ' << R.WinkelMinus << ' ' << R.Tiefe;
  if (R.Count() > 0) s << ' ' << Regeln(R);
  return s.str();
}

// Everything, for comparisons before and after a failure.
std::string Zustand(const TRegelsystem& R) { return Kurz(R) + " " + R.Terminalzeichen.to_string(); }

class Dateien : public TOrdnerTest {
 protected:
  // A system with content of its own that no test file has.
  static void Vorbelegen(TRegelsystem& R) {
    R.RegelHinzufuegen("Q->QQ");
    R.RegelHinzufuegen("R->[Q]");
    R.Axiom = " QR ";
    R.WinkelPlus = 12.5;
    R.WinkelMinus = -7.25;
    R.Tiefe = 4;
  }
};

TEST_F(Dateien, StandardSystemGespeichert) {
  TRegelsystem R;
  R.RegelnHinzufuegen(StandardRegeln);
  R.Sortieren();
  const std::string Datei = Pfad("Start.LSY");
  R.Speichern(Datei);
  EXPECT_EQ(Lesen(Datei),
            "A\r\n"
            " 3.00000000000000E+0001\r\n"
            " 3.00000000000000E+0001\r\n"
            "A->FF+[FA]--[FA]\r\n"
            "B->F\r\n"
            "F->FB\r\n");
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"Start.LSY"});
}

TEST_F(Dateien, Zahlenformat) {
  const struct {
    double Zahl;
    const char* Text;
  } Faelle[] = {
      {30.0, " 3.00000000000000E+0001"},
      {22.5, " 2.25000000000000E+0001"},
      {0.0, " 0.00000000000000E+0000"},
      {-0.0, " 0.00000000000000E+0000"},
      {-90.0, "-9.00000000000000E+0001"},
      {0.001, " 1.00000000000000E-0003"},
      {0.1, " 1.00000000000000E-0001"},
      {1.0 / 3.0, " 3.33333333333333E-0001"},
      {2.0 / 3.0, " 6.66666666666667E-0001"},
      // Exact halves at the 15th digit go away from zero.
      {1000000000000005.0, " 1.00000000000001E+0015"},
      {1000000000000025.0, " 1.00000000000003E+0015"},
      {-1000000000000025.0, "-1.00000000000003E+0015"},
      {999999999999999.5, " 1.00000000000000E+0015"},
      {999999999999999.25, " 9.99999999999999E+0014"},
      // Rounded up this would lie beyond the largest double and no longer load.
      {1.7976931348623157e308, " 1.79769313486231E+0308"},
      {1.7976931348623e308, " 1.79769313486230E+0308"},
      {1.79769313486225e308, " 1.79769313486225E+0308"},
      {-1.7976931348623157e308, "-1.79769313486231E+0308"},
      {4.9406564584124654e-324, " 4.94065645841247E-0324"},
      {-2.2250738585072014e-308, "-2.22507385850720E-0308"},
  };
  TRegelsystem R;
  const std::string Datei = Pfad("z.LSY");
  for (const auto& F : Faelle) {
    R.WinkelPlus = F.Zahl;
    R.WinkelMinus = -F.Zahl;
    R.Speichern(Datei);
    const std::string Text = Lesen(Datei);
    ASSERT_GE(Text.size(), 53u);
    EXPECT_EQ(Text.substr(3, 23), F.Text) << F.Zahl;
    EXPECT_EQ(Text.substr(26, 2), "\r\n");
    // Read back, the value is the written text's value.
    TRegelsystem Zurueck;
    Zurueck.Laden(Datei);
    EXPECT_EQ(Zurueck.WinkelPlus, std::strtod(F.Text, nullptr)) << F.Zahl;
    EXPECT_EQ(Zurueck.WinkelMinus, -Zurueck.WinkelPlus) << F.Zahl;
  }
}

TEST_F(Dateien, NichtendlicheWinkelWerdenNichtGeschrieben) {
  const std::string Datei = Schreiben("alt.LSY", "alt");
  TRegelsystem R;
  R.WinkelMinus = std::nan("");
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Datei); }), "Ungültige Gleitkommaoperation");
  R.WinkelMinus = HUGE_VAL;
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Datei); }), "Gleitkommaüberlauf");
  EXPECT_EQ(Lesen(Datei), "alt");
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"alt.LSY"});
}

TEST_F(Dateien, HinUndZurueck) {
  TRegelsystem R;
  R.RegelHinzufuegen("B ->F");
  R.RegelHinzufuegen(" Z -> [\xE4\x81\xFF] ");
  R.RegelHinzufuegen("A->");
  R.RegelHinzufuegen("A->\tx");
  R.Axiom = "  A\tB\xE4 ";
  R.WinkelPlus = 0.1 + 0.2;
  R.WinkelMinus = 123.456789012345678;
  const std::string Datei = Pfad("hin.LSY");
  R.Speichern(Datei);
  EXPECT_EQ(Lesen(Datei).substr(0, 9), "  A\tB\xE4 \r\n");
  TRegelsystem Z;
  Z.Laden(Datei);
  EXPECT_EQ(Z.Axiom, "  A\tB\xE4 ");
  EXPECT_EQ(Regeln(Z), "B->F;Z->[\xE4\x81\xFF];A->;A->\tx;");
  EXPECT_EQ(Z.WinkelPlus, 0.3);
  EXPECT_EQ(Z.WinkelMinus, 123.456789012346);
}

TEST_F(Dateien, Lesen) {
  const struct {
    const char* Name;
    std::string Inhalt;
    const char* Erwartet;  // Zustand() after loading into a new system
  } Faelle[] = {
      {"leer", "", "\"\" 0 0 0"},
      {"nur Axiom", "AB C", "\"AB C\" 0 0 0"},
      {"nur Axiom mit Zeilenende", "AB C\r\n", "\"AB C\" 0 0 0"},
      {"ein Winkel", "A\r\n45", "\"A\" 45 0 0"},
      {"drei Zeilen", "A\r\n1\r\n2\r\n", "\"A\" 1 2 0"},
      {"drei Zeilen ohne Ende", "A\r\n1\r\n2", "\"A\" 1 2 0"},
      {"Regeln", "A\r\n30\r\n30.0\r\nB ->F\r\nF->FB", "\"A\" 30 30 0 B->F;F->FB;"},
      {"nur LF", "X\n3E1\n+30\nX->Y\n", "\"X\" 30 30 0 X->Y;"},
      {"Rest der Zahlzeile", "A\r\n30 Grad\r\n-5\tx y\r\nA->B\r\n", "\"A\" 30 -5 0 A->B;"},
      {"Leerzeilen vor den Zahlen", "A\r\n\r\n \t\r\n1\r\n\r\n2\r\nA->B\r\n", "\"A\" 1 2 0 A->B;"},
      {"Zahl am Dateiende", "A\r\n\r\n\r\n", "\"A\" 0 0 0"},
      {"Strg-Z",
       "A\r\n1\r\n2\r\nA->B\r\n\x1a"
       "kaputt\r\n",
       "\"A\" 1 2 0 A->B;"},
      {"Strg-Z in der Regel", "A\r\n1\r\n2\r\nA->B\x1a]]]", "\"A\" 1 2 0 A->B;"},
      {"Strg-Z in der Zahl",
       "A\r\n1\r\n2\x1a"
       "5\r\nA->B",
       "\"A\" 1 2 0"},
      {"einzelnes CR", "A\rB\r\n1\r\n2\r\nX->\rY\r\n", "\"AB\" 1 2 0 X->Y;"},
      {"einzelnes CR endet die Zahlzeile nicht", "A\r\n1\r2\r\n3\r\n", "\"A\" 1 3 0"},
      {"CR am Ende", "A\r\n1\r\n2\r\nX->Y\r", "\"A\" 1 2 0 X->Y;"},
      {"Exponenten", "A\r\n-.5e+2\r\n25E-1\r\n", "\"A\" -50 2.5 0"},
      {"Axiom mit Blanks", "  A B  \r\n1\r\n2\r\n", "\"  A B  \" 1 2 0"},
      {"Zahl ueber 64 Zeichen", "A\r\n" + std::string(64, '1') + "99\r\n2\r\n",
       "\"A\" 1.1111111111111112e+63 2 0"},
      {"8-Bit-Zeichen", "\xE4\r\n1\r\n2\r\n\xE4->\xF6\x81\r\n", "\"\xE4\" 1 2 0 \xE4->\xF6\x81;"},
  };
  for (const auto& F : Faelle) {
    const std::string Datei = Schreiben("lesen.LSY", F.Inhalt);
    TRegelsystem R;
    EXPECT_EQ(Fehlertext([&] { R.Laden(Datei); }), "(kein Fehler)") << F.Name;
    EXPECT_EQ(Kurz(R), F.Erwartet) << F.Name;
    EXPECT_EQ(R.Terminalzeichen, TRegelsystem().Terminalzeichen) << F.Name;
  }
}

TEST_F(Dateien, LadenIstAllesOderNichts) {
  const struct {
    const char* Name;
    std::string Inhalt;
    const char* Meldung;
  } Faelle[] = {
      {"Komma", "A\r\n30,5\r\n30\r\n", "Ungültige numerische Eingabe"},
      {"zweite Zahl", "A\r\n30\r\nx\r\nA->B\r\n", "Ungültige numerische Eingabe"},
      {"Punkt allein", "A\r\n.\r\n30\r\n", "Ungültige numerische Eingabe"},
      {"Exponent ohne Ziffer", "A\r\n1e\r\n30\r\n", "Ungültige numerische Eingabe"},
      {"nur Vorzeichen", "A\r\n-\r\n30\r\n", "Ungültige numerische Eingabe"},
      {"Zahl mit Buchstabe", "A\r\n3O\r\n30\r\n", "Ungültige numerische Eingabe"},
      {"zu gross", "A\r\n1e400\r\n30\r\n", "Gleitkommaüberlauf"},
      {"Leerzeile nach der letzten Regel", "A\r\n1\r\n2\r\nA->B\r\nB->C\r\n\r\n", "leer"},
      {"Zeile aus Blanks", "A\r\n1\r\n2\r\nA->B\r\n   \r\nB->C\r\n", "leer"},
      {"Regelkopf", "A\r\n1\r\n2\r\nA->B\r\nAB->C\r\n", "Regelkopf falsch"},
      {"Klammern", "A\r\n1\r\n2\r\nA->B\r\nA->[\r\nC->D\r\n", "Klammerfehler"},
  };
  for (const auto& F : Faelle) {
    const std::string Datei = Schreiben("kaputt.LSY", F.Inhalt);
    TRegelsystem R;
    Vorbelegen(R);
    const std::string Vorher = Zustand(R);
    const uint64_t Stand = R.Stand();
    EXPECT_EQ(Fehlertext([&] { R.Laden(Datei); }), F.Meldung) << F.Name;
    EXPECT_EQ(Zustand(R), Vorher) << F.Name;
    EXPECT_EQ(R.Stand(), Stand) << F.Name;
  }
}

TEST_F(Dateien, LadenMeldetDateifehler) {
  Schreiben("datei", "A\r\n");
  mkdir(Pfad("ordner.LSY").c_str(), 0700);
  // A FIFO, a device or a socket would block or never end.
  ASSERT_EQ(mkfifo(Pfad("fifo.LSY").c_str(), 0600), 0);
  const int Sockel = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un Adresse{};
  Adresse.sun_family = AF_UNIX;
  std::strncpy(Adresse.sun_path, Pfad("sockel.LSY").c_str(), sizeof Adresse.sun_path - 1);
  ASSERT_EQ(bind(Sockel, reinterpret_cast<sockaddr*>(&Adresse), sizeof Adresse), 0);
  // Up to 16 MiB a file is read (and here fails on its content); beyond, it
  // is refused unread, however big it claims to be.
  ASSERT_EQ(truncate(Schreiben("grenze.LSY", "A\r\nx").c_str(), 16 << 20), 0);
  ASSERT_EQ(truncate(Schreiben("zugross.LSY", "A\r\n1\r\n").c_str(), (16 << 20) + 1), 0);
  ASSERT_EQ(truncate(Schreiben("riesig.LSY", "A\r\n1\r\n").c_str(), off_t{1} << 36), 0);
  const struct {
    std::string Datei;
    const char* Meldung;
  } Faelle[] = {
      {Pfad("fehlt.LSY"), "Datei nicht gefunden"},
      {"", "Datei nicht gefunden"},
      {Pfad("fehlt/x.LSY"), "Ungültiger Dateiname"},
      {Pfad("datei/x.LSY"), "Ungültiger Dateiname"},
      {Pfad(std::string(300, 'n')), "Ungültiger Dateiname"},
      {Pfad("ordner.LSY"), "Dateizugriff verweigert"},
      {Pfad("fifo.LSY"), "Dateizugriff verweigert"},
      {Pfad("sockel.LSY"), "Dateizugriff verweigert"},
      {"/dev/zero", "Dateizugriff verweigert"},
      {Pfad("grenze.LSY"), "Ungültige numerische Eingabe"},
      {Pfad("zugross.LSY"), "Datei ist zu groß (mehr als 16 MiB)"},
      {Pfad("riesig.LSY"), "Datei ist zu groß (mehr als 16 MiB)"},
  };
  alarm(60);  // a load that blocks ends the run instead of hanging it
  for (const auto& F : Faelle) {
    TRegelsystem R;
    Vorbelegen(R);
    const std::string Vorher = Zustand(R);
    EXPECT_EQ(Fehlertext([&] { R.Laden(F.Datei); }), F.Meldung) << F.Datei;
    EXPECT_EQ(Zustand(R), Vorher) << F.Datei;
  }
  alarm(0);
  close(Sockel);
}

TEST_F(Dateien, ErfolgreichesLadenErsetztAlles) {
  TRegelsystem R;
  Vorbelegen(R);
  const uint64_t Stand = R.Stand();
  R.Laden(Schreiben("gut.LSY", "X\r\n1\r\n2\r\nX->F\r\n"));
  EXPECT_EQ(Kurz(R), "\"X\" 1 2 4 X->F;");
  EXPECT_GT(R.Stand(), Stand);
  EXPECT_EQ(R.Ersetzung('Q'), "Q");
  EXPECT_EQ(R.Ersetzung('X'), "F");
}

TEST_F(Dateien, SpeichernErsetztUndBehaeltRechte) {
  const std::string Datei = Schreiben("alt.LSY", "alter Inhalt, viel laenger als der neue ......");
  chmod(Datei.c_str(), 0640);
  TRegelsystem R;
  R.Axiom = "";
  R.Speichern(Datei);
  EXPECT_EQ(Lesen(Datei), "\r\n 3.00000000000000E+0001\r\n 3.00000000000000E+0001\r\n");
  struct stat Info;
  ASSERT_EQ(stat(Datei.c_str(), &Info), 0);
  EXPECT_EQ(Info.st_mode & 07777, 0640u);
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"alt.LSY"});
}

TEST_F(Dateien, SpeichernDurchSymlinks) {
  // Each link is followed to the file it names, whether that exists or not,
  // and stays a link.
  mkdir(Pfad("unter").c_str(), 0700);
  Schreiben("da.LSY", "alt");
  const struct {
    const char* Link;
    std::string Verweis;
    const char* Datei;
  } Faelle[] = {
      {"vorhanden.LSY", "da.LSY", "da.LSY"},
      {"neu.LSY", "neu1.LSY", "neu1.LSY"},
      // A relative target counts from the link's own folder.
      {"unter/hoch.LSY", "../neu2.LSY", "neu2.LSY"},
      {"absolut.LSY", Pfad("unter/neu3.LSY"), "unter/neu3.LSY"},
      // A chain whose last link points nowhere yet.
      {"kette.LSY", "unter/glied.LSY", "neu4.LSY"},
      {"unter/glied.LSY", "../neu4.LSY", "neu4.LSY"},
  };
  for (const auto& F : Faelle) ASSERT_EQ(symlink(F.Verweis.c_str(), Pfad(F.Link).c_str()), 0);
  TRegelsystem R;
  for (const auto& F : Faelle) {
    R.Axiom = F.Link;
    EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad(F.Link)); }), "(kein Fehler)") << F.Link;
    EXPECT_TRUE(S_ISLNK(Status(Pfad(F.Link)).st_mode)) << F.Link;
    EXPECT_EQ(Lesen(Pfad(F.Datei)), R.Dateiinhalt()) << F.Link;
  }
  // A loop of links names no file at all.
  ASSERT_EQ(symlink("schleife2", Pfad("schleife1").c_str()), 0);
  ASSERT_EQ(symlink("schleife1", Pfad("schleife2").c_str()), 0);
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad("schleife1")); }), "Ungültiger Dateiname");
  EXPECT_EQ(Inhalt(), (std::vector<std::string>{"absolut.LSY", "da.LSY", "kette.LSY", "neu.LSY",
                                                "neu1.LSY", "neu2.LSY", "neu4.LSY", "schleife1",
                                                "schleife2", "unter", "vorhanden.LSY"}));
}

TEST_F(Dateien, HardlinksBleibenVerbunden) {
  const std::string Datei =
      Schreiben("alt.LSY", "alter Inhalt, viel laenger als der neue ...........");
  ASSERT_EQ(link(Datei.c_str(), Pfad("zweit.LSY").c_str()), 0);
  const ino_t Knoten = Status(Datei).st_ino;
  TRegelsystem R;
  R.Speichern(Datei);
  EXPECT_EQ(Lesen(Pfad("zweit.LSY")), R.Dateiinhalt());
  EXPECT_EQ(Status(Datei).st_ino, Knoten);
  EXPECT_EQ(Status(Datei).st_nlink, 2u);
  EXPECT_EQ(Inhalt(), (std::vector<std::string>{"alt.LSY", "zweit.LSY"}));
}

TEST_F(Dateien, LangeDateinamen) {
  // The temporary file must fit wherever the file itself does.
  TRegelsystem R;
  for (const size_t Laenge : {248u, 255u}) {
    const std::string Name = std::string(Laenge - 4, 'n') + ".LSY";
    EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad(Name)); }), "(kein Fehler)") << Laenge;
    R.Axiom = "B";
    EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad(Name)); }), "(kein Fehler)") << Laenge;
    EXPECT_EQ(Lesen(Pfad(Name)), R.Dateiinhalt()) << Laenge;
    EXPECT_EQ(Inhalt(), std::vector<std::string>{Name}) << Laenge;
    unlink(Pfad(Name).c_str());
  }
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad(std::string(256, 'n'))); }), "Ungültiger Dateiname");
  EXPECT_TRUE(Inhalt().empty());
}

TEST_F(Dateien, MisslungenesSpeichernLaesstAlteDatei) {
  mkdir(Pfad("ordner.LSY").c_str(), 0700);
  Schreiben("datei", "x");
  ASSERT_EQ(mkfifo(Pfad("fifo.LSY").c_str(), 0600), 0);
  TRegelsystem R;
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad("fehlt/x.LSY")); }), "Ungültiger Dateiname");
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad("datei/x.LSY")); }), "Ungültiger Dateiname");
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad("ordner.LSY")); }), "Dateizugriff verweigert");
  alarm(60);  // opening a FIFO to write would block
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad("fifo.LSY")); }), "Dateizugriff verweigert");
  alarm(0);
  EXPECT_TRUE(S_ISFIFO(Status(Pfad("fifo.LSY")).st_mode));
  EXPECT_EQ(Inhalt(), (std::vector<std::string>{"datei", "fifo.LSY", "ordner.LSY"}));
}

TEST_F(Dateien, SchreibfehlerLaesstAlteDatei) {
  // A file-size limit makes the write fail as a full disk would; the file
  // stays as it was, also one with a second name, which is overwritten in place.
  const std::string Alt = "A\r\n 1.00000000000000E+0000\r\n 2.00000000000000E+0000\r\n";
  TRegelsystem R;
  R.Axiom = std::string(4000, 'B');
  for (const bool Hardlink : {false, true}) {
    const std::string Datei = Schreiben("alt.LSY", Alt);
    if (Hardlink) {
      ASSERT_EQ(link(Datei.c_str(), Pfad("zweit.LSY").c_str()), 0);
    }
    const std::string Meldung = Fehlertext([&] {
      TGroessengrenze Grenze(1000);
      R.Speichern(Datei);
    });
    EXPECT_EQ(Meldung, "E/A-Fehler 27") << Hardlink;
    EXPECT_EQ(Lesen(Datei), Alt) << Hardlink;
    EXPECT_EQ(Inhalt(), Hardlink ? (std::vector<std::string>{"alt.LSY", "zweit.LSY"})
                                 : std::vector<std::string>{"alt.LSY"});
  }
}

// Cases of file permissions, which root does not feel: as root most of them
// skip themselves, and scripts/ohne-rechte.sh runs them all again as the user
// nobody.
class Rechte : public Dateien {};

TEST_F(Rechte, LadenOhneLeserecht) {
  if (geteuid() == 0) GTEST_SKIP() << "root darf alles lesen";
  const std::string Datei = Schreiben("geheim.LSY", "A\r\n1\r\n2\r\n");
  chmod(Datei.c_str(), 0);
  TRegelsystem R;
  EXPECT_EQ(Fehlertext([&] { R.Laden(Datei); }), "Dateizugriff verweigert");
}

TEST_F(Rechte, GeschuetzterOrdnerWirdAnOrtBeschrieben) {
  if (geteuid() == 0) GTEST_SKIP() << "root darf ueberall schreiben";
  const std::string Datei =
      Schreiben("alt.LSY", "alter Inhalt, viel laenger als der neue ...........");
  const std::string NurSchreiben = Schreiben("nurschreiben.LSY", "alt");
  chmod(NurSchreiben.c_str(), 0200);
  const ino_t Knoten = Status(Datei).st_ino;
  chmod(Ordner.c_str(), 0500);
  TRegelsystem R;
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Datei); }), "(kein Fehler)");
  // Its old content could not be kept for a failure, so nothing is risked.
  EXPECT_EQ(Fehlertext([&] { R.Speichern(NurSchreiben); }), "Dateizugriff verweigert");
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Pfad("neu.LSY")); }), "Dateizugriff verweigert");
  chmod(Ordner.c_str(), 0700);
  chmod(NurSchreiben.c_str(), 0600);
  EXPECT_EQ(Lesen(Datei), R.Dateiinhalt());
  EXPECT_EQ(Status(Datei).st_ino, Knoten);
  EXPECT_EQ(Lesen(NurSchreiben), "alt");
  EXPECT_EQ(Inhalt(), (std::vector<std::string>{"alt.LSY", "nurschreiben.LSY"}));
}

TEST_F(Rechte, SchreibgeschuetzteDateiBleibt) {
  if (geteuid() == 0) GTEST_SKIP() << "root darf ueberall schreiben";
  const std::string Datei = Schreiben("fest.LSY", "alt");
  chmod(Datei.c_str(), 0444);
  TRegelsystem R;
  EXPECT_EQ(Fehlertext([&] { R.Speichern(Datei); }), "Dateizugriff verweigert");
  EXPECT_EQ(Lesen(Datei), "alt");
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"fest.LSY"});
}

TEST_F(Rechte, BesitzerUndGruppeBleiben) {
  // Root gives the new file the old owner and group. Anyone else cannot, and
  // overwrites the file in place; their case needs files of another owner and
  // of another group in a folder anyone may write, which root has to prepare.
  std::string Ort;
  const std::vector<std::string> Namen = FremdeDateien(Ort);
  if (Namen.empty()) GTEST_SKIP() << "kein vorbereiteter Ordner mit fremden Dateien";
  for (const std::string& Name : Namen) {
    const std::string Datei = Ort + "/" + Name;
    const struct stat Vorher = Status(Datei);
    TRegelsystem R;
    R.Axiom = Name;
    EXPECT_EQ(Fehlertext([&] { R.Speichern(Datei); }), "(kein Fehler)") << Name;
    const struct stat Nachher = Status(Datei);
    EXPECT_EQ(Nachher.st_uid, Vorher.st_uid) << Name;
    EXPECT_EQ(Nachher.st_gid, Vorher.st_gid) << Name;
    EXPECT_EQ(Nachher.st_mode, Vorher.st_mode) << Name;
    EXPECT_EQ(Lesen(Datei), R.Dateiinhalt()) << Name;
  }
  EXPECT_EQ(Inhalt(Ort), Namen);
}

// The user's locale may write decimal commas; files and fields keep the point.
TEST_F(Dateien, UnabhaengigVomGebietsschema) {
  const char* Alt = setlocale(LC_ALL, nullptr);
  const std::string Vorher = Alt ? Alt : "C";
  if (!setlocale(LC_ALL, "de_DE.UTF-8") && !setlocale(LC_ALL, "de_DE"))
    GTEST_SKIP() << "kein de_DE";
  TRegelsystem R;
  R.WinkelPlus = 22.5;
  const std::string Datei = Pfad("de.LSY");
  R.Speichern(Datei);
  TRegelsystem Z;
  Z.Laden(Datei);
  const double Wert = TextAlsKommazahl("0.25");
  const std::string Text = KommazahlAlsText(2, 7.125);
  setlocale(LC_ALL, Vorher.c_str());
  EXPECT_EQ(Lesen(Datei).substr(3, 23), " 2.25000000000000E+0001");
  EXPECT_EQ(Z.WinkelPlus, 22.5);
  EXPECT_EQ(Wert, 0.25);
  EXPECT_EQ(Text, "7.13");
}

}  // namespace
