#include <xcb/xcb.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QToolTip>
#include <cstring>
#include <functional>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "core/TempFiles.h"
#include "render/FailingSink.h"

namespace {

std::map<GLuint, int> All() {
  std::map<GLuint, int> n;
  for (GLuint list : {1, 2, 4, 8, 16, 32, 64, 128, 256, 512}) n[list] = 1;
  return n;
}
std::map<GLuint, int> Graphs() {
  std::map<GLuint, int> n;
  for (GLuint list : {1, 2, 4, 8, 16, 32, 64, 128}) n[list] = 1;
  return n;
}
const std::map<GLuint, int> kAxes{{256, 1}, {512, 1}};
const std::map<GLuint, int> kNone{};

TEST_F(PanelTest, WindowsAndControlsAsUsersKnowThem) {
  EXPECT_EQ(panel_->windowTitle(), "Kesto");
  EXPECT_EQ(panel_->size(), QSize(146, 478));
  EXPECT_EQ(panel_->minimumSize(), panel_->maximumSize());
  EXPECT_EQ(panel_->Bt_Load->text(), "File Load");
  EXPECT_EQ(panel_->Bt_Load->toolTip(), "Load Data File");
  EXPECT_EQ(panel_->Bt_Open->toolTip(), "Open Graph Window");
  EXPECT_EQ(panel_->Bt_DrawMode->toolTip(), "Change View Mode");
  EXPECT_FALSE(panel_->Bt_Stop->isVisible());
  EXPECT_FALSE(panel_->CheckBox1->isEnabled());
  EXPECT_EQ(panel_->CmbB_LineWidth->count(), 12);
  EXPECT_EQ(panel_->CmbB_LineWidth->itemText(11), "20");
  EXPECT_EQ(panel_->CmbB_LineWidth->currentText(), "1");
  EXPECT_EQ(panel_->CmbB_AxisWidth->count(), 5);
  EXPECT_EQ(panel_->Label4->text(), "X:[0.00,49.00]");  // the first repaint has run
  EXPECT_EQ(panel_->Label6->text(), "Z:[-48.37,48.37]");
  EXPECT_EQ(k_->parent(), panel_.get());
}

// A window's title as the window system holds it for window managers.
QByteArray XWindowTitle(QWidget* w, const char* property) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11->connection();
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, uint16_t(strlen(property)), property), nullptr);
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c,
                             xcb_get_property(c, 0, xcb_window_t(w->winId()), atom->atom,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                             nullptr);
  const QByteArray title(static_cast<const char*>(xcb_get_property_value(reply)),
                         xcb_get_property_value_length(reply));
  free(reply);
  free(atom);
  return title;
}

TEST_F(PanelTest, WindowManagersShowTheCaptionsExactly) {
  k_->DrawGraph();
  for (QWidget* w : {static_cast<QWidget*>(panel_.get()), static_cast<QWidget*>(k_)})
    for (const char* property : {"WM_NAME", "_NET_WM_NAME"})
      EXPECT_EQ(XWindowTitle(w, property).toStdString(), w->windowTitle().toStdString())
          << property;
  EXPECT_TRUE(k_->windowTitle().startsWith("KestoForm(3D)640x480:"));
}

TEST_F(PanelTest, ButtonsKeepTheViewInBounds) {
  k_->Angle2 = 175;
  Click(panel_->Bt_Up);
  EXPECT_EQ(k_->Angle2, 175);
  k_->Angle2 = 5;
  Click(panel_->Bt_Down);
  EXPECT_EQ(k_->Angle2, 5);
  k_->Angle3 = 358;
  Click(panel_->Bt_Right);
  EXPECT_EQ(k_->Angle3, 3);
  k_->Angle3 = 2;
  Click(panel_->Bt_Left);
  EXPECT_EQ(k_->Angle3, 357);
  k_->Angle3 = 355;
  Click(panel_->Bt_Right);
  EXPECT_EQ(k_->Angle3, 360);
  k_->HeightScale = 2;
  Click(panel_->Bt_Rise);
  EXPECT_EQ(k_->HeightScale, 2);
  k_->HeightScale = 0;
  Click(panel_->Bt_Fall);
  EXPECT_EQ(k_->HeightScale, 0);
  k_->Distance = 1;
  Click(panel_->Bt_Near);
  EXPECT_EQ(k_->Distance, 1);
  k_->Distance = 100;
  Click(panel_->Bt_Far);
  EXPECT_EQ(k_->Distance, 100);
  Click(panel_->Bt_DrawMode);
  EXPECT_EQ(k_->DrawMode, 0);
  Click(panel_->Bt_DrawMode);
  EXPECT_EQ(k_->DrawMode, 1);
  for (int expected : {1, 2, 0}) {
    Click(panel_->Bt_SurfaceMode);
    EXPECT_EQ(k_->SurfaceMode, expected);
  }
  Click(panel_->Bt_AxisMode);
  EXPECT_EQ(k_->AxisMode, 0);
}

TEST_F(PanelTest, EachButtonRebuildsOnlyWhatItsChangeAffects) {
  for (QPushButton* b :
       {panel_->Bt_Up, panel_->Bt_Down, panel_->Bt_Left, panel_->Bt_Right, panel_->Bt_Near,
        panel_->Bt_Far, panel_->Bt_DrawMode, panel_->Bt_SurfaceMode, panel_->Bt_AxisMode}) {
    Click(b);
    EXPECT_EQ(Rebuilt(), kNone) << b->text().toStdString();
    EXPECT_EQ(Drawn(), 1) << b->text().toStdString();
    EXPECT_EQ(Shown(), 1) << b->text().toStdString();
    EXPECT_EQ(busy_.Shown, 0) << b->text().toStdString();
  }
  for (QPushButton* b : {panel_->Bt_Rise, panel_->Bt_Fall, panel_->Bt_Open}) {
    Click(b);
    EXPECT_EQ(Rebuilt(), All()) << b->text().toStdString();
    EXPECT_EQ(busy_.Shown, b != panel_->Bt_Open) << b->text().toStdString();
  }
  auto answer1 = ChooseColorInNextDialog(0x123456);
  Click(panel_->Bt_Color_Low);
  EXPECT_EQ(Rebuilt(), Graphs());
  EXPECT_EQ(k_->ColorMin, 0x123456);
  EXPECT_EQ(busy_.Shown, 1);
  auto answer2 = ChooseColorInNextDialog(0x00FF00);
  Click(panel_->Bt_Color_High);
  EXPECT_EQ(Rebuilt(), Graphs());
  EXPECT_EQ(k_->ColorHigh, 0x00FF00);
  EXPECT_EQ(busy_.Shown, 1);
  auto answer3 = ChooseColorInNextDialog(0x333333);
  Click(panel_->Bt_Color_BackGround);
  EXPECT_EQ(Rebuilt(), kNone);
  EXPECT_EQ(k_->ColorBackGround, 0x333333);
  EXPECT_EQ(busy_.Shown, 0);
  for (auto [button, field] : {std::pair{panel_->Bt_Color_Axis_X, &k_->ColorAxisX},
                               {panel_->Bt_Color_Axis_Y, &k_->ColorAxisY},
                               {panel_->Bt_Color_Axis_Z, &k_->ColorAxisZ}}) {
    auto answer = ChooseColorInNextDialog(0x0000AA);
    Click(button);
    EXPECT_EQ(Rebuilt(), kAxes);
    EXPECT_EQ(*field, 0x0000AA);
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(busy_.Shown, 0) << button->text().toStdString();
  }
}

TEST_F(PanelTest, CancelledDialogsChangeNothingButStillRedraw) {
  const TKestoState before = *k_;
  for (QPushButton* b : {panel_->Bt_Color_Low, panel_->Bt_Color_High, panel_->Bt_Color_BackGround,
                         panel_->Bt_Color_Axis_X, panel_->Bt_Color_Axis_Y, panel_->Bt_Color_Axis_Z,
                         panel_->Bt_Load, panel_->Bt_Save}) {
    auto answered = CancelNextDialog();
    Click(b);
    EXPECT_TRUE(answered->Answered()) << b->text().toStdString();
    EXPECT_EQ(Rebuilt(), kNone) << b->text().toStdString();
    // Nothing changed: the finished frame is shown again, not drawn. (Uncovering the
    // graph window as the dialog closes may show it once more.)
    EXPECT_GE(Shown(), 1) << b->text().toStdString();
    EXPECT_EQ(Drawn(), 0) << b->text().toStdString();
  }
  EXPECT_EQ(k_->ColorMin, before.ColorMin);
  EXPECT_EQ(k_->ColorHigh, before.ColorHigh);
  EXPECT_EQ(k_->ColorBackGround, before.ColorBackGround);
  EXPECT_EQ(k_->ColorAxisZ, before.ColorAxisZ);
  EXPECT_EQ(k_->GridHighI, 49);
  EXPECT_TRUE(panel_->isEnabled());
}

TEST_F(PanelTest, LoadingAFileShowsItsRanges) {
  TTempDir dir;
  const QString file =
      QString::fromStdString(dir.File("data.txt", "-1,0,5\n2.5,-3,7\n\n-1,1,-2\n2.5,4,0.125\n"));
  auto answered = ChooseFileInNextDialog(file);
  Click(panel_->Bt_Load);
  EXPECT_TRUE(answered->Answered());
  EXPECT_EQ(k_->GridHighI, 1);
  EXPECT_EQ(Rebuilt(), All());
  EXPECT_EQ(panel_->Label4->text(), "X:[-1.00,2.50]");
  EXPECT_EQ(panel_->Label5->text(), "Y:[-3.00,4.00]");
  EXPECT_EQ(panel_->Label6->text(), "Z:[-2.00,7.00]");
  EXPECT_TRUE(panel_->isEnabled());
  EXPECT_FALSE(k_->Label1->isVisible());
  EXPECT_EQ(panel_->OpenDialog1->selectedFiles().value(0), file);  // offered again next time
}

TEST_F(PanelTest, AFailedLoadReportsKeepsTheGraphAndFreesThePanel) {
  TTempDir dir;
  QString report;
  for (const std::string& name :
       {dir.Path("missing.txt"), dir.File("ragged.txt", "1,1,1\n\n1,1,1\n2,2,2\n")}) {
    auto chosen = ChooseFileInNextDialog(QString::fromStdString(name));
    auto reported = CloseNextErrorReport(&report);
    Click(panel_->Bt_Load);
    EXPECT_TRUE(reported->Answered());
    EXPECT_TRUE(report.contains(QString::fromStdString(name))) << report.toStdString();
    EXPECT_EQ(k_->GridHighI, 49);
    EXPECT_EQ(k_->XMax, 49);
    EXPECT_EQ(Rebuilt(), kNone);
    EXPECT_TRUE(panel_->isEnabled());
    EXPECT_FALSE(k_->Label1->isVisible());
  }
  EXPECT_TRUE(report.contains("row 2")) << report.toStdString();
}

TEST_F(PanelTest, SpectrumHidesAndShowsTheLowAndHighSwatches) {
  Reset();
  QTest::mouseClick(panel_->CB_Spec, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(panel_->CB_Spec->isChecked());
  EXPECT_EQ(k_->Spec, 1);
  EXPECT_FALSE(panel_->PB_Low->isVisible());
  EXPECT_FALSE(panel_->PB_High->isVisible());
  EXPECT_FALSE(panel_->Bt_Color_Low->isEnabled());
  EXPECT_FALSE(panel_->Bt_Color_High->isEnabled());
  EXPECT_EQ(Rebuilt(), Graphs());
  EXPECT_EQ(Drawn(), 1);
  k_->ColorMin = 0x00FFFF;
  QTest::mouseClick(panel_->CB_Spec, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_EQ(k_->Spec, 0);
  EXPECT_TRUE(panel_->PB_Low->isVisible());
  EXPECT_TRUE(panel_->Bt_Color_High->isEnabled());
  const QImage chip = panel_->PB_Low->grab().toImage();
  EXPECT_EQ(chip.pixel(10, 8), qRgb(255, 255, 0));  // the current low colour
  EXPECT_EQ(chip.pixel(0, 0), qRgb(0, 0, 0));       // its outline
}

TEST_F(PanelTest, WidthBoxesApplyChosenItemsOnly) {
  Reset();
  QComboBox* line = panel_->CmbB_LineWidth;
  line->setCurrentIndex(10);
  emit line->activated(10);
  EXPECT_EQ(k_->LineWidth, 15);
  EXPECT_EQ(Rebuilt(), Graphs());
  Reset();
  line->lineEdit()->setText("7x");
  QTest::keyClick(line->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(k_->LineWidth, 15);  // not an item: the width stays
  EXPECT_EQ(Rebuilt(), kNone);
  EXPECT_EQ(TForm1::SelectedItem(line), -1);
  line->lineEdit()->setText("20");
  QTest::keyClick(line->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(k_->LineWidth, 20);
  EXPECT_EQ(line->count(), 12);  // typed text adds no item

  Reset();
  QComboBox* axis = panel_->CmbB_AxisWidth;
  axis->setCurrentIndex(3);
  emit axis->activated(3);
  EXPECT_EQ(k_->AxisWidth, 4);
  EXPECT_EQ(Rebuilt(), kAxes);
  EXPECT_EQ(Drawn(), 1);
}

bool APopupIsShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowType() == Qt::Popup) return true;
  return false;
}

TEST_F(PanelTest, ANameTypedInTheOpenDialogLeavesNoPopupBehind) {
  TTempDir dir;
  for (const char* name : {"data1.txt", "data2.txt"}) dir.File(name, "0,0,1\n0,1,2\n");
  panel_->OpenDialog1->setDirectory(QString::fromStdString(dir.Path("")));
  TDialogAnswer typed([](QWidget* w) {
    auto* name = w->findChild<QLineEdit*>("fileNameEdit");
    if (!name) return false;
    name->setFocus();
    QTest::keyClicks(name, "data1.txt");
    // The names it offers appear once the dialog has listed the folder.
    EXPECT_TRUE(QTest::qWaitFor(APopupIsShown, 10000));
    QTest::keyClick(name, Qt::Key_Return);
    return true;
  });
  Click(panel_->Bt_Load);
  EXPECT_EQ(k_->GridHighJ, 1);  // loaded
  EXPECT_FALSE(APopupIsShown());
}

TEST_F(PanelTest, ClosedGraphWindowComesBackWithFreshLists) {
  k_->close();
  EXPECT_FALSE(k_->isVisible());
  EXPECT_TRUE(panel_->isVisible());
  Click(panel_->Bt_Open);
  EXPECT_TRUE(k_->isVisible());
  EXPECT_EQ(Rebuilt(), All());
}

TEST_F(PanelTest, AnimationTurnsOneDegreePerFrameFor361Frames) {
  k_->Angle3 = 160;
  Click(panel_->Bt_Animate);
  EXPECT_EQ(Drawn(), 361);
  EXPECT_GE(Shown(), 361 + 1);  // the click's own frame is the last step's picture
  EXPECT_DOUBLE_EQ(k_->Angle3, 161);
  EXPECT_TRUE(panel_->Bt_Animate->isVisible());
  EXPECT_FALSE(panel_->Bt_Stop->isVisible());
  k_->DrawMode = 0;
  Click(panel_->Bt_Animate);  // nothing in the flat view
  EXPECT_EQ(Shown(), 1);
  EXPECT_DOUBLE_EQ(k_->Angle3, 161);
}

TEST_F(PanelTest, StopEndsTheRunAfterTheStepInProgress) {
  // Stop is pressed once five frames are drawn, counted, not timed, so that a loaded
  // machine gives the same run.
  int framesAtStop = -1;
  std::function<void()> stopAfterFiveFrames = [&] {
    if (Drawn() < 5) {
      QTimer::singleShot(0, stopAfterFiveFrames);
      return;
    }
    EXPECT_TRUE(panel_->Bt_Stop->isVisible());
    EXPECT_FALSE(panel_->Bt_Animate->isVisible());
    framesAtStop = Drawn();
    QTest::mouseClick(panel_->Bt_Stop, Qt::LeftButton);
  };
  QTimer::singleShot(0, stopAfterFiveFrames);
  Click(panel_->Bt_Animate);
  ASSERT_GE(framesAtStop, 5);
  // Only the step in progress is drawn after Stop; the frames ending both clicks
  // show its picture again.
  EXPECT_LE(Drawn(), framesAtStop + 1);
  EXPECT_LT(Drawn(), 300);
  EXPECT_TRUE(panel_->Bt_Animate->isVisible());
  EXPECT_FALSE(panel_->StopRequested);
  Click(panel_->Bt_Animate);  // a new run is not ended by the old Stop
  EXPECT_EQ(Drawn(), 361);
}

// A step of the animation, or a rebuild behind the busy label, that fails part-way:
// reported once, the panel as before the click, and the graph window draws on.
TEST_F(PanelTest, AnErrorPartWayIsReportedOnceAndLeavesThePanelAsItWas) {
  for (auto [button, callsBefore] : {std::pair{panel_->Bt_Animate, 200}, {panel_->Bt_Rise, 0}}) {
    int reports = 0;
    TDialogAnswer answerEvery([&reports](QWidget* w) {
      reports += qobject_cast<QMessageBox*>(w) != nullptr;
      static_cast<QDialog*>(w)->reject();
      return false;
    });
    TFailingSink failing(*rec_, callsBefore);
    k_->Renderer.Sink = &failing;
    Click(button);
    WaitIdle();
    k_->Renderer.Sink = rec_.get();
    EXPECT_TRUE(failing.Failed() && reports == 1) << reports;
    EXPECT_TRUE(panel_->Bt_Animate->isVisible() && !panel_->Bt_Stop->isVisible());
    EXPECT_FALSE(panel_->StopRequested || k_->Label1->isVisible() || !panel_->isEnabled());
    Click(panel_->Bt_Up);
    WaitIdle();
    EXPECT_EQ(Drawn(), 1);
    EXPECT_EQ(k_->LastGLError, GLenum(GL_NO_ERROR));
  }
}

TEST_F(PanelTest, ViewSwitchDuringARunGoesOn) {
  QTimer::singleShot(30, [&] { QTest::mouseClick(panel_->Bt_DrawMode, Qt::LeftButton); });
  k_->Angle3 = 10;
  Click(panel_->Bt_Animate);
  EXPECT_EQ(k_->DrawMode, 0);
  EXPECT_DOUBLE_EQ(k_->Angle3, 11);
  EXPECT_TRUE(k_->windowTitle().startsWith("KestoForm(2D)"));
}

}  // namespace
