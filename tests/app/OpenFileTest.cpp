// Files opened from outside the panel's dialog: the command line, a drop on either
// window, F5 and a watched file; and a grid too large for the memory left.
#include <sys/resource.h>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <filesystem>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "app/GLSurface.h"
#include "app/OnExit.h"
#include "app/RasterChooser.h"
#include "core/BinaryFiles.h"
#include "core/MemoryRoom.h"
#include "core/TempFiles.h"

namespace {

TEST(ViewerCommandLine, AnswersInOneLineWithItsStatus) {
  const struct {
    QStringList Args;
    bool Display;
    int Status;
    const char* Says;
  } cases[] = {
      {{"--help"}, true, 0, "Usage: kesto [OPTIONS] [FILE]\n"},
      {{"--version"}, true, 0, "kesto " KESTO_VERSION "\n"},
      {{"--frobnicate"}, true, 2, "kesto: unknown option --frobnicate\nUsage: kesto"},
      {{"a.txt", "b.txt"}, true, 2, "kesto: one file at a time: a.txt and b.txt\n"},
      {{"--watch"}, true, 2, "kesto: --watch needs a FILE to watch\n"},
      {{}, false, 1, "kesto: needs a display to show its windows, and no display is set"},
      {{"--watch", "x.txt"}, false, 1, "kesto-render draws pictures without one\n"},
  };
  for (const auto& c : cases) {
    QProcess viewer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!c.Display)
      for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    viewer.setProcessEnvironment(env);
    viewer.start(KESTO_VIEWER_PATH, c.Args);
    ASSERT_TRUE(viewer.waitForFinished(60000)) << c.Args.join(' ').toStdString();
    const QString out = viewer.readAllStandardOutput(), err = viewer.readAllStandardError();
    EXPECT_EQ(viewer.exitCode(), c.Status) << c.Args.join(' ').toStdString();
    EXPECT_TRUE((c.Status == 0 ? out : err).contains(c.Says)) << (out + err).toStdString();
    if (c.Status == 1) {
      EXPECT_EQ(err.count('\n'), 1);
    }
  }
}

class OpenFileTest : public PanelTest {
 protected:
  // A drag of urls over target and, where it is taken, the drop.
  bool Drop(QObject* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    return true;
  }
  QString File(const char* name, int rows) {
    std::string text;
    for (int i = 0; i < rows; ++i)
      text += std::to_string(i) + " 0 1\n" + std::to_string(i) + " 1 2\n";
    return QString::fromStdString(dir_.File(name, text));
  }
  TTempDir dir_;
};

TEST_F(OpenFileTest, NamedDroppedOrReloadedFilesLoadAsFileLoadDoes) {
  panel_->OpenFile(File("start.txt", 3));  // as the command line does
  WaitIdle();
  EXPECT_EQ(k_->GridHighI, 2);
  // What was read, on the window until the next load.
  EXPECT_TRUE(k_->LoadLabel->isVisible());
  EXPECT_EQ(k_->LoadNote(),
            "start.txt: whitespace layout, 3 rows of 2 points, 0 holes, 0 fields read as 0");
  QString report;
  auto reported = CloseNextErrorReport(&report);
  panel_->OpenFile(QString::fromStdString(dir_.File("bad.txt", "1 2\n")));
  WaitIdle();
  EXPECT_TRUE(reported->Answered());
  EXPECT_TRUE(report.contains("line 1 \"1 2\" holds 2 numbers")) << report.toStdString();
  EXPECT_EQ(k_->GridHighI, 2);

  const QUrl four = QUrl::fromLocalFile(File("four.txt", 4));
  EXPECT_FALSE(Drop(k_->WindowDC, {four, four}));
  EXPECT_FALSE(Drop(panel_.get(), {QUrl("https://example.org/data.txt")}));
  EXPECT_TRUE(Drop(k_->WindowDC, {four}));
  QTRY_COMPARE(k_->GridHighI, 3);
  EXPECT_TRUE(Drop(panel_.get(), {QUrl::fromLocalFile(File("five.txt", 5))}));
  QTRY_COMPARE(k_->GridHighI, 4);

  // F5: the file as it is now, in the view as it was.
  File("five.txt", 6);
  k_->Angle3 = 77;
  QTest::keyClick(k_, Qt::Key_F5);
  WaitIdle();
  EXPECT_EQ(k_->GridHighI, 5);
  EXPECT_EQ(k_->Angle3, 77);
  EXPECT_EQ(panel_->FilesLoaded, 4);

  // A field read as 0 is told with the rest, as kesto-render warns of it.
  panel_->OpenFile(QString::fromStdString(dir_.File("odd.txt", "0,0,1\n0,x,2\n")));
  WaitIdle();
  EXPECT_EQ(k_->LoadNote(),
            "odd.txt: comma layout, 1 row of 2 points, 0 holes, 1 field read as 0\n"
            "warning: 1 field is not a number and read as 0, the first on line 2: \"0,x,2\"");
}

// A load is read while the windows answer: Esc ends it with the graph as it was, and a
// newer load takes the place of one still reading.
TEST_F(OpenFileTest, EscOrANewerLoadEndsALoadStillReading) {
  panel_->OpenFile(File("shown.txt", 3));
  WaitIdle();
  k_->ProgressAfterMs = 0;
  panel_->OpenFile(File("dropped.txt", 9));
  EXPECT_TRUE(!panel_->isEnabled() && k_->ProgressBar->isVisible());
  QTest::keyClick(k_->WindowDC, Qt::Key_Escape);  // before its result can come: it never does
  WaitIdle();
  EXPECT_EQ(std::tuple(k_->GridHighI, panel_->FilesLoaded), std::tuple(2, 1));
  EXPECT_TRUE(panel_->isEnabled() && !k_->Label1->isVisible() && !k_->ProgressBar->isVisible());
  panel_->OpenFile(File("older.txt", 5));
  panel_->OpenFile(File("newer.txt", 7));
  WaitIdle();
  EXPECT_EQ(std::tuple(k_->GridHighI, panel_->FilesLoaded), std::tuple(6, 2));
  EXPECT_TRUE(k_->LoadNote().startsWith("newer.txt"));
}

// A watched file refused while it is written is told on the window, with no box to
// answer, until the file loads whole.
TEST_F(OpenFileTest, AWatchedFileRefusedMeanwhileIsToldWithoutABox) {
  int boxes = 0;
  TDialogAnswer countEvery([&boxes](QWidget* w) {
    ++boxes;
    static_cast<QDialog*>(w)->reject();
    return false;
  });
  panel_->OpenFile(QString::fromStdString(dir_.File("half.txt", "0 0 1\n0 1\n")), true);
  WaitIdle();
  EXPECT_TRUE(k_->LoadLabel->isVisible());
  EXPECT_TRUE(k_->LoadNote().contains("line 2 \"0 1\" holds 2 numbers"));
  File("half.txt", 4);
  QTRY_COMPARE_WITH_TIMEOUT(panel_->FilesLoaded, 1, 20000);
  EXPECT_TRUE(k_->LoadNote().startsWith("half.txt: whitespace layout, 4 rows"));
  EXPECT_EQ(boxes, 0);
}

TEST_F(OpenFileTest, AWatchedFileReplacedByRenameLoadsOnceWhenItSettles) {
  const QString watched = File("watched.txt", 2);
  panel_->OpenFile(watched, true);
  WaitIdle();
  ASSERT_EQ(panel_->FilesLoaded, 1);
  k_->Angle2 = 33;
  // A program writes a new file, renames it over the old one and touches it again.
  std::filesystem::rename(File("new.txt", 7).toStdString(), watched.toStdString());
  File("watched.txt", 8);
  QTRY_COMPARE_WITH_TIMEOUT(panel_->FilesLoaded, 2, 20000);
  EXPECT_FALSE(panel_->Watch->Pending());
  EXPECT_EQ(k_->GridHighI, 7);
  EXPECT_EQ(k_->Angle2, 33);
}

// Under an address-space limit (ulimit -v) a mode or a grid whose lists would not fit
// is refused before the driver, which does not survive a failed allocation, is asked.
TEST_F(PanelTest, WhatWouldNotFitUnderAMemoryLimitIsRefusedAndTheGraphStays) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer's shadow memory cannot live under an address-space limit";
#endif
  TTempDir dir;
  std::string text;  // 400 x 400 points: too few for a preview, which would draw under the limit
  for (int i = 0; i < 400; ++i, text += "\n")
    for (int j = 0; j < 400; ++j)
      text += std::to_string(i) + "," + std::to_string(j) + "," + std::to_string(i % 7) + "\n";
  k_->LazyLists = true;               // as the viewer runs: the lists of the frame shown
  k_->SurfaceMode = kSurfaceMarkers;  // drawn from the grid: no list to hold
  panel_->OpenFile(QString::fromStdString(dir.File("large.txt", text)));
  WaitIdle();
  ASSERT_EQ(k_->GridHighI, 399);
  const QImage markers = Capture(*k_);
  rlimit limit{};
  getrlimit(RLIMIT_AS, &limit);
  // The tests after this one in the same process run without the limit.
  const TOnExit unlimited([was = limit] { setrlimit(RLIMIT_AS, &was); });
  limit.rlim_cur = CurrentMemoryRoom().Size + (20 << 20);
  ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);

  // The first mesh list in pieces, about 140 MB with the driver's part, does not fit.
  QString report;
  auto reported = CloseNextErrorReport(&report);
  Click(panel_->Bt_SurfaceMode);
  WaitIdle();
  EXPECT_TRUE(
      reported->Answered() &&
      report.startsWith("not enough memory to draw a 400 × 400 grid as a wire mesh: about "))
      << report.toStdString();
  EXPECT_EQ(k_->SurfaceMode, kSurfaceMarkers);
  EXPECT_EQ(Capture(*k_), markers);
  TGridData larger;  // as a load finds it, before it replaces the grid
  larger.GridHighI = larger.GridHighJ = 1999;
  EXPECT_THROW(k_->Renderer.CheckRoomForGrid(*k_, larger), TShortOfMemory);
}

}  // namespace

#ifdef KESTO_TEST_GDAL
// A raster file of several bands asks which to show the first time, by File Load, the
// command line or a drop alike, and F5 reads the one chosen again without asking; a
// .npy array opens as a text file does.
TEST_F(OpenFileTest, ARasterOfSeveralBandsAsksOnceAndKeepsTheChoice) {
  const THeights first = SampleHeights(5, 7, 1), second = SampleHeights(5, 7, -2);
  const std::string tiff = dir_.Path("two.tif");
  WriteGeoTiff(tiff, {first, second}, {100, 2, 0, 50, 0, -3});
  const TAnswer answer = std::make_unique<TDialogAnswer>([](QWidget* w) {
    auto* chooser = dynamic_cast<TRasterChooser*>(w);
    if (!chooser || chooser->LB_Rasters->count() != 2) return false;
    chooser->LB_Rasters->setCurrentRow(1);
    chooser->Bt_Open->click();
    return true;
  });
  ASSERT_TRUE(Drop(k_, {QUrl::fromLocalFile(QString::fromStdString(tiff))}));
  WaitIdle();
  ASSERT_TRUE(answer->Answered());
  const double secondLow = ReadDataFile(tiff, {}, '\0', nullptr, INT64_MAX, {"", 2}).ZMin;
  EXPECT_EQ(k_->ZMin, secondLow);
  EXPECT_EQ(k_->GridHighJ, 6);
  k_->ZMin = 0;
  panel_->Reload();
  WaitIdle();
  EXPECT_EQ(k_->ZMin, secondLow);
  panel_->OpenFile(QString::fromStdString(dir_.File("a.npy", NpyBytes(first, "<f4", true))));
  WaitIdle();
  EXPECT_EQ(k_->GridHighI, 4);
  EXPECT_TRUE(k_->LoadNote().startsWith("a.npy: npy layout, 5 rows of 7 points"));
}
#endif
