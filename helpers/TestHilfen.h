// What the tests share: the text of a raised error, a fresh folder that
// goes with its owner, reading a file whole.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// The message of the error of type E raised by f, or "(kein Fehler)"; an
// error of another type is not caught, so that the test fails on it.
template <typename E = std::exception, typename F>
std::string Fehlertext(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "(kein Fehler)";
}

// A file's bytes, empty when it cannot be read.
inline std::string Lesen(const std::string& Datei) {
  std::ifstream f(Datei, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
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

// An empty folder of its own below /tmp, removed with all it holds when the
// object goes, also after a test made it read-only.
class TOrdner {
 public:
  TOrdner() {
    char Vorlage[] = "/tmp/rankenwerk_test_XXXXXX";
    EXPECT_NE(mkdtemp(Vorlage), nullptr);
    Weg = Vorlage;
  }
  ~TOrdner() {
    std::error_code Fehler;
    std::filesystem::permissions(Weg, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, Fehler);
    std::filesystem::remove_all(Weg, Fehler);
  }
  TOrdner(const TOrdner&) = delete;
  TOrdner& operator=(const TOrdner&) = delete;

  std::string Pfad(const std::string& Name) const { return Weg + "/" + Name; }

  std::string Schreiben(const std::string& Name, const std::string& Inhalt) const {
    std::ofstream(Pfad(Name), std::ios::binary) << Inhalt;
    return Pfad(Name);
  }

  // The names in a folder, by default this one, sorted.
  std::vector<std::string> Inhalt(const std::string& Ort = "") const {
    std::vector<std::string> Namen;
    for (const auto& Eintrag : std::filesystem::directory_iterator(Ort.empty() ? Weg : Ort))
      Namen.push_back(Eintrag.path().filename().string());
    std::sort(Namen.begin(), Namen.end());
    return Namen;
  }

  std::string Weg;
};

// Each test gets an empty folder, and another that stands in for the
// system's temporary folder (TMPDIR), so that whatever is left in either shows.
class TOrdnerTest : public ::testing::Test {
 protected:
  TOrdnerTest() {
    if (const char* Alt = std::getenv("TMPDIR")) AltesTmpdir = Alt;
    setenv("TMPDIR", Systemtemp.c_str(), 1);
  }
  ~TOrdnerTest() override {
    if (AltesTmpdir)
      setenv("TMPDIR", AltesTmpdir->c_str(), 1);
    else
      unsetenv("TMPDIR");
  }

  std::string Pfad(const std::string& Name) const { return Hier.Pfad(Name); }
  std::string Schreiben(const std::string& Name, const std::string& Inhalt) const {
    return Hier.Schreiben(Name, Inhalt);
  }
  std::vector<std::string> Inhalt(const std::string& Ort = "") const { return Hier.Inhalt(Ort); }

  static struct stat Status(const std::string& Datei) {
    struct stat Info {};
    EXPECT_EQ(lstat(Datei.c_str(), &Info), 0) << Datei;
    return Info;
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

 private:
  TOrdner Hier, Temp;
  std::optional<std::string> AltesTmpdir;

 protected:
  const std::string& Ordner = Hier.Weg;
  const std::string& Systemtemp = Temp.Weg;
};
