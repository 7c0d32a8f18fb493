#include <QApplication>

#include "app/ControlPanel.h"
#include "app/SysColors.h"
#include "core/FloatEnvironment.h"
#include "render/Frame.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Kesto");
  SetSysColorSource(PaletteSysColor);
  TForm1 panel;
  panel.KestoForm->show();
  panel.KestoForm->MakeList(kMaskAll);
  panel.show();
  return app.exec();
}
