#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/desktop.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kvapp::SubstituteFonts();  // as the program does
  return RUN_ALL_TESTS();
}
