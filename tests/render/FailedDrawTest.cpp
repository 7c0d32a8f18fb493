#include <gtest/gtest.h>

#include <new>
#include <optional>

#include "AllocationFailure.h"
#include "kesto-render/HeadlessGL.h"
#include "render/FailingSink.h"
#include "render/FrameRenderer.h"
#include "render/ReadPixels.h"
#include "render/TestGrids.h"

namespace {

constexpr int kW = 320, kH = 240;

enum class TWay { Replay, Lists };  // kesto-render's frame, the viewer's
enum class TFault { SinkFails, AllocationFails };

struct TCase {
  TWay Way;
  TFault Fault;
  int After;  // calls, or large allocations, that succeed first
};

std::vector<uint8_t> Frame(TFrameRenderer& r, TKestoState& s, TWay way) {
  if (way == TWay::Replay) {
    r.DrawWithoutLists(s, kW, kH, false);
  } else {
    const TFrameKey key = r.Key(s, kW, kH, false);
    EXPECT_EQ(r.Draw(
                  s, key, [] { return true; }, nullptr),
              TFrameRenderer::TDrawn::Drawn);
  }
  glFinish();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));  // no list left open, nothing unbalanced
  return ReadFrameRGB(kW, kH);
}

class FailedDrawTest : public ::testing::TestWithParam<TCase> {};

// A frame whose drawing fails part-way (the builders' queue abandoned by the thread
// that draws, or memory running out on either thread) ends with the error, not an
// abort, and the same renderer then draws the whole picture.
TEST_P(FailedDrawTest, EndsWithTheErrorAndTheNextFrameIsWhole) {
  const TCase c = GetParam();
  THeadlessGL gl;
  ASSERT_TRUE(gl.Create(kW, kH)) << gl.Error();
  TKestoState s;
  SetGrid(s, 160, 140, [](int i, int j) { return (i % 17) * (j % 13); });
  s.SurfaceMode = kSurfaceFilled;
  TFrameRenderer clean;
  clean.PieceVertices = 1 << 12;
  const std::vector<uint8_t> whole = Frame(clean, s, c.Way);
  clean.Release();

  TFrameRenderer r;
  r.PieceVertices = 1 << 12;
  TGLSink* direct = r.Sink;
  TFailingSink failing(*direct, c.After);
  if (c.Fault == TFault::SinkFails) r.Sink = &failing;
  {
    std::optional<TAllocationFailure> memory;
    if (c.Fault == TFault::AllocationFails) memory.emplace(1 << 16, c.After);
    EXPECT_THROW(Frame(r, s, c.Way), std::bad_alloc);
  }
  glGetError();  // what the failed frame left
  r.Sink = direct;
  EXPECT_EQ(Frame(r, s, c.Way), whole);
  r.Release();
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedDrawTest,
                         ::testing::Values(TCase{TWay::Replay, TFault::SinkFails, 40},
                                           TCase{TWay::Replay, TFault::AllocationFails, 0},
                                           TCase{TWay::Replay, TFault::AllocationFails, 5},
                                           TCase{TWay::Lists, TFault::SinkFails, 30},
                                           TCase{TWay::Lists, TFault::AllocationFails, 0}));

}  // namespace
