#include "render/GraphLists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "render/Frame.h"
#include "render/ListMemory.h"
#include "render/RecordingSink.h"
#include "render/TestGrids.h"

namespace {

TRecordingSink Record3D(const TKestoState& s, int variant) {
  TRecordingSink rec;
  Build3DGraphList(s, variant, rec);
  return rec;
}

TRecordingSink Record2D(const TKestoState& s, int variant) {
  TRecordingSink rec;
  Build2DGraphList(s, variant, rec);
  return rec;
}

int Draws(const TRecordingSink& rec, GLenum mode) {
  return TRecordingSink::Count(rec.Calls, TGLOp::DrawArrays, mode);
}
int Draws(const TRecordingSink& rec) { return TRecordingSink::Count(rec.Calls, TGLOp::DrawArrays); }

TEST(GraphLists, SampleCellCountsInEveryVariant) {
  TKestoState s;
  s.NormalizeView();
  EXPECT_EQ(Draws(Record3D(s, 0), GL_LINE_LOOP), 2401);
  EXPECT_EQ(Draws(Record3D(s, 1), GL_POLYGON), 2401);
  EXPECT_EQ(Draws(Record3D(s, 2), GL_QUADS), 2500);
  EXPECT_EQ(Record3D(s, 2).Corners().size(), 2500 * 24u);
  EXPECT_EQ(Draws(Record3D(s, 3), GL_LINE_LOOP), 81);
  EXPECT_EQ(Draws(Record2D(s, 0), GL_LINE_LOOP), 2401);
  EXPECT_EQ(Draws(Record2D(s, 1), GL_POLYGON), 2401);
  EXPECT_EQ(Draws(Record2D(s, 2), GL_POLYGON), 2500);
  EXPECT_EQ(Draws(Record2D(s, 3), GL_LINE_LOOP), 81);
}

TEST(GraphLists, CellCornersInOrderEachWithItsColour) {
  TKestoState s;
  s.NormalizeView();
  for (int variant : {0, 1}) {
    const TRecordingSink rec = Record3D(s, variant);
    ASSERT_EQ(rec.Calls[0].Op, TGLOp::LineWidth);
    EXPECT_EQ(rec.Calls[0].A[0], 1.0);
    // Each cell one draw of its corners (0,0), (1,0), (1,1), (0,1); then the next cell (0,1)...
    ASSERT_EQ(rec.Calls[1].Op, TGLOp::DrawArrays);
    EXPECT_EQ(rec.Calls[1].A[1], 4);
    const auto v = rec.Corners();
    const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int k = 0; k < 4; ++k) {
      EXPECT_FLOAT_EQ(v[k].X, float(corners[k][0] / 49.0));
      EXPECT_FLOAT_EQ(v[k].Y, float(corners[k][1] / 49.0));
    }
    EXPECT_FLOAT_EQ(v[4].Y, float(1 / 49.0));  // the first corner of cell (0, 1)
  }
  const auto flat = Record2D(s, 0).Corners();
  EXPECT_FLOAT_EQ(flat[2].X, float(1 / 49.0));
  EXPECT_FLOAT_EQ(flat[2].Y, float(1 / 49.0));
}

TEST(GraphLists, HeightsSpanZeroToHeightScale) {
  TKestoState s;
  s.NormalizeView();
  double lo = 1e9, hi = -1e9;
  for (const TArrayVertex& v : Record3D(s, 1).Corners()) {
    lo = std::min<double>(lo, v.Z);
    hi = std::max<double>(hi, v.Z);
  }
  EXPECT_FLOAT_EQ(lo, 0.0f);
  EXPECT_FLOAT_EQ(hi, 0.8f);
  s.HeightScale = 0;
  for (const TArrayVertex& v : Record3D(s, 0).Corners()) ASSERT_EQ(v.Z, 0.0f);
}

TEST(GraphLists, CubesHaveTheirFacesInOrderAndAnEdgeOfALineWidthFifth) {
  TKestoState s;
  s.NormalizeView();
  const auto verts = Record3D(s, 2).Corners();
  const double e = 0.2 / 49;
  const double x0 = 0 - e / 2, x1 = x0 + e, z0 = 0 - e / 2, z1 = z0 + e;
  const double expect[24][3] = {
      {x0, x0, z0}, {x0, x1, z0}, {x1, x1, z0}, {x1, x0, z0}, {x0, x0, z0}, {x1, x0, z0},
      {x1, x0, z1}, {x0, x0, z1}, {x1, x0, z0}, {x1, x1, z0}, {x1, x1, z1}, {x1, x0, z1},
      {x1, x1, z0}, {x0, x1, z0}, {x0, x1, z1}, {x1, x1, z1}, {x0, x1, z0}, {x0, x0, z0},
      {x0, x0, z1}, {x0, x1, z1}, {x0, x0, z1}, {x1, x0, z1}, {x1, x1, z1}, {x0, x1, z1}};
  const double zOffset = (0 - s.ZMin) / (s.ZMax - s.ZMin) * 0.8;  // height of point (0, 0)
  for (int k = 0; k < 24; ++k) {
    EXPECT_FLOAT_EQ(verts[k].X, float(expect[k][0])) << k;
    EXPECT_FLOAT_EQ(verts[k].Y, float(expect[k][1])) << k;
    EXPECT_FLOAT_EQ(verts[k].Z, float(expect[k][2] + zOffset)) << k;
  }
  s.LineWidth = 20;
  const auto big = Record2D(s, 2).Corners();
  EXPECT_NEAR(big[1].X - big[0].X, 4.0 / 49, 1e-6);
}

TEST(GraphLists, CoarseMeshStepsAndIgnoresLineWidth) {
  TKestoState s;
  s.LineWidth = 7;
  s.NormalizeView();
  const TRecordingSink rec = Record3D(s, 3);
  EXPECT_EQ(rec.Calls[0].A[0], 7.0);
  EXPECT_EQ(rec.Calls[1].Op, TGLOp::LineWidth);
  EXPECT_EQ(rec.Calls[1].A[0], 1.0);
  for (const TArrayVertex& v : rec.Corners()) {
    const double i = v.X * 49.0, j = v.Y * 49.0;
    EXPECT_NEAR(std::fmod(i + 1e-4, 5.0), 0.0, 1e-3);
    EXPECT_NEAR(std::fmod(j + 1e-4, 5.0), 0.0, 1e-3);
    EXPECT_LE(i, 45.0 + 1e-3);
  }

  SetGrid(s, 11, 5, [](int i, int j) { return i * j; });  // GridHighI 10: stepI 2
  std::set<int> rows;
  for (const TArrayVertex& v : Record3D(s, 3).Corners()) rows.insert(int(v.X * 10 + 0.5));
  EXPECT_EQ(rows, (std::set<int>{0, 2, 4, 6, 8}));  // corners: cells start at 0, 2, 4, 6
  EXPECT_EQ(Draws(Record3D(s, 3)), 4 * 3);
}

TEST(GraphLists, OneAndTwoRowGrids) {
  TKestoState s;
  SetGrid(s, 1, 6, [](int, int j) { return j; });
  for (int variant : {0, 1, 3}) {
    EXPECT_EQ(Record3D(s, variant).Calls.size(), variant == 3 ? 2u : 1u);
    EXPECT_EQ(Record2D(s, variant).Calls.size(), variant == 3 ? 2u : 1u);
  }
  EXPECT_EQ(Draws(Record3D(s, 2)), 6);
  EXPECT_EQ(Draws(Record2D(s, 2)), 6);

  SetGrid(s, 2, 6, [](int i, int j) { return i + j; });
  EXPECT_EQ(Draws(Record3D(s, 0)), 5);
  EXPECT_EQ(Draws(Record2D(s, 1)), 5);
  EXPECT_EQ(Draws(Record3D(s, 3)), 0);
  EXPECT_EQ(Draws(Record2D(s, 3)), 0);
}

TEST(GraphLists, UnknownVariantEmitsOnlyTheLineWidth) {
  TKestoState s;
  for (int variant : {-1, 4, 99}) {
    EXPECT_EQ(Record3D(s, variant).Calls.size(), 1u);
    EXPECT_EQ(Record2D(s, variant).Calls.size(), 1u);
  }
}

TEST(GraphLists, SpecTwoBlendsCellsButPaintsMarkersFromTheSpectrum) {
  TKestoState s;
  SetGrid(s, 2, 2, [](int i, int j) { return i + j; });  // corner (0, 0) at t = 0
  s.Spec = 2;
  const auto cell = Record3D(s, 0).Corners();
  EXPECT_FLOAT_EQ(cell[0].B, 1.0f);  // the blend's low colour: blue
  EXPECT_FLOAT_EQ(cell[0].R, 0.0f);
  const auto marker = Record2D(s, 2).Corners();
  EXPECT_FLOAT_EQ(marker[0].B, 256.0f / 255.0f);  // spectrum entry 0
  s.Spec = 1;
  const auto top = Record3D(s, 1).Corners();
  EXPECT_FLOAT_EQ(top[2].R, 1.0f);  // corner (1, 1) at t = 1: entry 511
  EXPECT_FLOAT_EQ(top[2].G, 1.0f / 255.0f);
}

TEST(GraphLists, FlatDataIsMidScale) {
  TKestoState s;
  SetGrid(s, 3, 3, [](int, int) { return 4.0; });
  const auto blend = Record3D(s, 0).Corners();
  EXPECT_FLOAT_EQ(blend[0].R, 0.5f);
  EXPECT_FLOAT_EQ(blend[0].G, 0.0f);
  EXPECT_FLOAT_EQ(blend[0].B, 0.5f);
  s.Spec = 1;
  const auto green = Record3D(s, 0).Corners();
  EXPECT_FLOAT_EQ(green[0].R, 0.0f);
  EXPECT_FLOAT_EQ(green[0].G, 256.0f / 255.0f);
}

TEST(GraphLists, HeightScaleChangesNoFlatList) {
  TKestoState s;
  s.NormalizeView();
  for (int variant = 0; variant < 4; ++variant) {
    const auto before = Record2D(s, variant);
    s.HeightScale = 1.7;
    const auto after = Record2D(s, variant);
    s.HeightScale = 0.8;
    ASSERT_EQ(before.Calls.size(), after.Calls.size());
    ASSERT_EQ(before.Corners(), after.Corners());
  }
}

}  // namespace

// The memory check's count of the corners of cells cut into colour steps against the
// corners the list holds: never fewer, and not far more.
TEST(GraphLists, TheBandedShareCountsTheCornersOfTheCutCells) {
  TKestoState s;
  s.NormalizeView();
  const double plain = 4.0 * s.GridHighI * s.GridHighJ;
  for (int steps : {0, 4, 64, 256}) {
    SCOPED_TRACE(steps);
    s.ColorSteps = steps;
    const double held = double(Record3D(s, 1).Corners().size()) / plain;
    const double share = BandedShare(s, kList3DFill);
    EXPECT_GE(share, held);
    EXPECT_LE(share, held * 1.2);
    EXPECT_EQ(BandedShare(s, kList3DMesh), 1);
  }
}
