#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/CommandLine.h"
#include "app/ControlPanel.h"
#include "app/ErrorReport.h"
#include "core/FloatEnvironment.h"
#include "gui/Application.h"

int main(int argc, char** argv) {
  const TViewerCommand command =
      ParseViewerCommand(std::vector<std::string>(argv + 1, argv + argc));
  if (!command.Error.empty()) {
    std::fprintf(stderr, "kesto: %s\n%s", command.Error.c_str(), kViewerUsage);
    return 2;
  }
  if (command.Help) {
    std::fputs(kViewerUsage, stdout);
    return 0;
  }
  if (command.Version) {
    std::puts("kesto " KESTO_VERSION);
    return 0;
  }
  // The toolkit aborts without a display; this says why in one line.
  if (const std::string missing = MissingDisplay(); !missing.empty()) {
    std::fprintf(stderr,
                 "kesto: needs a display to show its windows, and %s; kesto-render draws "
                 "pictures without one\n",
                 missing.c_str());
    return 1;
  }
  SetFloatingPointEnvironment();
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  PrepareApplication();
  // What the windows' creation throws reaches the user as the handlers' errors do.
  std::unique_ptr<TForm1> created;
  ReportErrors([&] { created = std::make_unique<TForm1>(); });
  if (!created) return 1;
  TForm1& panel = *created;
  panel.show();
  if (!command.File.empty()) {
    const QString file = QString::fromLocal8Bit(command.File.c_str());
    QTimer::singleShot(0, &panel,
                       [&panel, file, watch = command.Watch] { panel.OpenFile(file, watch); });
  }
  return app.exec();
}
