#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/ControlPanel.h"
#include "core/FloatEnvironment.h"
#include "gui/Application.h"

int main(int argc, char** argv) {
  // The viewer takes no file; --version is what every program answers.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("kesto " KESTO_VERSION);
    return 0;
  }
  SetFloatingPointEnvironment();
  QApplication app(argc, argv);
  PrepareApplication();
  TForm1 panel;
  panel.show();
  return app.exec();
}
