#include "turtle/SvgLeinwand.h"

#include <gtest/gtest.h>

#include "helpers/TestHilfen.h"
#include "turtle/turtleUnit.h"

namespace {

using SvgDatei = TOrdnerTest;

// Lines of every length and width, more than one write buffer full.
void Zeichnen(TSvgLeinwand& L) {
  L.MetadatenSetzen("Kennung 1\nA<B & C>D \"x\" 'y'\n");
  TTurtle T(L);
  T.FarbeSetzen(0x123456);
  for (int i = 0; i < 20000; ++i) {
    T.DickeSetzen(i % 7);
    T.Vorwaerts(i % 50);
    T.Drehen(i % 360 * 1.5);
  }
  const TPunkt P[] = {{1, 2}, {-3, 4}};
  L.Polylinie(P, 2);
  L.Ellipse(1, 2, 4, 7);
  L.RechteckFuellen(0, 0, 5, 5);
}

TEST(SvgLeinwand, OneLineElementPerLineInDrawingOrder) {
  TSvgLeinwand L(1000, 680);
  TTurtle T(L);
  T.FarbeSetzen(0x008000);
  T.DickeSetzen(0.4);
  T.Vorwaerts(10);
  T.Drehen(90);
  T.FarbeSetzen(0x123456);
  T.DickeSetzen(3);
  T.Vorwaerts(2.5);
  EXPECT_EQ(L.Elemente(),
            "<line x1=\"500\" y1=\"340\" x2=\"500\" y2=\"330\" stroke=\"#008000\" "
            "stroke-width=\"1\"/>\n"
            "<line x1=\"500\" y1=\"330\" x2=\"498\" y2=\"330\" stroke=\"#563412\" "
            "stroke-width=\"3\"/>\n");
}

TEST(SvgLeinwand, OtherPrimitivesAndTheDocument) {
  TSvgLeinwand L(20, 10);
  L.StiftFarbeSetzen(0x0000FF);
  L.RastermodusSetzen(TRastermodus::NichtXor);
  L.Ellipse(5, 5, 16, 15);
  const TPunkt P[] = {{1, 2}, {3, 4}};
  L.RastermodusSetzen(TRastermodus::Kopieren);
  L.Polylinie(P, 2);
  L.PinselFarbeSetzen(0xFFFFFF);
  L.RechteckFuellen(0, 0, 20, 10);
  EXPECT_EQ(L.Elemente(),
            "<ellipse cx=\"10.5\" cy=\"10\" rx=\"5.5\" ry=\"5\" fill=\"#FFFFFF\" "
            "stroke=\"#FF0000\" stroke-width=\"1\" class=\"nichtxor\"/>\n"
            "<polyline points=\"1,2 3,4\" fill=\"none\" stroke=\"#FF0000\" "
            "stroke-width=\"1\"/>\n"
            "<rect x=\"0\" y=\"0\" width=\"20\" height=\"10\" fill=\"#FFFFFF\"/>\n");
  const std::string D = L.Dokument();
  EXPECT_EQ(D.rfind("<?xml", 0), 0u);
  EXPECT_NE(D.find("width=\"20\" height=\"10\" viewBox=\"0 0 20 10\""), std::string::npos);
  EXPECT_NE(D.find(L.Elemente() + "</g>\n</svg>\n"), std::string::npos);
}

// The streamed file holds exactly the document the memory canvas builds, and
// its metadata read back give the text set.
TEST_F(SvgDatei, StreamedFileEqualsTheDocumentInMemory) {
  TSvgLeinwand Speicher(300, 200);
  Zeichnen(Speicher);
  {
    TSvgLeinwand Strom(300, 200, Pfad("bild.svg"));
    Zeichnen(Strom);
    EXPECT_EQ(Inhalt().size(), 1u);  // the temporary file only
    Strom.Abschliessen();
  }
  const std::string Datei = Lesen(Pfad("bild.svg"));
  EXPECT_GT(Datei.size(), size_t{1} << 20);  // more than one write buffer
  EXPECT_TRUE(Datei == Speicher.Dokument());
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"bild.svg"});
  EXPECT_TRUE(TSvgLeinwand::IstSvg(Datei));
  EXPECT_EQ(TSvgLeinwand::MetadatenLesen(Datei, "Kennung"), "Kennung 1\nA<B & C>D \"x\" 'y'\n");
}

TEST(SvgLeinwand, MetadataAreFoundBesideOthersAndWithReferences) {
  const std::string Svg =
      "\xEF\xBB\xBF <?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">"
      "<metadata/><metadata id='a>b'>Fremd</metadata>"
      "<metadata >K &#x41;&#66;&quot;&apos;&amp;&lt;&gt;&#xe4;</metadata></svg>";
  EXPECT_TRUE(TSvgLeinwand::IstSvg(Svg));
  EXPECT_EQ(TSvgLeinwand::MetadatenLesen(Svg, "K "), "K AB\"'&<>\xC3\xA4");
  EXPECT_EQ(TSvgLeinwand::MetadatenLesen(Svg, "Fehlt"), std::nullopt);
  EXPECT_EQ(TSvgLeinwand::MetadatenLesen("<svg><metadata>K &bla;</metadata>", "K"), std::nullopt);
  EXPECT_FALSE(TSvgLeinwand::IstSvg("A\r\n 3.0E+0001\r\n"));
  EXPECT_FALSE(TSvgLeinwand::IstSvg("<html><svgx>"));
}

// A stream that fails or is dropped unfinished leaves the old file as it was
// and no temporary file behind.
TEST_F(SvgDatei, FailedOrUnfinishedStreamLeavesTheOldFile) {
  const std::string Alt = Schreiben("alt.svg", "alt");
  { TSvgLeinwand Abgebrochen(30, 20, Alt); }
  EXPECT_EQ(Lesen(Alt), "alt");

  EXPECT_EQ(
      Fehlertext<std::runtime_error>([&] { TSvgLeinwand Falsch(30, 20, Pfad("fehlt/bild.svg")); }),
      "Die Datei " + Pfad("fehlt/bild.svg") +
          " kann nicht geschrieben werden: Ungültiger Dateiname");

  // A file size limit makes the writes fail as a full disk would.
  const std::string Meldung = Fehlertext([&] {
    TGroessengrenze Grenze(100000);
    TSvgLeinwand Voll(300, 200, Alt);
    Zeichnen(Voll);
    Voll.Abschliessen();
  });
  EXPECT_EQ(Meldung, "Die Datei " + Alt + " kann nicht geschrieben werden: E/A-Fehler 27");
  EXPECT_EQ(Lesen(Alt), "alt");
  EXPECT_EQ(Inhalt(), std::vector<std::string>{"alt.svg"});
}

}  // namespace
