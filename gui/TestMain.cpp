// The main of the window tests: the application object before the first widget.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "gui/Anwendung.h"

int main(int argc, char** argv) {
  TAnwendung App(argc, argv);
  // File dialogs remember their last folder in the user's settings; a test's
  // temporary folders must not become the folder a real dialog starts in.
  QStandardPaths::setTestModeEnabled(true);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
