// What the tests of files share: a fresh folder for each test, and the text
// of a raised error.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// The message of the error raised by f, or "(kein Fehler)".
template <typename F>
std::string Fehlertext(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(kein Fehler)";
}

// A limit on the size of files, so that writes beyond it fail (EFBIG,
// "E/A-Fehler 27") as on a full disk, for as long as the object lives.
class TGroessengrenze {
 public:
  explicit TGroessengrenze(rlim_t Bytes) {
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &Vorher), 0);
    Signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Grenze = Vorher;
    Grenze.rlim_cur = Bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &Grenze), 0);
  }
  ~TGroessengrenze() {
    setrlimit(RLIMIT_FSIZE, &Vorher);
    std::signal(SIGXFSZ, Signal);
  }
  TGroessengrenze(const TGroessengrenze&) = delete;
  TGroessengrenze& operator=(const TGroessengrenze&) = delete;

 private:
  rlimit Vorher{};
  void (*Signal)(int) = nullptr;
};

// Each test gets an empty folder, and another that stands in for the
// system's temporary folder (TMPDIR), so that whatever is left in either shows.
class TOrdnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Ordner = NeuerOrdner();
    Systemtemp = NeuerOrdner();
    if (const char* Alt = std::getenv("TMPDIR")) AltesTmpdir = Alt;
    setenv("TMPDIR", Systemtemp.c_str(), 1);
  }
  void TearDown() override {
    if (AltesTmpdir)
      setenv("TMPDIR", AltesTmpdir->c_str(), 1);
    else
      unsetenv("TMPDIR");
    for (const std::string& Ort : {Ordner, Systemtemp}) {
      chmod(Ort.c_str(), 0700);
      std::system(("rm -rf '" + Ort + "'").c_str());
    }
  }

  std::string Pfad(const std::string& Name) const { return Ordner + "/" + Name; }

  std::string Schreiben(const std::string& Name, const std::string& Inhalt) const {
    std::ofstream(Pfad(Name), std::ios::binary) << Inhalt;
    return Pfad(Name);
  }

  static std::string Lesen(const std::string& Datei) {
    std::ifstream f(Datei, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

  static struct stat Status(const std::string& Datei) {
    struct stat Info {};
    EXPECT_EQ(lstat(Datei.c_str(), &Info), 0) << Datei;
    return Info;
  }

  // The names in a folder, by default the test's own.
  std::vector<std::string> Inhalt(const std::string& Ort = "") const {
    std::vector<std::string> Namen;
    DIR* d = opendir((Ort.empty() ? Ordner : Ort).c_str());
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        Namen.push_back(e->d_name);
    closedir(d);
    std::sort(Namen.begin(), Namen.end());
    return Namen;
  }

  // Files of another owner, and of another group, in a folder anyone may
  // write; Ort becomes that folder. As root one is made here, with another
  // owner only; anyone else gets those root prepared for
  // scripts/ohne-rechte.sh, or none.
  std::vector<std::string> FremdeDateien(std::string& Ort) const {
    if (geteuid() == 0) {
      Ort = Ordner;
      EXPECT_EQ(chown(Schreiben("fremd.LSY", "alt").c_str(), 65534, 65534), 0);
      return {"fremd.LSY"};
    }
    const char* Vorbereitet = std::getenv("RANKENWERK_FREMDER_ORDNER");
    if (!Vorbereitet) return {};
    Ort = Vorbereitet;
    return {"fremd.LSY", "gruppe.LSY"};
  }

  std::string Ordner;
  std::string Systemtemp;

 private:
  static std::string NeuerOrdner() {
    char Vorlage[] = "/tmp/rankenwerk_test_XXXXXX";
    EXPECT_NE(mkdtemp(Vorlage), nullptr);
    return Vorlage;
  }

  std::optional<std::string> AltesTmpdir;
};
