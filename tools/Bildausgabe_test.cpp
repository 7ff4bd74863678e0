#include "tools/Bildausgabe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <charconv>

#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "helpers/TestHilfen.h"
#include "pictures/ApngLesen_test.h"
#include "pictures/Bilddatei.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgTestHilfen.h"

namespace {

using Liste = std::vector<std::string>;

const TOrdner Ordner;
std::string Pfad(const std::string& Name) { return Ordner.Pfad(Name); }

QImage Png(const std::string& Name) { return QImage(QString::fromStdString(Pfad(Name))); }

// Runs the renderer: "" when it wrote the picture, else its exit code and message.
std::string Ausgeben(const Liste& Argumente) {
  std::string Fehler;
  const int Code = BildAusgeben(Argumente, Fehler);
  return Code == 0 && Fehler.empty() ? "" : std::to_string(Code) + " " + Fehler;
}

// The options with more after them.
Liste Und(Liste Optionen, const Liste& Mehr) {
  Optionen.insert(Optionen.end(), Mehr.begin(), Mehr.end());
  return Optionen;
}

TEST(Bildausgabe, DefaultPictureOfTheBuiltInSystem) {
  ASSERT_EQ(Ausgeben({"-o", Pfad("standard.png")}), "");
  const QImage Bild = Png("standard.png");
  ASSERT_EQ(Bild.width(), 1000);
  ASSERT_EQ(Bild.height(), 680);
  // The trunk starts at the bottom centre, green on white; corners stay white.
  EXPECT_EQ(Bild.pixel(500, 670), qRgb(0, 128, 0));
  EXPECT_EQ(Bild.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(Bild.pixel(999, 679), qRgb(255, 255, 255));
}

TEST(Bildausgabe, SvgListsTheLinesOfTheDrawing) {
  ASSERT_EQ(Ausgeben({"--tiefe", "1", "--schrittweite", "10", "-o", Pfad("eins.svg")}), "");
  const std::string Svg = Lesen(Pfad("eins.svg"));
  const std::string Erwartet =
      "<line x1=\"500\" y1=\"680\" x2=\"500\" y2=\"670\" stroke=\"#008000\" stroke-width=\"1\"/>\n"
      "<line x1=\"500\" y1=\"670\" x2=\"500\" y2=\"660\" stroke=\"#008000\" stroke-width=\"1\"/>\n"
      "<line x1=\"500\" y1=\"660\" x2=\"495\" y2=\"651\" stroke=\"#008000\" stroke-width=\"1\"/>\n"
      "<line x1=\"500\" y1=\"660\" x2=\"505\" y2=\"651\" stroke=\"#008000\" stroke-width=\"1\"/>\n"
      "</g>";
  EXPECT_NE(Svg.find(Erwartet), std::string::npos) << Svg;
  EXPECT_NE(Svg.find("width=\"1000\" height=\"680\""), std::string::npos);

  ASSERT_EQ(Ausgeben({"--tiefe=1", "--schrittweite=10", "--farbe", "FF0000", "--dicke", "2,6",
                      "--x", "10", "--y", "20", "--winkel", "0", "-o", Pfad("rot.svg")}),
            "");
  EXPECT_NE(Lesen(Pfad("rot.svg"))
                .find("<line x1=\"10\" y1=\"20\" x2=\"20\" y2=\"20\" stroke=\"#FF0000\" "
                      "stroke-width=\"3\"/>"),
            std::string::npos);
}

// Drawing the SVG's lines with QPainter gives the PNG, pixel for pixel.
TEST(Bildausgabe, SvgAndPngShowTheSameLines) {
  const Liste Optionen = {"--tiefe", "5", "--winkel", "80", "--zufall"};
  ASSERT_EQ(Ausgeben(Und(Optionen, {"-o", Pfad("gleich.png")})), "");
  ASSERT_EQ(Ausgeben(Und(Optionen, {"-o", Pfad("gleich.svg")})), "");
  QImage Weiss(1000, 680, QImage::Format_RGB32);
  Weiss.fill(Qt::white);
  const std::string Svg = Lesen(Pfad("gleich.svg"));
  EXPECT_EQ(SvgLinien(Svg).size(), 172u);  // the F of the derived string of depth 5
  EXPECT_TRUE(Png("gleich.png").convertToFormat(QImage::Format_RGB32) ==
              SvgNachgezeichnet(Svg, Weiss));
}

TEST(Bildausgabe, OptionsAreCheckedLikeTheirFields) {
  const std::pair<Liste, std::string> Faelle[] = {
      {{"--tiefe", "31"}, "Tiefe außerhalb des zulässigen Bereichs von 0 bis 30"},
      {{"--tiefe", "-1"}, "Tiefe außerhalb des zulässigen Bereichs von 0 bis 30"},
      {{"--tiefe", "2.5"}, "Tiefe außerhalb des zulässigen Bereichs von 0 bis 30"},
      {{"--schrittweite", "0"},
       "Schrittweite falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 1000.00"},
      {{"--schrittweite", "1000,01"},
       "Schrittweite falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 1000.00"},
      {{"--x", "1001"},
       "x hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 1000"},
      {{"--x", "-0,5"},
       "x hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 1000"},
      {{"--breite", "300", "--x", "301"},
       "x hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 300"},
      {{"--y", "681"},
       "y hat falsches Format oder\r\naußerhalb des zulässigen Bereichs von 0 bis 680"},
      {{"--winkel", "nord"}, "Winkel hat falsches Format "},
      {{"--dicke", "dick"}, "Liniendicke hat falsches Format."},
      {{"--schwund", "99,5"}, "Schwund hat falsches Format "},
      {{"--abweichung-schritt", "x"}, "\"Abweichung Schritt\" hat falsches Format "},
      {{"--abweichung-plus", "x"}, "\"Abweichung +\" hat falsches Format "},
      {{"--abweichung-minus", "x"}, "\"Abweichung -\" hat falsches Format "},
      {{"--farbe", "12345"}, "Farbe hat falsches Format (RRGGBB erwartet)"},
      {{"--breite", "0"}, "Breite außerhalb des zulässigen Bereichs von 1 bis 10000"},
      {{"--gross"}, "Unbekannte Option: --gross"},
      {{"--tiefe"}, "Wert fehlt für --tiefe"},
      {{"--saat", "-1"}, "Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295"},
      {{"--saat", "4294967296"}, "Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295"},
      {{"--saat", "1,5"}, "Saat außerhalb des zulässigen Bereichs von 0 bis 4294967295"},
      {{"--zentriert", "--y", "5"}, "--zentriert und --x oder --y schließen sich aus"},
      {{"--ausschnitt", "1,2,3"}, "Ausschnitt hat falsches Format (X,Y,B,H erwartet)"},
      {{"--ausschnitt", "1;2;3;4"}, "Ausschnitt hat falsches Format (X,Y,B,H erwartet)"},
      {{"--ausschnitt", "0,0,0,0"}, "Ausschnittsbreite muss größer als 0 sein"},
      {{"--ausschnitt", "0,0,5000,3400"},
       "Maßstab des Ausschnitts (Breite/B) außerhalb des zulässigen Bereichs von 0.25 bis 1000000"},
      {{"--ausschnitt", "0,0,100,100"},
       "Ausschnittshöhe passt nicht zur Fläche: 68 (B * Höhe / Breite) erwartet"},
      {{"--breite", "500", "--ausschnitt", "0,0,100,68"},
       "Ausschnittshöhe passt nicht zur Fläche: 136 (B * Höhe / Breite) erwartet"},
      {{"--wachstum", "--aufbau", "5"}, "--wachstum und --aufbau schließen sich aus"},
      {{"--bildzeit", "50"}, "--bildzeit gilt nur mit --wachstum oder --aufbau"},
      {{"--wachstum", "--ausschnitt", "0,0,100,68"},
       "Eine Animation zeigt die ganze Fläche: --ausschnitt geht hier nicht"},
      {{"--aufbau", "3"}, "Eine Animation lässt sich nur als PNG schreiben: " + Pfad("falsch.svg")},
  };
  for (const auto& [Optionen, Meldung] : Faelle)
    EXPECT_EQ(Ausgeben(Und({"-o", Pfad("falsch.svg")}, Optionen)), "1 " + Meldung);
  TRegelsystem R;  // axiom F, no rules: every depth is quick
  R.Axiom = "F";
  R.Speichern(Pfad("gerade.lsy"));
  const Liste Gute[] = {{"--schrittweite", "0,5"},
                        {"--x", "1000"},
                        {"--schwund", "99"},
                        {"--winkel", "-45"},
                        {"--tiefe", "30"},
                        {"--zufall"},
                        {"--ausschnitt", "-10.5,3,1000,680"},
                        {"--ausschnitt", "0.25,0,0.001,0.00068"}};
  for (const Liste& Optionen : Gute)
    EXPECT_EQ(Ausgeben(Und({Pfad("gerade.lsy"), "-o", Pfad("gut.svg")}, Optionen)), "")
        << Optionen[0];
  EXPECT_EQ(Ausgeben({"-o", Pfad("bild.gif")}),
            "1 Unbekanntes Bildformat: " + Pfad("bild.gif") + " (.png oder .svg)");
}

TEST(Bildausgabe, FailedDrawingStillWritesThePicture) {
  TRegelsystem R;
  R.Axiom = "F]F";
  R.Speichern(Pfad("kaputt.lsy"));
  EXPECT_EQ(Ausgeben({Pfad("kaputt.lsy"), "--tiefe", "0", "--schrittweite", "10", "-o",
                      Pfad("kaputt.svg")}),
            "1 Stapelfehler: Um mehr Positionen zurück als vorher gemerkt");
  const std::string Svg = Lesen(Pfad("kaputt.svg"));
  EXPECT_NE(Svg.find("<line x1=\"500\" y1=\"680\" x2=\"500\" y2=\"670\""), std::string::npos);
  EXPECT_EQ(Svg.substr(Svg.size() - 12), "</g>\n</svg>\n");
  EXPECT_NE(RezeptTextLesen(Pfad("kaputt.svg")).find("Regelsystem: F]F%0D%0A"), std::string::npos);
}

// A picture redrawn from its recipe is the same picture, in either format and
// across them. Redrawn with another depth (and colour), it is the picture
// drawn with that depth afresh.
void NachRezeptGleich(const Liste& Optionen) {
  for (const char* Name : {"erst.png", "erst.svg"})
    ASSERT_EQ(Ausgeben(Und(Optionen, {"-o", Pfad(Name)})), "");
  const std::pair<const char*, const char*> Nachzeichnen[] = {{"erst.png", "png.png"},
                                                              {"erst.png", "png.svg"},
                                                              {"erst.svg", "svg.svg"},
                                                              {"erst.svg", "svg.png"}};
  for (const auto& [Von, Nach] : Nachzeichnen)
    ASSERT_EQ(Ausgeben({Pfad(Von), "-o", Pfad(Nach)}), "");
  EXPECT_TRUE(Png("png.png") == Png("erst.png"));
  EXPECT_TRUE(Png("svg.png") == Png("erst.png"));
  EXPECT_EQ(Lesen(Pfad("svg.svg")), Lesen(Pfad("erst.svg")));
  EXPECT_EQ(Lesen(Pfad("png.svg")), Lesen(Pfad("erst.svg")));
  EXPECT_GT(Lesen(Pfad("erst.svg")).size(), 20000u);

  ASSERT_EQ(Ausgeben(Und(Optionen, {"--tiefe", "3", "--farbe", "0000FF", "-o", Pfad("drei.svg")})),
            "");
  ASSERT_EQ(Ausgeben({Pfad("erst.png"), "--tiefe=3", "--farbe", "0000FF", "-o", Pfad("drei2.svg")}),
            "");
  EXPECT_EQ(Lesen(Pfad("drei2.svg")), Lesen(Pfad("drei.svg")));
}

// Random deviations, a fitted step, a centred start and an angle the .LSY
// form rounds are all redrawn from the recipe; a changed depth fits again, and
// centres a centred picture again, while an uncentred one keeps its start.
TEST(Bildausgabe, PicturesRedrawnFromTheirRecipeAreTheSame) {
  Ordner.Schreiben("krumm.lsy",
                   "X\r\n25.123456789012345678\r\n-33.3\r\nX->F+[[X]-X]-F[-X]+X\r\nF->FF\r\n");
  const Liste Optionen = {Pfad("krumm.lsy"), "--tiefe", "5",         "--zufall", "--saat",   "77",
                          "--dicke",         "5",       "--schwund", "30",       "--breite", "600",
                          "--hoehe",         "500"};
  {
    SCOPED_TRACE("frei");
    NachRezeptGleich(Optionen);
  }
  SCOPED_TRACE("zentriert");
  NachRezeptGleich(Und(Optionen, {"--zentriert"}));
}

// --zentriert gives the lines equal margins left and right, above and below
// (one pixel apart at most), and its picture is the one drawn from the start
// it computed, given by hand.
TEST(Bildausgabe, CentredPictureIsTheOneDrawnFromItsStart) {
  const Liste Optionen = {"--tiefe", "5", "--winkel", "60", "--breite", "400", "--hoehe", "300"};
  ASSERT_EQ(Ausgeben(Und(Optionen, {"--zentriert", "-o", Pfad("mitte.png")})), "");
  const TLauf R = RezeptAusText(RezeptTextLesen(Pfad("mitte.png")));
  EXPECT_TRUE(R.Einstellungen.Zentriert);
  ASSERT_EQ(Ausgeben(Und(Optionen,
                         {"--x", std::to_string(static_cast<int>(R.StartX)), "--y",
                          std::to_string(static_cast<int>(R.StartY)), "-o", Pfad("von-hand.png")})),
            "");
  const QImage Bild = Png("mitte.png");
  EXPECT_TRUE(Bild == Png("von-hand.png"));

  int MinX = Bild.width(), MaxX = -1, MinY = Bild.height(), MaxY = -1;
  for (int y = 0; y < Bild.height(); ++y)
    for (int x = 0; x < Bild.width(); ++x)
      if (Bild.pixel(x, y) != qRgb(255, 255, 255)) {
        MinX = std::min(MinX, x);
        MaxX = std::max(MaxX, x);
        MinY = std::min(MinY, y);
        MaxY = std::max(MaxY, y);
      }
  EXPECT_NEAR(MinX, 399 - MaxX, 1);
  EXPECT_NEAR(MinY, 299 - MaxY, 1);
  EXPECT_GT(MaxX - MinX, 100);
}

// --ausschnitt shows its rectangle of the surface, scaled to the picture: the
// drawing laid out as without it, with step and start scaled. The recipe
// carries the view, so the picture redraws the same view; its SVG holds only
// the lines that show.
TEST(Bildausgabe, ViewShowsItsRectangleScaled) {
  const Liste Optionen = {"--tiefe", "6", "--dicke", "3", "--ausschnitt", "250,510,250,170"};
  for (const char* Name : {"ansicht.png", "ansicht.svg"})
    ASSERT_EQ(Ausgeben(Und(Optionen, {"-o", Pfad(Name)})), "");
  const std::string Text = RezeptTextLesen(Pfad("ansicht.png"));
  EXPECT_NE(Text.find("\nAusschnitt: 250,510,250,170\n"), std::string::npos) << Text;
  const TLauf R = RezeptAusText(Text);
  EXPECT_TRUE(R.Einstellungen.SchrittweiteAnpassen);

  // Drawn at four times the fitted step from the start moved to the view's output.
  char Schritt[32];
  *std::to_chars(Schritt, Schritt + sizeof Schritt - 1, R.Schrittweite * 4).ptr = 0;
  ASSERT_EQ(Ausgeben({"--tiefe", "6", "--dicke", "3", "--schrittweite", Schritt, "--x", "1000",
                      "--y", "680", "-o", Pfad("vierfach.png")}),
            "");
  EXPECT_TRUE(Png("ansicht.png") == Png("vierfach.png"));

  ASSERT_EQ(Ausgeben({Pfad("ansicht.png"), "-o", Pfad("ansicht2.png")}), "");
  ASSERT_EQ(Ausgeben({Pfad("ansicht.png"), "-o", Pfad("ansicht2.svg")}), "");
  EXPECT_TRUE(Png("ansicht2.png") == Png("ansicht.png"));
  EXPECT_EQ(Lesen(Pfad("ansicht2.svg")), Lesen(Pfad("ansicht.svg")));

  ASSERT_EQ(Ausgeben({"--tiefe", "6", "--dicke", "3", "-o", Pfad("ganz.svg")}), "");
  const auto Sichtbar = SvgLinien(Lesen(Pfad("ansicht.svg")));
  const auto Alle = SvgLinien(Lesen(Pfad("ganz.svg")));
  EXPECT_GT(Sichtbar.size(), 20u);
  EXPECT_LT(Sichtbar.size(), Alle.size() / 2);
  for (const auto& L : Sichtbar) EXPECT_TRUE(Zeigt(L, 1000, 680)) << L;

  // On another surface the picture's view must fit it too.
  EXPECT_EQ(Ausgeben({Pfad("ansicht.png"), "--breite", "500", "-o", Pfad("schmal.png")}),
            "1 Ausschnittshöhe passt nicht zur Fläche: 340 (B * Höhe / Breite) erwartet");
}

// Frame i of --wachstum is the picture of the same options at --tiefe i, in
// random mode from the same seed; the last frame of --aufbau is the picture
// itself. Frame counts and times are checked like fields.
TEST(Bildausgabe, AnimationsFrameByFrame) {
  const Liste Optionen = {"--tiefe",     "4",        "--zufall", "--saat",  "3",
                          "--zentriert", "--breite", "400",      "--hoehe", "300"};
  ASSERT_EQ(Ausgeben(Und(Optionen, {"--wachstum", "--bildzeit", "250", "-o", Pfad("w.png")})), "");
  TAnimation A;
  const std::vector<QImage> Wachstum = Einzelbilder(Pfad("w.png"), &A);
  ASSERT_EQ(Wachstum.size(), 5u);
  EXPECT_EQ(A.Bilder[0].Zaehler, 250u);
  for (int i = 0; i <= 4; ++i) {
    Liste B = Und(Optionen, {"-o", Pfad("t.png")});
    B[1] = std::to_string(i);
    ASSERT_EQ(Ausgeben(B), "");
    EXPECT_EQ(Wachstum[i], Png("t.png").convertToFormat(QImage::Format_RGB32)) << i;
  }
  ASSERT_EQ(Ausgeben(Und(Optionen, {"--aufbau", "9", "-o", Pfad("a.png")})), "");
  const std::vector<QImage> Aufbau = Einzelbilder(Pfad("a.png"));
  ASSERT_EQ(Aufbau.size(), 9u);
  EXPECT_EQ(Aufbau.back(), Wachstum.back());
  EXPECT_NE(Aufbau[4], Aufbau.back());

  const std::pair<Liste, std::string> Falsch[] = {
      {{"--aufbau", "0"},
       "Bildzahl von --aufbau außerhalb des zulässigen Bereichs von 1 bis 10000"},
      {{"--aufbau", "10001"},
       "Bildzahl von --aufbau außerhalb des zulässigen Bereichs von 1 bis 10000"},
      {{"--wachstum", "--bildzeit", "9"},
       "Bildzeit außerhalb des zulässigen Bereichs von 10 bis 60000"},
      {{"--wachstum", "--bildzeit", "60001"},
       "Bildzeit außerhalb des zulässigen Bereichs von 10 bis 60000"},
  };
  for (const auto& [Mehr, Meldung] : Falsch)
    EXPECT_EQ(Ausgeben(Und(Mehr, {"-o", Pfad("nie.png")})), "1 " + Meldung);
}

// A picture without a recipe: its message, and nothing written.
TEST(Bildausgabe, PictureWithoutRecipeWritesNothing) {
  const TOrdner Ohne;
  QImage Leer(20, 10, QImage::Format_RGB32);
  Leer.fill(Qt::white);
  Leer.save(QString::fromStdString(Ohne.Pfad("leer.png")));
  for (const char* Ziel : {"neu.svg", "neu.png"})
    EXPECT_EQ(Ausgeben({Ohne.Pfad("leer.png"), "-o", Ohne.Pfad(Ziel)}),
              "1 Das Bild enthält kein Rankenwerk-Rezept");
  EXPECT_EQ(Ohne.Inhalt(), std::vector<std::string>{"leer.png"});
}

// The seed makes a random picture repeatable: the same seed gives the same lines,
// another seed other lines, and seed 0 the picture of a fresh program start.
TEST(Bildausgabe, SeedRepeatsOrVariesTheRandomPicture) {
  auto Zufallsbild = [](const std::string& Name, const Liste& Saat) {
    EXPECT_EQ(
        Ausgeben(Und({"--zufall", "--tiefe", "4", "--schrittweite", "5", "-o", Pfad(Name)}, Saat)),
        "");
    return Lesen(Pfad(Name));
  };
  const std::string Ohne = Zufallsbild("ohne.svg", {});
  const std::string Null = Zufallsbild("null.svg", {"--saat", "0"});
  const std::string A1 = Zufallsbild("a1.svg", {"--saat", "4294967295"});
  const std::string A2 = Zufallsbild("a2.svg", {"--saat=4294967295"});
  const std::string B = Zufallsbild("b.svg", {"--saat", "7"});
  EXPECT_EQ(Ohne, Null);
  EXPECT_EQ(A1, A2);
  EXPECT_NE(A1, B);
  EXPECT_NE(Null, B);
}

}  // namespace
