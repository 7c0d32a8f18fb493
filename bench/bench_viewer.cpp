// Drives the real viewer, as a user would, on N x N grids and reports for each action
// the time until its complete picture is on the window and the longest time in which
// the event loop answered nothing (a 10 ms timer's largest gap), medians of
// KESTO_REPEAT runs (default 3), with the step of the viewer's work that each longest
// gap ended in, and the time until its first picture (on a large grid a preview), as
// the event loop next sees it. Run under Xvfb:
//   xvfb-run -a build/bench/bench_viewer [N ...]      (default 300 1000 2000)
// First it reports the viewer's own CPU time over 10 s untouched with the sample.
// KESTO_ACTIONS (names, comma-separated, "load" first) runs only those actions;
// KESTO_NOISY=1 loads random heights in place of the smooth surface.
//   xvfb-run -a build/bench/bench_viewer --memory N
// instead reports the viewer's peak memory with an N x N grid in each surface mode,
// each in a process of its own, and what it adds to the memory before the load as a
// multiple of the points' 24 bytes each; --memory-one N SURFACE (0 mesh, 1 filled,
// 2 markers) measures one mode in this process, for a heap profiler to follow.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "GridFiles.h"
#include "app/ControlPanel.h"
#include "app/GLSurface.h"
#include "core/FloatEnvironment.h"
#include "gui/Application.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct TResult {
  double Seconds, LongestGap, FirstPicture;
  std::string Step;  // where the longest gap was
};

// Runs action and watches the event loop meanwhile with a 10 ms timer, which also
// notes when the first picture (a preview or the exact frame) reached the window.
TResult Measure(const TForm1& panel, const std::function<void()>& action) {
  const TKestoForm& k = *panel.KestoForm;
  QElapsedTimer clock;
  qint64 last = 0, gap = 0, first = -1;
  std::string step;
  const int shown = k.FramesShown;
  // The step the work was in when the event loop looked again, or none.
  const auto note = [&](const char* now) {
    if (clock.elapsed() - last <= gap) return;
    gap = clock.elapsed() - last;
    step = *now ? now : "event handling";
  };
  QTimer tick;
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    note(k.Renderer.Step);
    last = clock.elapsed();
    if (first < 0 && k.FramesShown != shown) first = last;
  });
  tick.start();
  clock.start();
  action();
  // The rest of the work (a file read, the lists, the frame) goes on meanwhile.
  while (panel.Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  note("end of the work");
  if (first < 0) first = clock.elapsed();
  return TResult{clock.elapsed() / 1000.0, gap / 1000.0, first / 1000.0, step};
}

// Picks path in the next file dialog, once it would return exactly that name.
void AnswerFileDialog(const QString& path) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, path] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d || !d->isVisible()) return;
    if (auto* list = d->findChild<QAbstractItemView*>("listView"))
      list->selectionModel()->clearSelection();
    d->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    if (d->selectedFiles() != QStringList{path}) return;
    poll->stop();
    poll->deleteLater();
    static_cast<QDialog*>(d)->accept();
  });
  poll->start();
}

void WaitForCaption(TKestoForm& k, const QString& part) {
  QElapsedTimer t;
  t.start();
  while (!k.windowTitle().contains(part) && t.elapsed() < 600000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

void WaitUntilShown(QWidget* w) {
  if (QTest::qWaitForWindowExposed(w)) return;
  std::fprintf(stderr, "bench_viewer: the window never appeared\n");
  std::exit(1);
}

long PeakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

// A line of /proc/self/status in MiB ("VmPeak", "VmSize").
long StatusMiB(const char* key) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  long kb = 0;
  const std::string prefix = std::string(key) + ": %ld kB";
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, prefix.c_str(), &kb) == 1) break;
  std::fclose(f);
  return kb / 1024;
}

// Loads an n x n grid as "File Load" does and draws it in one surface mode.
int MeasureMemory(int argc, char** argv, int n, int surface) {
  QApplication app(argc, argv);
  PrepareApplication();
  QTemporaryDir dir;
  const QString file = QDir(dir.path()).filePath("grid.txt");
  WriteGridFile(file.toStdString(), n);
  TForm1 panel(QDir(dir.path()).filePath("kesto.INI").toStdString());
  panel.show();
  WaitUntilShown(panel.KestoForm);
  const long before = PeakRssMiB(), sizeBefore = StatusMiB("VmSize");
  panel.KestoForm->SurfaceMode = surface;
  AnswerFileDialog(file);
  QTest::mouseClick(panel.Bt_Load, Qt::LeftButton);
  // The lists are compiled in turns of the event loop after the click.
  while (panel.Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const char* names[] = {"mesh", "filled", "markers"};
  // What the grid costs beyond the program, against the points' own 24 bytes each.
  const long peak = PeakRssMiB();
  const double ratio = double(peak - before) * (1 << 20) / (double(n) * n * sizeof(TGridPoint));
  const long sizePeak = StatusMiB("VmPeak");
  const double sizeRatio =
      double(sizePeak - sizeBefore) * (1 << 20) / (double(n) * n * sizeof(TGridPoint));
  std::printf(
      "%5d  %-8s peak %6ld MiB (%ld MiB before the load): %.1fx the points; address space "
      "%ld MiB (%ld before): %.1fx\n",
      n, names[surface], peak, before, ratio, sizePeak, sizeBefore, sizeRatio);
  std::fflush(stdout);
  return 0;
}

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  if (argc == 4 && std::string(argv[1]) == "--memory-one") {
    int one = 1;
    return MeasureMemory(one, argv, std::atoi(argv[2]), std::atoi(argv[3]));
  }
  if (argc == 3 && std::string(argv[1]) == "--memory") {
    for (int surface = 0; surface < 3; ++surface) {
      std::fflush(stdout);
      if (const pid_t child = fork(); child == 0) {
        int one = 1;
        _exit(MeasureMemory(one, argv, std::atoi(argv[2]), surface));
      } else {
        waitpid(child, nullptr, 0);
      }
    }
    return 0;
  }
  QApplication app(argc, argv);
  PrepareApplication();
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {300, 1000, 2000};

  QTemporaryDir dir;
  {
    TForm1 panel(QDir(dir.path()).filePath("kesto.INI").toStdString());
    panel.show();
    WaitUntilShown(panel.KestoForm);
    QTest::qWait(2000);
    const double cpu = CpuSeconds();
    {
      // Not qWait, which wakes every 10 ms and would count its own polling.
      QEventLoop idle;
      QTimer::singleShot(10000, &idle, &QEventLoop::quit);
      idle.exec();
    }
    std::printf("idle CPU over 10 s with the sample: %.1f %% of a core\n\n",
                (CpuSeconds() - cpu) * 10);
  }

  const int repeat = std::max(1, qEnvironmentVariableIntValue("KESTO_REPEAT"));
  const QStringList only = qEnvironmentVariable("KESTO_ACTIONS").split(',', Qt::SkipEmptyParts);
  std::printf(
      "    N  action          first picture    picture    longest gap   (medians of %d; "
      "the step of each run's longest gap)\n",
      repeat);
  for (int n : sizes) {
    const QString file = QDir(dir.path()).filePath(QString("grid%1.txt").arg(n));
    WriteGridFile(file.toStdString(), n, ',', true, qEnvironmentVariableIntValue("KESTO_NOISY"));
    TForm1 panel(QDir(dir.path()).filePath("kesto.INI").toStdString());
    panel.show();
    TKestoForm& k = *panel.KestoForm;
    WaitUntilShown(&k);
    QTest::qWait(500);
    QWindow* surface = k.WindowDC;
    auto wheel = [&](int delta) {
      const QPointF at(100, 100);
      QWheelEvent e(at, surface->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                    Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(surface, &e);
    };
    // Each action starts from the 3-D mesh, but markers, which follow the filled cells;
    // the load and the wheel leave every list stale.
    const std::vector<std::pair<const char*, std::function<void(int)>>> actions = {
        {"load",
         [&](int) {
           AnswerFileDialog(file);
           QTest::mouseClick(panel.Bt_Load, Qt::LeftButton);
         }},
        {"wheel notch", [&](int r) { wheel(r % 2 ? -120 : 120); }},
        {"key 3", [&](int) { QTest::keyClick(surface, Qt::Key_3); }},
        {"key 2", [&](int) { QTest::keyClick(surface, Qt::Key_2); }},
        {"key 3 back", [&](int) { QTest::keyClick(surface, Qt::Key_3); }},
        {"surface", [&](int) { QTest::mouseClick(panel.Bt_SurfaceMode, Qt::LeftButton); }},
        {"markers", [&](int) { QTest::mouseClick(panel.Bt_SurfaceMode, Qt::LeftButton); }},
        {"resize",
         [&](int r) {
           k.SurfaceMode = 0;
           const QSize size = r % 2 ? QSize(640, 480) : QSize(800, 600);
           k.resize(size);
           WaitForCaption(k, QString("%1x%2").arg(size.width()).arg(size.height()));
         }},
        {"drag release", {}},  // below: only the release is timed
        {"key I", [&](int) { QTest::keyClick(surface, Qt::Key_I); }},
        // Lines on the base, then none: as the next run begins.
        {"key I twice",
         [&](int) {
           QTest::keyClick(surface, Qt::Key_I);
           QTest::keyClick(surface, Qt::Key_I);
         }},
    };
    std::vector<std::vector<TResult>> results(actions.size());
    for (int r = 0; r < repeat; ++r)
      for (size_t a = 0; a < actions.size(); ++a) {
        if (!only.empty() && !only.contains(QString(actions[a].first))) continue;
        if (!actions[a].second) {
          QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(100, 100));
          QTest::mouseMove(surface, QPoint(120, 100));
          QTest::mouseMove(surface, QPoint(140 + r, 110));
          results[a].push_back(Measure(panel, [&] {
            QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(140 + r, 110));
          }));
          continue;
        }
        results[a].push_back(Measure(panel, [&] { actions[a].second(r); }));
      }
    for (size_t a = 0; a < actions.size(); ++a) {
      if (results[a].empty()) continue;
      std::vector<double> t, g, f;
      std::string steps;
      for (const TResult& x : results[a]) {
        t.push_back(x.Seconds), g.push_back(x.LongestGap), f.push_back(x.FirstPicture);
        steps += (steps.empty() ? "" : ", ") + x.Step;
      }
      std::printf("%5d  %-14s %11.3f s  %9.3f s  %9.3f s  (%s)\n", n, actions[a].first, Median(f),
                  Median(t), Median(g), steps.c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  return 0;
}
