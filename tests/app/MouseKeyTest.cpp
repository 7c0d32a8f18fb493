#include <QClipboard>
#include <QWheelEvent>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "app/ColorsDialog.h"
#include "app/GLSurface.h"
#include "core/NumberField.h"
#include "core/ViewCamera.h"
#include "render/TestGrids.h"

namespace {

class MouseKeyTest : public PanelTest {
 protected:
  QWindow* Surface() { return k_->WindowDC; }
  void Press(Qt::MouseButton b, QPoint p) { QTest::mousePress(Surface(), b, {}, p); }
  void Move(QPoint p) { QTest::mouseMove(Surface(), p); }
  void Release(Qt::MouseButton b, QPoint p) { QTest::mouseRelease(Surface(), b, {}, p); }
  void Wheel(int delta) {
    const QPointF at(100, 100);
    QWheelEvent e(at, Surface()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Surface(), &e);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    Reset();
    QTest::keyClick(Surface(), key, mods);
  }
  int FullFrames() const {
    return TRecordingSink::Count(rec_->Calls, TGLOp::Enable, GL_LINE_SMOOTH);
  }
  int SimpleFrames() const { return Drawn() - FullFrames(); }
};

TEST_F(MouseKeyTest, LeftDragTurnsAndTiltsHalfADegreePerPixel) {
  Press(Qt::LeftButton, {100, 100});
  EXPECT_EQ(k_->MouseState, 1);
  Move({110, 96});
  EXPECT_DOUBLE_EQ(k_->Angle3, 165);
  EXPECT_DOUBLE_EQ(k_->Angle2, 47);
  Move({111, 96});
  EXPECT_DOUBLE_EQ(k_->Angle3, 165.5);
  Release(Qt::LeftButton, {111, 96});
  EXPECT_EQ(k_->MouseState, 0);
  Move({200, 200});  // no drag: nothing changes
  EXPECT_DOUBLE_EQ(k_->Angle3, 165.5);
}

TEST_F(MouseKeyTest, RightDragMovesNearerAndIsClampedByTheFrame) {
  k_->Distance = 1.2;
  Press(Qt::RightButton, {50, 50});
  EXPECT_EQ(k_->MouseState, 2);
  Move({80, 100});
  EXPECT_DOUBLE_EQ(k_->Distance, 1.0);  // 0.7, drawn and kept as 1.0
  Release(Qt::RightButton, {80, 100});
}

TEST_F(MouseKeyTest, LeftPressInTheFlatViewStartsNoDrag) {
  k_->DrawMode = 0;
  Press(Qt::LeftButton, {100, 100});
  EXPECT_EQ(k_->MouseState, 0);
  Move({150, 150});
  EXPECT_DOUBLE_EQ(k_->Angle3, 160);
  Release(Qt::LeftButton, {150, 150});
  Press(Qt::MiddleButton, {1, 1});
  EXPECT_EQ(k_->MouseState, 0);
  Release(Qt::MiddleButton, {1, 1});
}

TEST_F(MouseKeyTest, LargeGridsDragWithTheCoarseFrame) {
  // Lists of one piece: each frame of the drag is drawn at once, however busy the machine.
  k_->Renderer.PieceVertices = int64_t(1) << 30;
  for (auto [n, simple] : {std::pair{101, false}, {102, true}}) {
    SetGrid(*k_, n, n, [](int i, int j) { return i - j; });
    k_->MakeList(kMaskAll);
    Press(Qt::LeftButton, {100, 100});
    Reset();
    Move({104, 100});
    Move({108, 100});
    EXPECT_EQ(SimpleFrames(), simple ? 2 : 0) << n;
    EXPECT_EQ(FullFrames(), simple ? 0 : 2) << n;
    Reset();
    Release(Qt::LeftButton, {108, 100});
    // After full frames of the same view, the release shows the last one again.
    EXPECT_EQ(FullFrames(), simple ? 1 : 0) << n;
    EXPECT_GE(Shown(), 1) << n;
  }
}

TEST_F(MouseKeyTest, WheelRaisesAndRebuildsEveryList) {
  Reset();
  Wheel(120);
  EXPECT_DOUBLE_EQ(k_->HeightScale, 0.92);
  EXPECT_EQ(rec_->Compiled().size(), 10u);
  EXPECT_EQ(FullFrames(), 1);
  for (int notch = 0; notch < 10; ++notch) Wheel(120);
  EXPECT_DOUBLE_EQ(k_->HeightScale, 2.0);
  Wheel(-120);
  EXPECT_DOUBLE_EQ(k_->HeightScale, 1.88);
}

TEST_F(MouseKeyTest, DigitKeysSwitchTheViewWithoutARebuild) {
  Key(Qt::Key_2);
  EXPECT_EQ(k_->DrawMode, 0);
  EXPECT_TRUE(rec_->Compiled().empty());
  EXPECT_EQ(FullFrames(), 1);
  Key(Qt::Key_3);
  EXPECT_EQ(k_->DrawMode, 1);
  Key(Qt::Key_3);
  EXPECT_EQ(k_->DrawMode, 1);
  EXPECT_EQ(FullFrames(), 0);  // the same picture: shown again
  EXPECT_EQ(Shown(), 1);
  Key(Qt::Key_2, Qt::KeypadModifier);  // the keypad's 2 is another key
  EXPECT_EQ(k_->DrawMode, 1);
}

TEST_F(MouseKeyTest, PStepsTheColouringShiftPReversesItLShowsNumbersAndTheBoxGoesBack) {
  Key(Qt::Key_P);
  EXPECT_TRUE(panel_->CB_Spec->isChecked());
  EXPECT_EQ(k_->Palette, kPaletteOwn);
  Key(Qt::Key_P);
  EXPECT_EQ(k_->Palette, kPaletteViridis);
  EXPECT_EQ(Rebuilt().count(kList3DMesh), 1U);
  EXPECT_EQ(Drawn(), 1);
  Key(Qt::Key_P, Qt::ShiftModifier);
  EXPECT_EQ(k_->ReversePalette, 1);
  EXPECT_EQ(Rebuilt().count(kList3DMesh), 1U);
  // Each change of colouring names itself over the picture for a moment.
  EXPECT_TRUE(k_->ColoringLabel->isVisible());
  EXPECT_EQ(k_->ColoringLabel->text(), "viridis, reversed");
  const QImage reversed = Capture(*k_);
  Key(Qt::Key_H);
  EXPECT_EQ(k_->ColoringLabel->text(), "hillshade on");
  EXPECT_EQ(Rebuilt().count(kList3DMesh), 1U);
  k_->RangeLow = 0, k_->ColorSteps = 4;
  Key(Qt::Key_R, Qt::ShiftModifier);
  EXPECT_TRUE(k_->Hillshade == 0 && k_->RangeLow == kAutoLow && k_->ColorSteps == 0);
  EXPECT_EQ(Capture(*k_), reversed);
  QTRY_VERIFY(!k_->ColoringLabel->isVisible());
  Key(Qt::Key_L);  // numbers on: a new frame, no list compiled
  EXPECT_EQ(k_->Labels, 1);
  EXPECT_EQ(Drawn(), 1);
  EXPECT_TRUE(Rebuilt().empty());
  const QImage plain = Capture(*k_);
  for (const int32_t contours : {1, 2, 0}) {  // I: lines, lines on the base too, none
    Key(Qt::Key_I);
    EXPECT_EQ(k_->Contours, contours);
    EXPECT_EQ(Drawn(), 1);
    EXPECT_TRUE(Rebuilt().empty());
    EXPECT_EQ(Capture(*k_) == plain, contours == 0);
  }
  QTest::mouseClick(panel_->CB_Spec, Qt::LeftButton);
  EXPECT_EQ(k_->Spec, 0);
  EXPECT_EQ(k_->Palette, kPaletteOwn);
  EXPECT_EQ(k_->ReversePalette, 0);
}

// R opens the colours dialog beside the graph: nothing changes until Apply, a field
// that cannot be taken is marked with the reason, and Shift+R takes it back too.
TEST_F(MouseKeyTest, TheColoursDialogAppliesWhatItCanAndMarksWhatItCannot) {
  const QImage before = Capture(*k_);
  Key(Qt::Key_R);
  TColorsDialog* d = k_->ColorsDialog;
  ASSERT_TRUE(d && d->isVisible() && !d->isModal());
  EXPECT_EQ(d->windowTitle(), "Colours");
  struct TCase {
    const char *Low, *High, *Steps, *ZFactor;
    QLineEdit* Marked;
    const char* Reason;
  } refused[] = {
      {"1", "0", "0", "1", d->E_Low, "the colour range's low end 1 is not below its high end 0."},
      {"x", "", "0", "1", d->E_Low, "The low end is not a number."},
      {"", "", "1", "1", d->E_Steps,
       "the colour steps must be a whole number from 2 to 256, not 1."},
      {"", "", "0", "0", d->E_ZFactor, "The height factor must be a number above 0."},
  };
  for (const TCase& c : refused) {
    SCOPED_TRACE(c.Reason);
    d->E_Low->setText(c.Low), d->E_High->setText(c.High), d->E_Steps->setText(c.Steps);
    d->E_ZFactor->setText(c.ZFactor);
    QTest::mouseClick(d->Bt_Apply, Qt::LeftButton);
    EXPECT_EQ(d->L_Reason->text(), c.Reason);
    EXPECT_FALSE(c.Marked->styleSheet().isEmpty());
    EXPECT_TRUE(k_->RangeLow == kAutoLow && k_->ColorSteps == 0);
  }
  d->E_Low->setText("-0.5"), d->E_High->setText(""), d->E_Steps->setText("5");
  d->E_ZFactor->setText("1");
  QTest::mouseClick(d->Bt_Apply, Qt::LeftButton);
  EXPECT_TRUE(d->L_Reason->text().isEmpty() && d->E_Steps->styleSheet().isEmpty());
  EXPECT_TRUE(k_->RangeLow == -0.5 && k_->RangeHigh == kAutoHigh && k_->ColorSteps == 5);
  EXPECT_EQ(Drawn(), 1);
  EXPECT_NE(Capture(*k_), before);
  QTest::mouseClick(d->Bt_AutoLow, Qt::LeftButton);
  EXPECT_TRUE(d->E_Low->text().isEmpty());
  Key(Qt::Key_R, Qt::ShiftModifier);
  EXPECT_EQ(d->E_Steps->text(), "0");
  EXPECT_EQ(Capture(*k_), before);
}

// The point under the pointer shows over the picture, a middle click copies it, F1
// shows the keys; none of it draws a frame or reaches a picture.
TEST_F(MouseKeyTest, ThePointUnderThePointerAndTheHelpStayOutOfThePicture) {
  const QImage picture = Capture(*k_);
  const TGridPoint& p = k_->Grid[25][30];
  double x = 0, y = 0, depth = 0;
  ASSERT_TRUE(TViewCamera(*k_, k_->ClientWidth(), k_->ClientHeight())
                  .Project({(p.X - k_->XMin) / (k_->XMax - k_->XMin),
                            (p.Y - k_->YMin) / (k_->YMax - k_->YMin),
                            (p.Z - k_->ZMin) / (k_->ZMax - k_->ZMin) * k_->HeightScale},
                           x, y, depth));
  const QPoint at{int(x), int(y)};
  Reset();
  Move(at);
  EXPECT_TRUE(k_->ValueLabel->isVisible());
  EXPECT_TRUE(k_->ValueLabel->text().endsWith("[25, 30]")) << k_->ValueLabel->text().toStdString();
  Press(Qt::MiddleButton, at);
  Release(Qt::MiddleButton, at);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            ShortestText(p.X) + "," + ShortestText(p.Y) + "," + ShortestText(p.Z));
  EXPECT_EQ(k_->MouseState, kMouseIdle);
  Key(Qt::Key_F1);
  EXPECT_TRUE(k_->HelpLabel->isVisible());
  // Keys that share a meaning share a line; a long meaning goes on under its own column.
  for (const char* line : {"\n  2, 3           flat map, 3-D graph\n",
                           "\n                 magma, inferno, plasma, grey\n",
                           "\n  Enter, M       to the control panel\n"})
    EXPECT_TRUE(k_->HelpLabel->text().contains(line)) << k_->HelpLabel->text().toStdString();
  Move(at);
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(Capture(*k_), picture);
  Key(Qt::Key_3);  // any key hides the help and does nothing else
  EXPECT_FALSE(k_->HelpLabel->isVisible());
  EXPECT_EQ(Drawn(), 0);
}

TEST_F(MouseKeyTest, OnlyExactlyCtrlCCopiesThePicture) {
  QGuiApplication::clipboard()->clear();
  Key(Qt::Key_C);
  EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
  Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(640, 480));
}

TEST_F(MouseKeyTest, EnterAndMHandTheKeyboardToThePanel) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_M}) {
    // Activation is the window system's to grant: wait for it, however long it takes.
    k_->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == k_; }, 20000));
    Key(key);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeWindow() == panel_.get(); }, 20000))
        << key;
    EXPECT_GE(Shown(), 1);
    EXPECT_EQ(k_->DrawMode, 1);
  }
}

TEST_F(MouseKeyTest, KeysWhileThePanelIsDisabledStillRedrawWithoutAnError) {
  panel_->setEnabled(false);
  QString report;
  auto reported = CloseNextErrorReport(&report);
  Key(Qt::Key_M);
  WaitIdle();
  EXPECT_FALSE(reported->Answered()) << report.toStdString();
  EXPECT_GE(Shown(), 1);
  panel_->setEnabled(true);
}

}  // namespace
