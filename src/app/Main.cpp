#include <QApplication>

#include "app/Application.h"
#include "app/ControlPanel.h"
#include "core/FloatEnvironment.h"

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  PrepareApplication();
  TForm1 panel;
  panel.show();
  return app.exec();
}
