#include "turtle/SvgLeinwand.h"

#include <gtest/gtest.h>

#include "turtle/turtleUnit.h"

namespace {

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

}  // namespace
