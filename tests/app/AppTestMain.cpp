#include <gtest/gtest.h>

#include <QApplication>

#include "app/SysColors.h"
#include "core/ColorScale.h"
#include "core/FloatEnvironment.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  SetSysColorSource(PaletteSysColor);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
