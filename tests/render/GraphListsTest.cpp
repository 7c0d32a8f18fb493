#include "render/GraphLists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "render/RecordingSink.h"
#include "render/TestGrids.h"

namespace {

std::vector<TGLCall> Record3D(const TKestoState& s, int variant) {
  TRecordingSink rec;
  Build3DGraphList(s, variant, rec);
  return rec.Calls;
}

std::vector<TGLCall> Record2D(const TKestoState& s, int variant) {
  TRecordingSink rec;
  Build2DGraphList(s, variant, rec);
  return rec.Calls;
}

std::vector<TGLCall> Only(const std::vector<TGLCall>& calls, TGLOp op) {
  std::vector<TGLCall> out;
  for (const TGLCall& c : calls)
    if (c.Op == op) out.push_back(c);
  return out;
}

TEST(GraphLists, SampleCellCountsInEveryVariant) {
  TKestoState s;
  s.NormalizeView();
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 0), TGLOp::Begin, GL_LINE_LOOP), 2401);
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 1), TGLOp::Begin, GL_POLYGON), 2401);
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 2), TGLOp::Begin, GL_QUADS), 2500);
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 2), TGLOp::Vertex3d), 2500 * 24);
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 3), TGLOp::Begin, GL_LINE_LOOP), 81);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 0), TGLOp::Begin, GL_LINE_LOOP), 2401);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 1), TGLOp::Begin, GL_POLYGON), 2401);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 2), TGLOp::Begin, GL_POLYGON), 2500);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 3), TGLOp::Begin, GL_LINE_LOOP), 81);
}

TEST(GraphLists, CellCornersInOrderEachWithItsColour) {
  TKestoState s;
  s.NormalizeView();
  for (int variant : {0, 1}) {
    const auto calls = Record3D(s, variant);
    ASSERT_EQ(calls[0].Op, TGLOp::LineWidth);
    EXPECT_EQ(calls[0].A[0], 1.0);
    // Begin, then colour + vertex for (0,0), (1,0), (1,1), (0,1); then the next cell (0,1)...
    ASSERT_EQ(calls[1].Op, TGLOp::Begin);
    const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(calls[2 + 2 * k].Op, TGLOp::Color3f);
      const TGLCall& v = calls[3 + 2 * k];
      ASSERT_EQ(v.Op, TGLOp::Vertex3f);
      EXPECT_FLOAT_EQ(v.A[0], float(corners[k][0] / 49.0));
      EXPECT_FLOAT_EQ(v.A[1], float(corners[k][1] / 49.0));
    }
    EXPECT_EQ(calls[10].Op, TGLOp::End);
    const TGLCall& secondCell = calls[13];  // Begin, Color, first vertex of cell (0, 1)
    EXPECT_FLOAT_EQ(secondCell.A[1], float(1 / 49.0));
  }
  const auto flat = Only(Record2D(s, 0), TGLOp::Vertex2d);
  EXPECT_DOUBLE_EQ(flat[2].A[0], 1 / 49.0);
  EXPECT_DOUBLE_EQ(flat[2].A[1], 1 / 49.0);
}

TEST(GraphLists, HeightsSpanZeroToHeightScale) {
  TKestoState s;
  s.NormalizeView();
  double lo = 1e9, hi = -1e9;
  for (const TGLCall& v : Only(Record3D(s, 1), TGLOp::Vertex3f)) {
    lo = std::min(lo, v.A[2]);
    hi = std::max(hi, v.A[2]);
  }
  EXPECT_FLOAT_EQ(lo, 0.0f);
  EXPECT_FLOAT_EQ(hi, 0.8f);
  s.HeightScale = 0;
  for (const TGLCall& v : Only(Record3D(s, 0), TGLOp::Vertex3f)) ASSERT_EQ(v.A[2], 0.0);
}

TEST(GraphLists, CubesHaveTheirFacesInOrderAndAnEdgeOfALineWidthFifth) {
  TKestoState s;
  s.NormalizeView();
  const auto verts = Only(Record3D(s, 2), TGLOp::Vertex3d);
  const double e = 0.2 / 49;
  const double x0 = 0 - e / 2, x1 = x0 + e, z0 = 0 - e / 2, z1 = z0 + e;
  const double expect[24][3] = {
      {x0, x0, z0}, {x0, x1, z0}, {x1, x1, z0}, {x1, x0, z0}, {x0, x0, z0}, {x1, x0, z0},
      {x1, x0, z1}, {x0, x0, z1}, {x1, x0, z0}, {x1, x1, z0}, {x1, x1, z1}, {x1, x0, z1},
      {x1, x1, z0}, {x0, x1, z0}, {x0, x1, z1}, {x1, x1, z1}, {x0, x1, z0}, {x0, x0, z0},
      {x0, x0, z1}, {x0, x1, z1}, {x0, x0, z1}, {x1, x0, z1}, {x1, x1, z1}, {x0, x1, z1}};
  const double zOffset = (0 - s.ZMin) / (s.ZMax - s.ZMin) * 0.8;  // height of point (0, 0)
  for (int k = 0; k < 24; ++k) {
    EXPECT_DOUBLE_EQ(verts[k].A[0], expect[k][0]) << k;
    EXPECT_DOUBLE_EQ(verts[k].A[1], expect[k][1]) << k;
    EXPECT_NEAR(verts[k].A[2], expect[k][2] + zOffset, 1e-12) << k;
  }
  s.LineWidth = 20;
  const auto big = Only(Record2D(s, 2), TGLOp::Vertex2d);
  EXPECT_NEAR(big[1].A[0] - big[0].A[0], 4.0 / 49, 1e-12);
}

TEST(GraphLists, CoarseMeshStepsAndIgnoresLineWidth) {
  TKestoState s;
  s.LineWidth = 7;
  s.NormalizeView();
  const auto calls = Record3D(s, 3);
  EXPECT_EQ(calls[0].A[0], 7.0);
  EXPECT_EQ(calls[1].Op, TGLOp::LineWidth);
  EXPECT_EQ(calls[1].A[0], 1.0);
  for (const TGLCall& v : Only(calls, TGLOp::Vertex3f)) {
    const double i = v.A[0] * 49, j = v.A[1] * 49;
    EXPECT_NEAR(std::fmod(i + 1e-4, 5.0), 0.0, 1e-3);
    EXPECT_NEAR(std::fmod(j + 1e-4, 5.0), 0.0, 1e-3);
    EXPECT_LE(i, 45.0 + 1e-3);
  }

  SetGrid(s, 11, 5, [](int i, int j) { return i * j; });  // GridHighI 10: stepI 2
  std::set<int> rows;
  for (const TGLCall& v : Only(Record3D(s, 3), TGLOp::Vertex3f))
    rows.insert(int(v.A[0] * 10 + 0.5));
  EXPECT_EQ(rows, (std::set<int>{0, 2, 4, 6, 8}));  // corners: cells start at 0, 2, 4, 6
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 3), TGLOp::Begin), 4 * 3);
}

TEST(GraphLists, OneAndTwoRowGrids) {
  TKestoState s;
  SetGrid(s, 1, 6, [](int, int j) { return j; });
  for (int variant : {0, 1, 3}) {
    EXPECT_EQ(Record3D(s, variant).size(), variant == 3 ? 2u : 1u);
    EXPECT_EQ(Record2D(s, variant).size(), variant == 3 ? 2u : 1u);
  }
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 2), TGLOp::Begin), 6);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 2), TGLOp::Begin), 6);

  SetGrid(s, 2, 6, [](int i, int j) { return i + j; });
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 0), TGLOp::Begin), 5);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 1), TGLOp::Begin), 5);
  EXPECT_EQ(TRecordingSink::Count(Record3D(s, 3), TGLOp::Begin), 0);
  EXPECT_EQ(TRecordingSink::Count(Record2D(s, 3), TGLOp::Begin), 0);
}

TEST(GraphLists, UnknownVariantEmitsOnlyTheLineWidth) {
  TKestoState s;
  for (int variant : {-1, 4, 99}) {
    EXPECT_EQ(Record3D(s, variant).size(), 1u);
    EXPECT_EQ(Record2D(s, variant).size(), 1u);
  }
}

TEST(GraphLists, SpecTwoBlendsCellsButPaintsMarkersFromTheSpectrum) {
  TKestoState s;
  SetGrid(s, 2, 2, [](int i, int j) { return i + j; });  // corner (0, 0) at t = 0
  s.Spec = 2;
  const auto cell = Only(Record3D(s, 0), TGLOp::Color3f);
  EXPECT_FLOAT_EQ(cell[0].A[2], 1.0f);  // the blend's low colour: blue
  EXPECT_FLOAT_EQ(cell[0].A[0], 0.0f);
  const auto marker = Only(Record2D(s, 2), TGLOp::Color3f);
  EXPECT_FLOAT_EQ(marker[0].A[2], 256.0f / 255.0f);  // spectrum entry 0
  s.Spec = 1;
  const auto top = Only(Record3D(s, 1), TGLOp::Color3f);
  EXPECT_FLOAT_EQ(top[2].A[0], 1.0f);  // corner (1, 1) at t = 1: entry 511
  EXPECT_FLOAT_EQ(top[2].A[1], 1.0f / 255.0f);
}

TEST(GraphLists, FlatDataIsMidScale) {
  TKestoState s;
  SetGrid(s, 3, 3, [](int, int) { return 4.0; });
  const auto blend = Only(Record3D(s, 0), TGLOp::Color3f);
  EXPECT_FLOAT_EQ(blend[0].A[0], 0.5f);
  EXPECT_FLOAT_EQ(blend[0].A[1], 0.0f);
  EXPECT_FLOAT_EQ(blend[0].A[2], 0.5f);
  s.Spec = 1;
  const auto green = Only(Record3D(s, 0), TGLOp::Color3f);
  EXPECT_FLOAT_EQ(green[0].A[0], 0.0f);
  EXPECT_FLOAT_EQ(green[0].A[1], 256.0f / 255.0f);
}

TEST(GraphLists, HeightScaleChangesNoFlatList) {
  TKestoState s;
  s.NormalizeView();
  for (int variant = 0; variant < 4; ++variant) {
    const auto before = Record2D(s, variant);
    s.HeightScale = 1.7;
    const auto after = Record2D(s, variant);
    s.HeightScale = 0.8;
    ASSERT_EQ(before.size(), after.size());
    for (size_t k = 0; k < before.size(); ++k) ASSERT_EQ(before[k].A, after[k].A);
  }
}

}  // namespace
