#include <gtest/gtest.h>

#include "gui/Anwendung.h"

int main(int argc, char** argv) {
  TAnwendung App(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
