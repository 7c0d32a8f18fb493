#include <gtest/gtest.h>

#include <random>

#include "kesto-render/HeadlessGL.h"
#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/ReadPixels.h"
#include "render/RecordingSink.h"
#include "render/TestGrids.h"

namespace {

constexpr int kW = 320, kH = 240;

// A random 37 x 23 surface on a lattice with uneven x steps, the origin inside.
TKestoState IrregularGrid() {
  TKestoState s;
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> z(-5, 5);
  SetGrid(s, 37, 23, [&](int, int) { return z(rng); });
  for (TGridRow& row : s.Grid)
    for (TGridPoint& p : row) p.X += z(rng) * 0.05;
  ApplyRanges(s, ComputeRanges(s.Grid, s.GridHighI, s.GridHighJ));
  s.OriginX = s.XMin + 1;
  s.Angle3 = 300;
  s.Angle2 = 70;
  return s;
}

class FastPathTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.Create(kW, kH)) << gl_.Error(); }

  enum class TPath { OneByOne, Arrays, Replay };

  // Lists compiled from one glBegin/glEnd per primitive or from vertex arrays, or
  // drawn straight from the builders.
  std::vector<uint8_t> Frame(TKestoState s, TPath path, bool simple) {
    TGLDirectSink direct;
    s.NormalizeView();
    glDeleteLists(1, 512);
    if (path == TPath::OneByOne) {
      BuildLists(s, kMaskAll, direct);
    } else {
      TGLArraySink batched(direct);
      BuildLists(s, path == TPath::Arrays ? kMaskAll : kList3DMarkers, batched);
    }
    TGLReplaySink replay(s, direct);
    DrawFrame(s, kW, kH, simple, path == TPath::Replay ? static_cast<TGLSink&>(replay) : direct);
    glFinish();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return ReadFrameRGB(kW, kH);
  }

  void ExpectSamePictures(const TKestoState& base) {
    for (int draw : {0, 1})
      for (int surface : {0, 1, 2})
        for (int spec : {0, 1})
          for (bool simple : {false, true}) {
            TKestoState s = base;
            s.DrawMode = draw;
            s.SurfaceMode = surface;
            s.Spec = spec;
            s.AxisMode = (surface + spec) % 2;
            s.LineWidth = surface == 2 ? 10 : 2;
            s.AxisWidth = 3;
            const auto reference = Frame(s, TPath::OneByOne, simple);
            ASSERT_EQ(Frame(s, TPath::Arrays, simple), reference)
                << "arrays: view " << draw << " surface " << surface << " spec " << spec
                << " simple " << simple;
            ASSERT_EQ(Frame(s, TPath::Replay, simple), reference)
                << "replay: view " << draw << " surface " << surface << " spec " << spec
                << " simple " << simple;
          }
  }

  THeadlessGL gl_;
};

TEST_F(FastPathTest, SamplePicturesAreTheSameToThePixel) {
#ifdef __SANITIZE_ADDRESS__  // each large buffer of the driver a fresh mapping: minutes
  GTEST_SKIP() << "too slow under AddressSanitizer; the random grid takes the same paths";
#endif
  TKestoState s;
  ExpectSamePictures(s);
}

TEST_F(FastPathTest, RandomGridPicturesAreTheSameToThePixel) {
  ExpectSamePictures(IrregularGrid());
}

// What a list records through the vertex arrays, as segments or as loops, is what
// its builder gives one array draw a primitive, segment for segment and triangle for
// triangle.
TEST(ArraySinkTest, RecordedArraysHoldTheBuildersPrimitives) {
  for (const TKestoState& grid : {TKestoState(), IrregularGrid()}) {
    for (int spec : {0, 1, 2}) {
      TKestoState s = grid;
      s.Spec = spec;
      s.NormalizeView();
      for (int32_t list = 1; list <= kListAxes3D; list *= 2) {
        TRecordingSink oneByOne;
        BuildListBody(s, list, oneByOne);
        const auto expected = oneByOne.Primitives(oneByOne.Calls);
        ASSERT_FALSE(expected.empty()) << list;
        for (auto lines : {TGLArraySink::TLines::Segments, TGLArraySink::TLines::Loops}) {
          TRecordingSink arrays;
          TGLArraySink batched(arrays, lines);
          BuildListBody(s, list, batched);
          batched.DrawBatch();
          ASSERT_EQ(arrays.Primitives(arrays.Calls), expected)
              << "list " << list << " spec " << spec;
          if (list < kListAxes2D) {  // the graph in a few batches, not cell by cell
            EXPECT_LE(10 * (TRecordingSink::Count(arrays.Calls, TGLOp::DrawArrays) +
                            TRecordingSink::Count(arrays.Calls, TGLOp::MultiDrawArrays)),
                      TRecordingSink::Count(oneByOne.Calls, TGLOp::DrawArrays))
                << list;
          }
        }
      }
    }
  }
}

}  // namespace
