#include "mainwindow/Baumbilder.h"

#include <gtest/gtest.h>

namespace {

int Anzahl(const QImage& Bild, QRgb Farbe) {
  int n = 0;
  for (int y = 0; y < Bild.height(); ++y)
    for (int x = 0; x < Bild.width(); ++x) n += Bild.pixel(x, y) == Farbe;
  return n;
}

TEST(Baumbilder, IconIsDarkRedTreeOnTransparent) {
  const QImage Icon = IconBild();
  ASSERT_EQ(Icon.size(), QSize(32, 32));
  EXPECT_EQ(qAlpha(Icon.pixel(0, 0)), 0);
  EXPECT_EQ(Icon.pixel(16, 30), qRgb(0x80, 0, 0));  // the trunk
  const int Rot = Anzahl(Icon, qRgb(0x80, 0, 0));
  EXPECT_GT(Rot, 60);
  EXPECT_EQ(Rot + Anzahl(Icon, qRgba(0, 0, 0, 0)), 32 * 32);
}

TEST(Baumbilder, IllustrationHasBlackAndGreenTrees) {
  const QImage Bild = IllustrationsBild();
  ASSERT_EQ(Bild.size(), QSize(380, 349));
  EXPECT_GT(Anzahl(Bild, qRgb(0, 0, 0)), 1000);
  EXPECT_GT(Anzahl(Bild, qRgb(0, 0x80, 0)), 1000);
  EXPECT_GT(Anzahl(Bild, qRgb(0, 0xA0, 0)), 1000);
  // Green in front: the green trunk's foot is not covered by black.
  EXPECT_EQ(Bild.pixel(125, 340), qRgb(0, 0x80, 0));
}

}  // namespace
