#include <gtest/gtest.h>

#include <QApplication>

#include "app/Application.h"
#include "core/FloatEnvironment.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  PrepareApplication();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
