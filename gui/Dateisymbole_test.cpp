#include "gui/Dateisymbole.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "gui/Dialoge.h"
#include "gui/TestHilfen.h"

namespace {

// Ends the whole test program when a test has not finished in time: a file
// dialog that read /proc/kmsg would wait forever.
class TWachhund {
 public:
  TWachhund(int Sekunden, const char* Was)
      : Faden([this, Sekunden, Was] {
          std::unique_lock<std::mutex> Sperre(Schloss);
          if (!Ende.wait_for(Sperre, std::chrono::seconds(Sekunden), [this] { return Fertig; })) {
            std::fprintf(stderr, "%s: nach %d s nicht fertig, hängt\n", Was, Sekunden);
            std::_Exit(1);
          }
        }) {}
  ~TWachhund() {
    {
      std::lock_guard<std::mutex> Sperre(Schloss);
      Fertig = true;
    }
    Ende.notify_one();
    Faden.join();
  }

 private:
  std::mutex Schloss;
  std::condition_variable Ende;
  bool Fertig = false;
  std::thread Faden;
};

// Watches a FIFO: whoever opens it for reading is noticed and let go at once
// (the opened writer end closes), so that a fault fails the test instead of
// blocking it.
class TRohrwache {
 public:
  explicit TRohrwache(const QString& Pfad)
      : Faden([this, Name = QFile::encodeName(Pfad)] {
          while (!Aus) {
            const int fd = open(Name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
              Geoeffnet = true;
              close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
          }
        }) {}
  ~TRohrwache() {
    Aus = true;
    Faden.join();
  }
  std::atomic<bool> Geoeffnet{false};

 private:
  std::atomic<bool> Aus{false};
  std::thread Faden;
};

const std::string PngAnfang("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);

TEST(Dateisymbole, TypeAndIconComeFromNameAndKind) {
  const TQOrdner Ordner;
  const QString O = Ordner.Weg() + '/';
  Ordner.Schreiben("x.txt", PngAnfang);
  Ordner.Schreiben("bild.Png", "kein Bild");
  Ordner.Schreiben("baum.lsy", PngAnfang);
  Ordner.Schreiben("daten.qqq", PngAnfang);
  Ordner.Schreiben("ohneendung", PngAnfang);
  QDir(O).mkdir("unter.png");
  ASSERT_EQ(mkfifo(QFile::encodeName(O + "y.png").constData(), 0600), 0);
  ASSERT_EQ(symlink("fehlt.png", QFile::encodeName(O + "weg.png").constData()), 0);
  ASSERT_EQ(symlink("unter.png", QFile::encodeName(O + "zeiger").constData()), 0);
  // Where the name tells nothing, the content says PNG; a provider that read
  // it would say so too.
  ASSERT_EQ(QMimeDatabase().mimeTypeForFile(O + "ohneendung").name(), "image/png");

  TRohrwache Wache(O + "y.png");
  const TDateisymbole Symbole;
  const QIcon Datei = Symbole.icon(QFileIconProvider::File),
              Ordnersymbol = Symbole.icon(QFileIconProvider::Folder),
              Laufwerk = Symbole.icon(QFileIconProvider::Drive);
  const struct {
    QString Pfad, Typ;
    QIcon Symbol;
  } Faelle[] = {
      {O + "x.txt", "TXT-Datei", Datei},
      {O + "bild.Png", "PNG-Bild", Datei},
      {O + "baum.lsy", "Lindenmayer-Regelsystem", Datei},
      {O + "daten.qqq", "QQQ-Datei", Datei},
      {O + "ohneendung", "Datei", Datei},
      {O + "unter.png", "Ordner", Ordnersymbol},
      {O + "zeiger", "Ordner", Ordnersymbol},
      {O + "y.png", "Spezialdatei", Datei},
      {O + "weg.png", "Verknüpfung", Datei},
      {"/", "Laufwerk", Laufwerk},
  };
  for (const auto& F : Faelle) {
    const QFileInfo Info(F.Pfad);
    EXPECT_EQ(Symbole.type(Info), F.Typ) << F.Pfad.toStdString();
    EXPECT_EQ(Symbole.icon(Info).cacheKey(), F.Symbol.cacheKey()) << F.Pfad.toStdString();
  }
  EXPECT_FALSE(Wache.Geoeffnet);
}

// A real dialog, its provider set as the program does, showing Ordner with its
// details; true once the type of Name is listed, so the dialog has looked at it.
class DateidialogTest : public testing::Test {
 protected:
  void Zeigen(const QString& Ordner) {
    Dialog.setOption(QFileDialog::DontUseNativeDialog);
    DateisymboleSetzen(&Dialog);
    Dialog.setViewMode(QFileDialog::Detail);
    Dialog.setDirectory(Ordner);
    Dialog.show();
    Modell = Dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(Modell, nullptr);
  }
  QString Typ(const QString& Pfad) {
    const QModelIndex I = Modell->index(Pfad, 2);
    return I.isValid() ? I.data().toString() : QString();
  }
  bool Gelistet(const QString& Pfad, const QString& Soll) {
    return QTest::qWaitFor([&] { return Typ(Pfad) == Soll; }, 10000);
  }

  QFileDialog Dialog;
  QFileSystemModel* Modell = nullptr;
};

TEST_F(DateidialogTest, PipeInAListedFolderIsNeverOpened) {
  const TQOrdner Ordner;
  const QString Rohr = Ordner.Datei("y.png");
  ASSERT_EQ(mkfifo(QFile::encodeName(Rohr).constData(), 0600), 0);
  Ordner.Schreiben("x.txt", PngAnfang);
  TRohrwache Wache(Rohr);
  TWachhund Hund(60, "Ordner mit Pipe");
  Zeigen(Ordner.Weg());
  EXPECT_TRUE(Gelistet(Rohr, "Spezialdatei")) << Typ(Rohr).toStdString();
  EXPECT_TRUE(Gelistet(Ordner.Datei("x.txt"), "TXT-Datei"));
  Dialog.hide();
  EXPECT_FALSE(Wache.Geoeffnet);
}

TEST_F(DateidialogTest, ProcIsListedAndCompletedWithoutReadingIt) {
  if (access("/proc/kmsg", R_OK) != 0) GTEST_SKIP() << "/proc/kmsg nicht lesbar";
  TWachhund Hund(60, "/proc im Dateidialog");
  Zeigen(QDir::homePath());
  // Typed into the name field, the completion lists /proc.
  auto* Name = Dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(Name, nullptr);
  QTest::keyClicks(Name, "/proc/");
  ASSERT_NE(Name->completer(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Name->completer()->completionCount() > 10; }, 10000));
  EXPECT_TRUE(Gelistet("/proc/kmsg", "Datei"));
  // And as the folder shown.
  Dialog.setDirectory("/proc");
  EXPECT_TRUE(Gelistet("/proc/kmsg", "Datei"));
  EXPECT_TRUE(Gelistet("/proc/self", "Ordner"));
  Dialog.hide();
}

}  // namespace
