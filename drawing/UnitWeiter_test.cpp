#include "drawing/UnitWeiter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs exec() of the prompt while Aktion acts on it from the event loop.
int Antworten(TWeiterBox& Box, std::function<void()> Aktion) {
  QTimer::singleShot(0, &Box, [&Box, Aktion] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Box));
    Aktion();
  });
  return Box.exec();
}

// A fixed frame that can only be closed.
TEST(WeiterBox, Frame) {
  TWeiterBox Box;
  EXPECT_EQ(Box.minimumSize(), Box.maximumSize());
  EXPECT_FALSE(Box.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(Box.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(Box.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(WeiterBox, ResultOfEachWayOut) {
  TWeiterBox Box;
  const struct {
    const char* Weg;
    std::function<void()> Aktion;
    int Ergebnis;
  } Faelle[] = {
      {"OK geklickt", [&] { Box.OKBitBtn->click(); }, 1},
      {"Enter", [&] { QTest::keyClick(&Box, Qt::Key_Return); }, 1},
      {"Leertaste", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }, 1},
      {"Abbruch geklickt", [&] { Box.AbbruchBitBtn->click(); }, 3},
      {"Rahmen geschlossen", [&] { Box.close(); }, 2},
      {"Escape tut nichts",
       [&] {
         QTest::keyClick(&Box, Qt::Key_Escape);
         EXPECT_TRUE(Box.isVisible());
         Box.OKBitBtn->click();
       },
       1},
  };
  for (const auto& Fall : Faelle) EXPECT_EQ(Antworten(Box, Fall.Aktion), Fall.Ergebnis) << Fall.Weg;
}

TEST(WeiterBox, FocusOnOkAtEveryActivation) {
  TWeiterBox Box;
  // The focus was moved to "Abbruch" in the previous step; the next one starts on "OK".
  Antworten(Box, [&] {
    EXPECT_EQ(QApplication::focusWidget(), Box.OKBitBtn);
    Box.AbbruchBitBtn->setFocus();
    Box.AbbruchBitBtn->click();
  });
  Antworten(Box, [&] {
    EXPECT_EQ(QApplication::focusWidget(), Box.OKBitBtn);
    Box.OKBitBtn->click();
  });
}

}  // namespace
