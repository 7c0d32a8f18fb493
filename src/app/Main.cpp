#include <QApplication>

#include "app/KestoForm.h"
#include "app/SysColors.h"
#include "core/FloatEnvironment.h"
#include "render/Frame.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  SetSysColorSource(PaletteSysColor);
  TKestoForm form;
  form.show();
  form.MakeList(kMaskAll);
  return app.exec();
}
