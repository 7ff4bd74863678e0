#include "pictures/Bilddatei.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "helpers/TestHilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"

namespace {

using Bilddatei = TOrdnerTest;

QImage Bild() {
  QImage B(40, 30, QImage::Format_RGB32);
  B.fill(Qt::white);
  B.setPixel(3, 4, qRgb(0, 128, 0));
  return B;
}

// Text written by Qt's PNG writer (compressed, as it is long) and into SVG
// metadata comes back byte for byte; Qt reads the PNG's text the same.
TEST_F(Bilddatei, BothFormatsCarryTheTextByteForByte) {
  std::string Text = "Rankenwerk-Rezept 1\n";
  for (int i = 0; i < 3; ++i) {
    for (char c = ' '; c <= '~'; ++c) Text += c;
    Text += "\n\n";
  }
  PngSpeichern(Bild(), Pfad("text.png"), Text);
  EXPECT_EQ(RezeptTextLesen(Pfad("text.png")), Text);
  QImage Gelesen(QString::fromStdString(Pfad("text.png")));
  EXPECT_EQ(Gelesen.text(RezeptSchluessel).toStdString(), Text);
  EXPECT_TRUE(Gelesen.convertToFormat(QImage::Format_RGB32) == Bild());

  {
    TSvgLeinwand Svg(40, 30, Pfad("text.svg"));
    Svg.MetadatenSetzen(Text);
    Svg.Linie(1, 2, 3, 4);
    Svg.Abschliessen();
  }
  EXPECT_EQ(RezeptTextLesen(Pfad("text.svg")), Text);
  EXPECT_TRUE(IstBilddatei("a/B.PNG") && IstBilddatei("x.Svg") && !IstBilddatei("x.LSY"));
}

// Few colours are written with a table of them, many as they are: either way
// every pixel comes back, and the recipe with it.
TEST_F(Bilddatei, PicturesComeBackPixelForPixel) {
  for (const int Farben : {2, 256, 257}) {
    QImage B = Bild();
    for (int i = 0; i < Farben - 2; ++i) B.setPixel(i % 40, 10 + i / 40, qRgb(i % 256, i / 256, 7));
    PngSpeichern(B, Pfad("farben.png"), "Rankenwerk-Rezept 1\n");
    QImage Gelesen(QString::fromStdString(Pfad("farben.png")));
    EXPECT_EQ(Gelesen.format() == QImage::Format_Indexed8, Farben <= 256) << Farben;
    EXPECT_TRUE(Gelesen.convertToFormat(QImage::Format_RGB32) == B) << Farben;
    EXPECT_EQ(RezeptTextLesen(Pfad("farben.png")), "Rankenwerk-Rezept 1\n");
  }
}

TEST_F(Bilddatei, FilesWithoutAReadableRecipeAreToldApart) {
  const std::string KeinRezept = "Das Bild enthält kein Rankenwerk-Rezept";
  const std::string WederNoch = "Die Datei ist weder ein PNG- noch ein SVG-Bild";
  Bild().save(QString::fromStdString(Pfad("ohne.png")), "PNG");
  Schreiben("ohne.svg", "<?xml version=\"1.0\"?>\n<svg width=\"1\"><metadata>Fremd</metadata>");
  Schreiben("regeln.png", "A\r\n 3.00000000000000E+0001\r\n");
  Schreiben("leer.svg", "");
  mkfifo(Pfad("rohr.png").c_str(), 0600);  // would block a plain open
  mkdir(Pfad("ordner.png").c_str(), 0700);

  // A text that inflates beyond the limit, and a chunk with a changed byte.
  PngSpeichern(Bild(), Pfad("lang.png"), "Rankenwerk-Rezept 1\n" + std::string(17 << 20, 'a'));
  PngSpeichern(Bild(), Pfad("kaputt.png"),
               "Rankenwerk-Rezept 1\nTiefe: 2\n" + std::string(50, 'b'));
  std::string Kaputt = Lesen(Pfad("kaputt.png"));
  Kaputt[Kaputt.find("Rankenwerk-Rezept") + 25] ^= 1;
  Schreiben("kaputt.png", Kaputt);
  Schreiben("halb.png", Kaputt.substr(0, Kaputt.find("Rankenwerk-Rezept") + 30));

  const std::pair<std::string, std::string> Faelle[] = {
      {"ohne.png", KeinRezept},
      {"ohne.svg", KeinRezept},
      {"regeln.png", WederNoch},
      {"leer.svg", WederNoch},
      {"rohr.png", WederNoch},
      {"ordner.png", "Dateizugriff verweigert"},
      {"fehlt.png", "Datei nicht gefunden"},
      {"fehlt/bild.png", "Ungültiger Dateiname"},
      {"lang.png", "Bild enthält kein gültiges Rezept: länger als 16 MiB"},
      {"kaputt.png", "Bild enthält kein gültiges Rezept: der Text ist beschädigt"},
      {"halb.png", "Bild enthält kein gültiges Rezept: der Text ist beschädigt"},
  };
  for (const auto& Fall : Faelle)
    EXPECT_EQ(Fehlertext<std::runtime_error>([&] { RezeptTextLesen(Pfad(Fall.first)); }),
              Fall.second)
        << Fall.first;
}

// Loading goes by what a file holds, whatever its name; one that cannot be
// read, or is neither, is told by what its name promised.
TEST_F(Bilddatei, LoadingTellsTheKindsApartByContent) {
  const std::string Rezept = "Rankenwerk-Rezept 1\n";
  Schreiben("regeln.png", "B\r\n30\r\n30\r\nB->F\r\n");
  PngSpeichern(Bild(), Pfad("bild.LSY"), Rezept);
  Schreiben("bild.lsy", "<svg><metadata>" + Rezept + "</metadata></svg>");
  Schreiben("foto.png", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\n\x89\n", 13));  // a JPEG's start
  const struct {
    const char* Name;
    std::string Text, Axiom, Meldung;
  } Faelle[] = {
      {"regeln.png", "", "B", "(kein Fehler)"},
      {"bild.LSY", Rezept, "A", "(kein Fehler)"},
      {"bild.lsy", Rezept, "A", "(kein Fehler)"},
      {"foto.png", "", "A",
       "Die Datei ist weder ein PNG- noch ein SVG-Bild noch ein Regelsystem: Ungültige numerische "
       "Eingabe"},
      {"fehlt.png", "", "A", "Datei nicht gefunden"},
  };
  for (const auto& Fall : Faelle) {
    TRegelsystem R;
    std::optional<std::string> Text;
    EXPECT_EQ(Fehlertext([&] { Text = RegelnOderRezeptLesen(Pfad(Fall.Name), R); }), Fall.Meldung);
    EXPECT_EQ(Text.value_or(""), Fall.Text) << Fall.Name;
    EXPECT_EQ(R.Axiom, Fall.Axiom) << Fall.Name;
  }
}

}  // namespace
