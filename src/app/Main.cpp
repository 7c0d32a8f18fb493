#include <QApplication>

#include "app/ControlPanel.h"
#include "app/SysColors.h"
#include "core/FloatEnvironment.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Kesto");
  SetSysColorSource(PaletteSysColor);
  TForm1 panel;
  panel.show();
  return app.exec();
}
