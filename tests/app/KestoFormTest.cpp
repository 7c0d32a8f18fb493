#include "app/KestoForm.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QPalette>
#include <QTest>
#include <functional>

#include "Capture.h"
#include "app/GLSurface.h"
#include "gui/SysColors.h"
#include "render/Frame.h"
#include "render/RecordingSink.h"

namespace {

class KestoFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.LazyLists = false;
    form_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    form_.MakeList(kMaskAll);
  }
  TKestoForm form_;
};

TEST_F(KestoFormTest, OpensAt154WithA640x480ClientAndAContext) {
  EXPECT_TRUE(form_.GLContext.Active);
  EXPECT_TRUE(form_.GLContext.DoubleBuffer);
  EXPECT_EQ(form_.ClientWidth(), 640);
  EXPECT_EQ(form_.ClientHeight(), 480);
  EXPECT_EQ(form_.x(), 154);
  EXPECT_FALSE(form_.RendererName.empty());
  EXPECT_EQ(form_.Label1->text(), "Please wait...");
  EXPECT_FALSE(form_.Label1->isVisible());
  EXPECT_EQ(QOpenGLContext::currentContext(), nullptr);  // released after every bracket
}

TEST_F(KestoFormTest, CaptionAfterEveryFrame) {
  form_.DrawGraph();
  const QString renderer = QString::fromStdString(form_.RendererName);
  EXPECT_EQ(form_.windowTitle(), "KestoForm(3D)640x480:" + renderer);
  form_.DrawMode = 0;
  form_.DrawSimpleGraph();
  EXPECT_EQ(form_.windowTitle(), "KestoForm(2D)640x480:" + renderer);
  form_.SetClientSize(500, 300);
  QGuiApplication::sync();  // the window system has answered the resize
  form_.DrawGraph();
  EXPECT_EQ(form_.windowTitle(), "KestoForm(2D)500x300:" + renderer);
}

TEST_F(KestoFormTest, MakeListBuildsTheMaskedListsInOneBracket) {
  TGLSink* direct = form_.Renderer.Sink;
  TRecordingSink rec(direct);
  form_.Renderer.Sink = &rec;
  form_.Angle3 = 400;
  form_.MakeList(255);
  EXPECT_EQ(form_.Angle3, 40);  // normalised before building
  EXPECT_EQ(rec.Compiled(), (std::vector<GLuint>{2, 1, 4, 8, 32, 16, 64, 128}));
  rec.Clear();
  form_.MakeList(0);
  EXPECT_TRUE(rec.Calls.empty());
  form_.Renderer.Sink = direct;
  EXPECT_EQ(QOpenGLContext::currentContext(), nullptr);
}

// Markers too many for one piece are drawn from the grid at every frame, never compiled,
// and show exactly what their compiled list shows.
TEST_F(KestoFormTest, ManyMarkersAreDrawnFromTheGridAsTheirListShowsThem) {
  form_.SurfaceMode = kSurfaceMarkers;
  TGLSink* direct = form_.Renderer.Sink;
  for (int32_t view : {kDrawMode3D, kDrawMode2D}) {
    form_.DrawMode = view;
    form_.Renderer.PieceVertices = kPieceVertices;  // the sample's markers: one piece
    form_.MakeList(kList2DMarkers | kList3DMarkers);
    const QImage compiled = Capture(form_);
    TRecordingSink rec(direct);
    form_.Renderer.Sink = &rec;
    form_.Renderer.PieceVertices = 600;
    form_.MakeList(kList2DMarkers | kList3DMarkers);
    EXPECT_EQ(Capture(form_), compiled) << view;
    EXPECT_TRUE(rec.Compiled().empty()) << view;
    form_.Renderer.Sink = direct;
  }
}

TEST_F(KestoFormTest, ListsTheNextFrameNeedsAtOnceTheOthersWhenAFrameFirstNeedsThem) {
  TRecordingSink rec(form_.Renderer.Sink);
  form_.Renderer.Sink = &rec;
  form_.LazyLists = true;
  const QImage before = Capture(form_);
  form_.MakeList(kMaskAll);
  EXPECT_EQ(rec.Compiled(), (std::vector<GLuint>{32, 512}));
  rec.Clear();
  form_.DrawGraph();
  EXPECT_TRUE(rec.Compiled().empty());
  form_.SurfaceMode = 1;
  form_.AxisMode = 0;
  form_.DrawGraph();
  EXPECT_EQ(rec.Compiled(), (std::vector<GLuint>{16}));
  form_.SurfaceMode = 0;
  form_.AxisMode = 1;
  rec.Clear();
  const QImage fresh = Capture(form_);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::ClearColor), 1);
  EXPECT_EQ(fresh, before);
  // Nothing changed since: the same picture is shown again without drawing it.
  rec.Clear();
  const int shown = form_.FramesShown;
  const QImage again = Capture(form_);
  EXPECT_TRUE(rec.Calls.empty());
  EXPECT_EQ(form_.FramesShown, shown + 1);
  EXPECT_EQ(again, fresh);
  form_.Renderer.Sink = rec.Forward();
}

TEST_F(KestoFormTest, CapturedFrameShowsTheSampleSurface) {
  const QImage px = Capture(form_);
  ASSERT_EQ(px.size(), QSize(640, 480));
  EXPECT_EQ(px.pixel(0, 0), qRgb(0, 0, 0));
  int painted = 0;
  for (int y = 120; y < 360; ++y)
    for (int x = 160; x < 480; ++x) painted += qRed(px.pixel(x, y)) > 0;
  EXPECT_GT(painted, 2000);
  EXPECT_GT(qRed(px.pixel(162, 480 - 10)), 240);  // the colour bar's red end
}

// A frame drawn while the window system holds the window at another size than the
// toolkit reports (a window manager yet to grant a resize) fills no window: it is
// drawn again, never kept and shown as it was.
TEST_F(KestoFormTest, AFrameForAnotherSizeThanTheWindowsIsNotKept) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  ASSERT_NE(x11, nullptr);
  const auto resize = [&](uint32_t w, uint32_t h) {
    const uint32_t size[] = {w, h};
    xcb_configure_window(x11->connection(), form_.WindowDC->winId(),
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    xcb_flush(x11->connection());
  };
  TGLSink* direct = form_.Renderer.Sink;
  TRecordingSink rec(direct);
  form_.Renderer.Sink = &rec;
  form_.DrawGraph();
  resize(700, 520);  // larger: the frame would sit in a corner of it
  form_.Angle3 += 1;
  form_.DrawGraph();
  rec.Clear();
  form_.DrawGraph();
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::ClearColor), 1);
  resize(640, 480);
  form_.Renderer.Sink = direct;
}

TEST(SysColors, WindowsIndicesFollowThePalette) {
  const QColor face = QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
  const uint32_t expected =
      uint32_t(face.red()) | uint32_t(face.green()) << 8 | uint32_t(face.blue()) << 16;
  EXPECT_EQ(PaletteSysColor(15), expected);
  EXPECT_EQ(GetSysColor(15), expected);
  EXPECT_EQ(PaletteSysColor(25), 0u);
  EXPECT_EQ(PaletteSysColor(31), 0u);
  EXPECT_EQ(PaletteSysColor(200), 0u);
}

}  // namespace

// An unchanged frame is put on the window again as kept; a change of anything the
// frame reads draws it anew, the lists that read it made again without being asked:
// the picture is the one a rebuild of every list gives.
TEST_F(KestoFormTest, EveryFieldAFrameReadsDrawsANewFrame) {
  const std::pair<const char*, std::function<void(TKestoState&)>> changes[] = {
      {"background", [](TKestoState& s) { s.ColorBackGround ^= 0x0000FF; }},
      {"line width", [](TKestoState& s) { s.LineWidth = 3; }},
      {"axis width", [](TKestoState& s) { s.AxisWidth = 3; }},
      {"axis colour", [](TKestoState& s) { s.ColorAxisY ^= 0xFF00FF; }},
      {"map", [](TKestoState& s) { s.Palette = kPaletteViridis; }},
      {"reversed", [](TKestoState& s) { s.ReversePalette = 1; }},
      {"highest", [](TKestoState& s) { s.ZMax += 1; }},
      {"low", [](TKestoState& s) { s.ColorMin ^= 0x00FF00; }},
      {"high", [](TKestoState& s) { s.ColorHigh ^= 0x00FF00; }},
      {"spectrum table",
       [](TKestoState& s) { s.SpectrumTable[200].R = 1 - s.SpectrumTable[200].R; }},
      {"colouring", [](TKestoState& s) { s.Spec = 1 - s.Spec; }},
      {"surface", [](TKestoState& s) { s.SurfaceMode = kSurfaceFilled; }},
      {"axes", [](TKestoState& s) { s.AxisMode = kAxesOff; }},
      {"tilt", [](TKestoState& s) { s.Angle2 += 1; }},
      {"turn", [](TKestoState& s) { s.Angle3 += 1; }},
      {"distance", [](TKestoState& s) { s.Distance += 1; }},
      {"height scale", [](TKestoState& s) { s.HeightScale += 0.1; }},
      {"view", [](TKestoState& s) { s.DrawMode = kDrawMode2D; }},
  };
  TGLSink* direct = form_.Renderer.Sink;
  TRecordingSink rec(direct);
  form_.Renderer.Sink = &rec;
  const auto framesDrawn = [&] {
    rec.Clear();
    form_.DrawGraph();
    return TRecordingSink::Count(rec.Calls, TGLOp::ClearColor);
  };
  framesDrawn();
  for (const auto& [field, change] : changes) {
    EXPECT_EQ(framesDrawn(), 0) << "before " << field;
    change(form_);
    EXPECT_EQ(framesDrawn(), 1) << field;
    const QImage seen = Capture(form_);
    form_.MakeList(kMaskAll);
    EXPECT_EQ(Capture(form_), seen) << field;
  }
  form_.Renderer.Sink = direct;
}
