#include "render/Frame.h"

#include <gtest/gtest.h>

#include <thread>

#include "TestGrids.h"
#include "render/CommandQueue.h"
#include "render/ContourLines.h"
#include "render/ForwardingSink.h"
#include "render/RecordingSink.h"

namespace {

std::vector<GLuint> CompiledBy(int32_t mask) {
  TKestoState s;
  TRecordingSink rec;
  BuildLists(s, mask, rec);
  return rec.Compiled();
}

TEST(Frame, MasksRebuildExactlyTheirListsInTheFixedOrder) {
  using V = std::vector<GLuint>;
  EXPECT_EQ(CompiledBy(4095), (V{2, 1, 4, 8, 32, 16, 64, 128, 256, 512}));
  EXPECT_EQ(CompiledBy(255), (V{2, 1, 4, 8, 32, 16, 64, 128}));
  EXPECT_EQ(CompiledBy(3840), (V{256, 512}));
  EXPECT_EQ(CompiledBy(0x020 | 0x001), (V{1, 32}));
  EXPECT_TRUE(CompiledBy(0).empty());
  EXPECT_TRUE(CompiledBy(0x400).empty());
  EXPECT_TRUE(CompiledBy(0x800 | 0x1000).empty());
}

TEST(Frame, ListsHoldTheirBuilders) {
  TKestoState s;
  TRecordingSink rec;
  BuildLists(s, 4095, rec);
  EXPECT_EQ(rec.Primitives(rec.ListBody(2)).size(), 2401 * 4u);  // each loop's segments
  EXPECT_EQ(TRecordingSink::Count(rec.ListBody(1), TGLOp::DrawArrays, GL_POLYGON), 2401);
  EXPECT_EQ(TRecordingSink::Count(rec.ListBody(32), TGLOp::DrawArrays, GL_LINE_LOOP), 2401);
  EXPECT_EQ(TRecordingSink::Count(rec.ListBody(16), TGLOp::DrawArrays, GL_POLYGON), 2401);
  EXPECT_EQ(TRecordingSink::Count(rec.ListBody(64), TGLOp::DrawArrays, GL_QUADS), 2500);
  EXPECT_EQ(TRecordingSink::Count(rec.ListBody(128), TGLOp::DrawArrays), 81);
  EXPECT_EQ(TRecordingSink::Count(rec.ListBody(512), TGLOp::DrawArrays, GL_POLYGON), 36);
}

std::vector<GLuint> ReplayedBy(TKestoState& s, bool simple) {
  TRecordingSink rec;
  DrawFrame(s, 640, 480, simple, rec);
  return rec.Replayed();
}

TEST(Frame, ModesSelectTheListsAFrameReplays) {
  using V = std::vector<GLuint>;
  TKestoState s;
  EXPECT_EQ(ReplayedBy(s, false), (V{32, 512}));
  s.DrawMode = 0;
  s.SurfaceMode = 1;
  s.AxisMode = 0;
  EXPECT_EQ(ReplayedBy(s, false), (V{1}));
  s.DrawMode = 1;
  s.SurfaceMode = 2;
  s.AxisMode = 1;
  EXPECT_EQ(ReplayedBy(s, false), (V{64, 512}));
  EXPECT_EQ(ReplayedBy(s, true), (V{128, 512}));  // the coarse mesh, not the markers
  s.DrawMode = 0;
  EXPECT_EQ(ReplayedBy(s, true), (V{8, 256}));
  s.SurfaceMode = -1;
  EXPECT_EQ(ReplayedBy(s, false), (V{256}));
  s.DrawMode = -1;
  EXPECT_TRUE(ReplayedBy(s, false).empty());
}

TEST(Frame, FullFrameSmoothsSimpleFrameLeavesStateAlone) {
  TKestoState s;
  s.ColorBackGround = 0x0000FF;
  TRecordingSink full;
  DrawFrame(s, 640, 480, false, full);
  ASSERT_EQ(full.Calls[0].Op, TGLOp::ClearColor);
  EXPECT_EQ(full.Calls[0].A, (std::array<double, 9>{1, 0, 0, 0}));
  EXPECT_EQ(TRecordingSink::Count(full.Calls, TGLOp::Enable, GL_LINE_SMOOTH), 1);
  EXPECT_EQ(TRecordingSink::Count(full.Calls, TGLOp::Enable, GL_BLEND), 1);
  TRecordingSink simple;
  DrawFrame(s, 640, 480, true, simple);
  EXPECT_EQ(TRecordingSink::Count(simple.Calls, TGLOp::Enable, GL_LINE_SMOOTH), 0);
  EXPECT_EQ(TRecordingSink::Count(simple.Calls, TGLOp::Enable, GL_BLEND), 0);
  EXPECT_EQ(TRecordingSink::Count(simple.Calls, TGLOp::Disable, GL_BLEND), 0);
}

TEST(Frame, WholeClientThenTheBarViewport) {
  TKestoState s;
  s.DrawMode = -1;  // no view: the bar is still drawn
  TRecordingSink rec;
  DrawFrame(s, 640, 480, false, rec);
  std::vector<std::array<double, 9>> viewports;
  for (const TGLCall& c : rec.Calls)
    if (c.Op == TGLOp::Viewport) viewports.push_back(c.A);
  ASSERT_EQ(viewports.size(), 2u);
  EXPECT_EQ(viewports[0], (std::array<double, 9>{0, 0, 640, 480}));
  EXPECT_EQ(viewports[1], (std::array<double, 9>{160, 5, 320, 10}));
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::DrawArrays, GL_POLYGON), 1);
}

TEST(Frame, FrameNormalisesTheViewFirst) {
  TKestoState s;
  s.Angle3 = 370;
  s.DrawMode = 2;
  TRecordingSink rec;
  DrawFrame(s, 100, 100, false, rec);
  EXPECT_EQ(s.Angle3, 10);
  EXPECT_EQ(s.DrawMode, 0);
}

TEST(Frame, CaptionNamesViewSizeAndRenderer) {
  TKestoState s;
  s.RendererName = "llvmpipe";
  EXPECT_EQ(FrameCaption(s, 640, 480), "KestoForm(3D)640x480:llvmpipe");
  s.DrawMode = 0;
  EXPECT_EQ(FrameCaption(s, 321, 77), "KestoForm(2D)321x77:llvmpipe");
  s.DrawMode = -1;
  EXPECT_EQ(FrameCaption(s, 640, 480), "KestoForm()640x480:llvmpipe");
}

// A drawing that fails ends the builders' thread too, instead of leaving it waiting on
// a full queue.
TEST(Frame, AQueueWhoseConsumerThrowsEndsWithTheError) {
  struct TFailing : TGLForwardingSink {
    using TGLForwardingSink::TGLForwardingSink;
    void Passing() override { throw std::runtime_error("out of memory"); }
  };
  TGLCommandQueue queue;
  TGLRecorder flush;
  flush.Flush();
  std::thread producer([&] {
    try {
      for (int k = 0; k < 100; ++k) queue.Push(flush);
      queue.Close();
    } catch (const TQueueAbandoned&) {
      queue.Close();
    }
  });
  TRecordingSink rec;
  TFailing failing(rec);
  EXPECT_THROW(queue.Drain(failing), std::runtime_error);
  producer.join();
}

}  // namespace

TEST(Frame, ContourLinesDrawnInPiecesAsInOne) {
  TKestoState s;
  // Heights that wander: far more points than one piece holds.
  SetGrid(s, 200, 200, [](int i, int j) { return double((i * 7919 + j * 104729) % 1009); });
  s.DrawMode = kDrawMode3D, s.Contours = 2, s.ContourColoured = true;
  const TContours lines = TraceContours(s.Grid, s.GridHighI, s.GridHighJ, ContourLevelsOf(s));
  const std::vector<TContourGap> gaps = PlanLabels(s, 640, 480, &lines).Gaps;
  ASSERT_GT(gaps.size(), 10u);
  TRecordingSink unbroken, whole, pieces;
  size_t next = 0;
  ASSERT_TRUE(DrawContours(s, lines, {}, unbroken, next, [] { return true; }));
  ASSERT_TRUE(DrawContours(s, lines, gaps, whole, next, [] { return true; }));
  int turns = 1;
  while (!DrawContours(s, lines, gaps, pieces, next, [] { return false; })) ++turns;
  EXPECT_GT(turns, 2);
  EXPECT_EQ(pieces.Corners(), whole.Corners());
  // Each gap leaves out the points between its ends, and an open line's end point
  // left alone beyond it.
  size_t left = 0;
  for (const TContourGap& g : gaps) {
    const TContourLine& line = lines.Lines[g.Line];
    left += g.To - g.From - 1;
    if (!line.Closed) left += size_t(g.From == 0) + size_t(g.To + 1 == line.Count);
  }
  EXPECT_EQ(whole.Corners().size() + left, unbroken.Corners().size());
}
