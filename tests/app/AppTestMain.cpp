#include <gtest/gtest.h>

#include <QApplication>

#include "core/FloatEnvironment.h"
#include "gui/Application.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  PrepareApplication();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
