#include <QGuiApplication>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "app/GLSurface.h"
#include "render/TestGrids.h"

namespace {

// Counts the paint events of the widgets it watches, and where the GL recording
// stood at each.
class TPaintLog : public QObject {
 public:
  explicit TPaintLog(const TRecordingSink* rec) : rec_(rec) {}
  std::vector<size_t> At;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) At.push_back(rec_->Calls.size());
    return false;
  }

 private:
  const TRecordingSink* rec_;
};

void Wheel(QWindow* surface, int delta) {
  const QPointF at(100, 100);
  QWheelEvent e(at, surface->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(surface, &e);
}

// A grid whose lists go in pieces, a turn of the event loop after every piece: what a
// user does meanwhile runs between two pieces.
class LongWorkTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    SetGrid(*k_, 200, 200, [](int i, int j) { return std::sin(i / 9.0) * j; });
    ASSERT_GT(ListPieces(*k_, kList3DMesh), 1);
    k_->Scheduler.PauseEveryMs = 0;
    k_->MakeList(kMaskAll);
    k_->DrawGraph();
    WaitIdle();
    Reset();
  }
  // Runs what in the first turn the work that follows leaves to the event loop.
  static void InTheNextPause(const std::function<void()>& what) { QTimer::singleShot(0, what); }
};

TEST_F(LongWorkTest, AChangeDuringAFrameGivesItUpUnseenAndShowsTheNewState) {
  k_->ProgressAfterMs = 0;
  bool progressShown = false;
  InTheNextPause([this, &progressShown] {
    progressShown = k_->ProgressBar->isVisible();
    Wheel(k_->WindowDC, 120);
  });
  k_->Angle3 += 10;
  k_->DrawGraph();
  WaitIdle();
  EXPECT_DOUBLE_EQ(k_->HeightScale, 0.92);
  EXPECT_EQ(Drawn(), 2);  // the frame begun before the wheel and the one after it
  EXPECT_EQ(Shown(), 1);
  EXPECT_TRUE(progressShown && !k_->ProgressBar->isVisible());
  EXPECT_EQ(TRecordingSink::Count(rec_->Calls, TGLOp::NewList, kList3DMesh), 1);
  const QImage shown = Capture(*k_);
  EXPECT_EQ(Drawn(), 2);  // shown again, not drawn
  k_->MakeList(kMaskAll);
  EXPECT_EQ(Capture(*k_), shown);  // drawn afresh: the same picture
}

TEST_F(LongWorkTest, ListsCompiledInTwoContextsDrawWhatOneContextDraws) {
  for (int32_t mode : {kDrawMode3D, kDrawMode2D})
    for (int32_t surface : {kSurfaceMesh, kSurfaceFilled, kSurfaceMarkers}) {
      k_->DrawMode = mode;
      k_->SurfaceMode = surface;
      k_->Spec = surface == kSurfaceFilled ? 1 : 0;
      k_->ColorMin = surface == kSurfaceMesh ? int32_t(0x80000005) : 0xFF0000;  // a system colour
      k_->TwoContexts = true;
      const int64_t before = k_->HelperPieces();
      k_->MakeList(kMaskAll);
      const QImage two = Capture(*k_);
      EXPECT_GT(k_->HelperPieces(), before) << mode << surface;
      k_->TwoContexts = false;
      k_->MakeList(kMaskAll);
      EXPECT_EQ(Capture(*k_), two) << mode << surface;
    }
}

TEST_F(LongWorkTest, AnimeClickedDuringACompileTurnsAfterItDrawingEveryStep) {
  const double turn = k_->Angle3;
  InTheNextPause([this] { QTest::mouseClick(panel_->Bt_Animate, Qt::LeftButton); });
  k_->MakeList(kMaskAll);
  ASSERT_EQ(k_->Angle3, turn);        // no step taken where it could not be drawn
  k_->Scheduler.PauseEveryMs = 1000;  // the steps need no pauses of their own
  // Stop once ten frames are counted (not timed): every step so far was drawn.
  double steps = -1;
  std::function<void()> stopAfterTenFrames = [&] {
    if (Shown() < 10 || !panel_->Bt_Stop->isVisible()) {
      QTimer::singleShot(0, stopAfterTenFrames);
      return;
    }
    steps = TurnInRange(k_->Angle3 - turn);
    QTest::mouseClick(panel_->Bt_Stop, Qt::LeftButton);
  };
  QTimer::singleShot(0, stopAfterTenFrames);
  QTRY_VERIFY_WITH_TIMEOUT(steps >= 0 && panel_->Bt_Animate->isVisible(), 120000);
  EXPECT_GE(steps, 9);
  EXPECT_GE(Shown(), steps);
}

TEST_F(LongWorkTest, ClosingDuringLongWorkEndsItUnfinishedAndKeepsTheSettings) {
  for (bool frame : {true, false}) {
    SetUp();
    InTheNextPause([this] { panel_->close(); });
    if (frame) {
      k_->Angle3 += 10;
      k_->DrawGraph();
    } else {
      k_->MakeList(kMaskAll);
    }
    QTRY_VERIFY(k_->Scheduler.Abandoned());
    EXPECT_EQ(Shown(), 0) << frame;
    EXPECT_EQ(TRecordingSink::Count(rec_->Calls, TGLOp::NewList, kList3DMesh), 0) << frame;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(settings_.Path("kesto.INI")))) << frame;
    k_->DrawGraph();  // nothing more is drawn
    EXPECT_EQ(Shown(), 0) << frame;
    TearDown();
  }
}

TEST_F(PanelTest, TheBusyLabelIsOnScreenBeforeTheWorkAndGoneAfterIt) {
  TTempDir dir;
  const QString data = QString::fromStdString(dir.File("d.txt", "0,0,1\n0,1,2\n\n1,0,3\n1,1,4\n"));
  TPaintLog label(rec_.get());
  k_->Label1->installEventFilter(&label);
  for (QPushButton* b : {panel_->Bt_Rise, panel_->Bt_Fall, panel_->Bt_Color_Low, panel_->Bt_Load}) {
    TAnswer answer = b == panel_->Bt_Load        ? ChooseFileInNextDialog(data)
                     : b == panel_->Bt_Color_Low ? ChooseColorInNextDialog(0x00FF00)
                                                 : nullptr;
    label.At.clear();
    Click(b);
    const auto& calls = rec_->Calls;
    const size_t firstBuild = size_t(
        std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.Op == TGLOp::NewList; }) -
        calls.begin());
    ASSERT_LT(firstBuild, calls.size()) << b->text().toStdString();
    ASSERT_FALSE(label.At.empty()) << b->text().toStdString();
    EXPECT_LE(label.At.front(), firstBuild) << b->text().toStdString();
    EXPECT_FALSE(k_->Label1->isVisible()) << b->text().toStdString();
  }
}

TEST_F(PanelTest, AnUntouchedViewerPaintsNothing) {
  // Start-up has settled once the graph window has no work left and every answer of
  // the window system has been handled.
  WaitIdle();
  QGuiApplication::sync();
  TPaintLog paints(rec_.get());
  for (QWidget* w : panel_->findChildren<QWidget*>()) w->installEventFilter(&paints);
  panel_->installEventFilter(&paints);
  Reset();
  // Then what is still to be handled paints nothing, nor asks for more.
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents();
    QGuiApplication::sync();
  }
  EXPECT_EQ(paints.At.size(), 0u);
  EXPECT_EQ(Shown(), 0);
  EXPECT_FALSE(k_->Scheduler.Busy());
}

// On a grid too large for an instant frame a change first shows a preview and the
// window ends at the exact frame; a capture is exact; "Anime" turns through previews.
TEST_F(PanelTest, ALargeGridIsPreviewedFirstAndEndsAtTheExactFrame) {
  k_->SetClientSize(160, 120);        // small previews: the animation's go fast
  k_->Scheduler.PauseEveryMs = 1000;  // on a busy machine too, the wheel's preview is one turn
  SetGrid(*k_, 450, 450, [](int i, int j) { return std::sin(i / 9.0) * j; });
  k_->MakeList(kMaskAll);
  k_->DrawGraph();
  WaitIdle();
  const int before = k_->PreviewsShown;
  Reset();
  Wheel(k_->WindowDC, 120);  // lists compiled again
  QTest::keyClick(k_, Qt::Key_2);
  Capture(*k_);
  k_->DrawGraph();  // at rest the exact frame is kept
  // The wheel's preview, then one exact frame: the 3-D frame, wanted no longer once key
  // 2 came, is never drawn, and the capture asked at once wants the 2-D frame exact.
  EXPECT_EQ(std::tuple(k_->PreviewsShown - before, Drawn(), Shown()), std::tuple(1, 2, 3));
  QTest::keyClick(k_, Qt::Key_3);
  WaitIdle();
  Reset();
  Click(panel_->Bt_Animate);
  WaitIdle();
  // Key 3 brings back the frame the wheel's preview stood for: no second preview.
  EXPECT_EQ(std::tuple(k_->PreviewsShown - before, Drawn()), std::tuple(1 + 361, 362));
  k_->Scheduler.PauseEveryMs = 30;
}

// Changes that each come before the preview of the last one is drawn (a piece a turn)
// still show previews: the preview begun is finished first, then the latest view's.
TEST_F(PanelTest, AStreamOfChangesOnALargeGridStillShowsPreviews) {
  k_->SetClientSize(160, 120);
  SetGrid(*k_, 450, 450, [](int i, int j) { return std::sin(i / 9.0) * j; });
  k_->MakeList(kMaskAll);
  k_->DrawGraph();
  WaitIdle();
  const int before = k_->PreviewsShown;
  k_->Scheduler.PauseEveryMs = 0;
  k_->Renderer.PieceVertices = 4096;
  for (int change = 0; change < 100; ++change) {
    k_->Angle3 += 1;
    k_->DrawGraph();
    QCoreApplication::processEvents();
  }
  EXPECT_GT(k_->PreviewsShown - before, 5);
  k_->Scheduler.PauseEveryMs = 30;
  WaitIdle();
}

}  // namespace
