// Rule systems, PNG and SVG pictures are written the same safe way; each
// case runs for all three, through the calls the program and
// rankenwerk-render make.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <string>
#include <vector>

#include "helpers/TestHilfen.h"
#include "pictures/Bilddatei.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"

namespace {

using Namen = std::vector<std::string>;

struct TArt {
  const char* Name;
  const char* Endung;
  // Writes a file of this kind that carries Kennung.
  void (*Schreiben)(const std::string& Datei, const std::string& Kennung);
  // The Kennung the file carries.
  std::string (*Lesen)(const std::string& Datei);
};

const std::string Schluessel = std::string(RezeptSchluessel) + " ";

void LsySchreiben(const std::string& Datei, const std::string& Kennung) {
  TRegelsystem R;
  R.Axiom = Kennung;
  R.Speichern(Datei);
}

std::string LsyLesen(const std::string& Datei) {
  TRegelsystem R;
  R.Laden(Datei);
  return R.Axiom;
}

void PngSchreiben(const std::string& Datei, const std::string& Kennung) {
  QImage Bild(8, 6, QImage::Format_RGB32);
  Bild.fill(Qt::white);
  PngSpeichern(std::move(Bild), Datei, Schluessel + Kennung);
}

void SvgSchreiben(const std::string& Datei, const std::string& Kennung) {
  TSvgLeinwand Leinwand(8, 6, Datei);
  Leinwand.MetadatenSetzen(Schluessel + Kennung);
  Leinwand.Linie(1, 2, 3, 4);
  Leinwand.Abschliessen();
}

std::string BildLesen(const std::string& Datei) {
  return RezeptTextLesen(Datei).substr(Schluessel.size());
}

class Dateiarten : public TOrdnerTest, public ::testing::WithParamInterface<TArt> {
 protected:
  // Writes Kennung and tells whether it went without error and can be read back.
  ::testing::AssertionResult Geschrieben(const std::string& Datei, const std::string& Kennung) {
    const std::string Fehler = Fehlertext([&] { GetParam().Schreiben(Datei, Kennung); });
    if (Fehler != "(kein Fehler)") return ::testing::AssertionFailure() << Fehler;
    const std::string Gelesen = GetParam().Lesen(Datei);
    if (Gelesen != Kennung) return ::testing::AssertionFailure() << "gelesen: " << Gelesen;
    return ::testing::AssertionSuccess();
  }

  std::string Name(const std::string& Stamm) const { return Stamm + GetParam().Endung; }
};

// The temporary file must fit wherever the file itself does.
TEST_P(Dateiarten, LangeNamen) {
  for (const size_t Laenge : {250u, 255u}) {
    const std::string Lang = std::string(Laenge - 4, 'n') + GetParam().Endung;
    EXPECT_TRUE(Geschrieben(Pfad(Lang), "neu")) << Laenge;
    EXPECT_TRUE(Geschrieben(Pfad(Lang), "ersetzt")) << Laenge;
    EXPECT_EQ(Inhalt(), Namen{Lang});
    unlink(Pfad(Lang).c_str());
  }
  EXPECT_FALSE(Geschrieben(Pfad(std::string(252, 'n') + GetParam().Endung), "zu lang"));
  EXPECT_EQ(Inhalt(), Namen{});
  EXPECT_EQ(Inhalt(Systemtemp), Namen{});
}

// The file keeps its mode, and a file with a second name stays one file.
TEST_P(Dateiarten, HardlinksUndModusBleiben) {
  for (const bool Hardlink : {false, true}) {
    const std::string Datei = Schreiben(Name("alt"), "alt");
    chmod(Datei.c_str(), 0604);
    if (Hardlink) {
      ASSERT_EQ(link(Datei.c_str(), Pfad("zweit").c_str()), 0);
    }
    const ino_t Knoten = Status(Datei).st_ino;
    EXPECT_TRUE(Geschrieben(Datei, "neu")) << Hardlink;
    EXPECT_EQ(Status(Datei).st_mode & 07777, 0604u) << Hardlink;
    if (Hardlink) {
      EXPECT_EQ(Status(Datei).st_ino, Knoten);
      EXPECT_EQ(Status(Datei).st_nlink, 2u);
      EXPECT_EQ(GetParam().Lesen(Pfad("zweit")), "neu");
      unlink(Pfad("zweit").c_str());
    }
    EXPECT_EQ(Inhalt(), Namen{Name("alt")});
  }
  EXPECT_EQ(Inhalt(Systemtemp), Namen{});
}

// A link, also one of a chain, whose target does not exist yet, is written
// through: the file appears at the target and the link stays.
TEST_P(Dateiarten, VerwaisteSymlinks) {
  mkdir(Pfad("unter").c_str(), 0700);
  ASSERT_EQ(symlink(("unter/" + Name("ziel")).c_str(), Pfad(Name("link")).c_str()), 0);
  ASSERT_EQ(symlink(Name("link").c_str(), Pfad(Name("kette")).c_str()), 0);
  ASSERT_EQ(symlink(("../" + Name("weiter")).c_str(), Pfad("unter/" + Name("hoch")).c_str()), 0);
  const struct {
    std::string Link;
    std::string Ziel;
  } Faelle[] = {
      {Name("link"), "unter/" + Name("ziel")},
      {Name("kette"), "unter/" + Name("ziel")},
      {"unter/" + Name("hoch"), Name("weiter")},
  };
  for (const auto& F : Faelle) {
    EXPECT_TRUE(Geschrieben(Pfad(F.Link), F.Link)) << F.Link;
    EXPECT_TRUE(S_ISLNK(Status(Pfad(F.Link)).st_mode)) << F.Link;
    EXPECT_EQ(GetParam().Lesen(Pfad(F.Ziel)), F.Link);
  }
  EXPECT_EQ(Inhalt(), (Namen{Name("kette"), Name("link"), "unter", Name("weiter")}));
}

// Permissions, which root does not feel: as root what needs another user
// skips itself, and scripts/ohne-rechte.sh runs it all again as nobody.
class Rechte : public Dateiarten {};

// A folder that may not be written, with a file in it that may: the file is
// written in place and stays the same file.
TEST_P(Rechte, GeschlossenerOrdner) {
  if (geteuid() == 0) GTEST_SKIP() << "root darf ueberall schreiben";
  const std::string Datei = Schreiben(Name("alt"), "alt");
  const ino_t Knoten = Status(Datei).st_ino;
  chmod(Ordner.c_str(), 0500);
  EXPECT_TRUE(Geschrieben(Datei, "neu"));
  EXPECT_FALSE(Geschrieben(Pfad(Name("neu")), "neu"));
  EXPECT_EQ(Status(Datei).st_ino, Knoten);
  EXPECT_EQ(Inhalt(), Namen{Name("alt")});
  EXPECT_EQ(Inhalt(Systemtemp), Namen{});
}

// Owner and group stay: root gives a new file the old ones; anyone else
// overwrites the file in place.
TEST_P(Rechte, BesitzerUndGruppeBleiben) {
  std::string Ort;
  const Namen Dateien = FremdeDateien(Ort);
  if (Dateien.empty()) GTEST_SKIP() << "kein vorbereiteter Ordner mit fremden Dateien";
  for (const std::string& Datei : Dateien) {
    const struct stat Vorher = Status(Ort + "/" + Datei);
    EXPECT_TRUE(Geschrieben(Ort + "/" + Datei, GetParam().Name)) << Datei;
    const struct stat Nachher = Status(Ort + "/" + Datei);
    EXPECT_EQ(Nachher.st_uid, Vorher.st_uid) << Datei;
    EXPECT_EQ(Nachher.st_gid, Vorher.st_gid) << Datei;
    EXPECT_EQ(Nachher.st_mode, Vorher.st_mode) << Datei;
  }
  EXPECT_EQ(Inhalt(Ort), Dateien);
}

const TArt Arten[] = {
    {"LSY", ".LSY", LsySchreiben, LsyLesen},
    {"PNG", ".png", PngSchreiben, BildLesen},
    {"SVG", ".svg", SvgSchreiben, BildLesen},
};

std::string ArtName(const ::testing::TestParamInfo<TArt>& Info) { return Info.param.Name; }

INSTANTIATE_TEST_SUITE_P(Arten, Dateiarten, ::testing::ValuesIn(Arten), ArtName);
INSTANTIATE_TEST_SUITE_P(Arten, Rechte, ::testing::ValuesIn(Arten), ArtName);

}  // namespace
