#include "render/GraphLists.h"

#include <algorithm>

#include "core/GraphSpace.h"
#include "render/CornerPen.h"
#include "render/HeightColor.h"

namespace {

// A grid point in the unit cube: x and y by their ranges, t by the z range.
struct TUnitPoint {
  double X, Y, T;
};

class TUnitMapper {
 public:
  explicit TUnitMapper(const TKestoState& s) : space_(s) {}
  TUnitPoint operator()(const TGridPoint& p) const {
    return TUnitPoint{space_.X(p.X), space_.Y(p.Y), space_.T(p.Z)};
  }

 private:
  TGraphSpace space_;
};

// The cells of a lattice with steps stepI x stepJ below endI x endJ, in row order:
// cell (i, j) spans (i, j), (i + stepI, j), (i + stepI, j + stepJ), (i, j + stepJ). A
// full mesh has steps of 1 up to the highest indices.
struct TLattice {
  int32_t StepI, StepJ, EndI, EndJ;
  int64_t Rows() const { return EndI > 0 ? (int64_t(EndI) + StepI - 1) / StepI : 0; }
  int64_t Cols() const { return EndJ > 0 ? (int64_t(EndJ) + StepJ - 1) / StepJ : 0; }
};

TLattice CellLattice(const TKestoState& s, int32_t variant) {
  if (variant != 3) return TLattice{1, 1, s.GridHighI, s.GridHighJ};
  const int32_t stepI = s.GridHighI / 10 + 1;
  const int32_t stepJ = s.GridHighJ / 10 + 1;
  return TLattice{stepI, stepJ, s.GridHighI - stepI, s.GridHighJ - stepJ};
}

// Calls visit(i, j) for the cells of lattice numbers first..last-1 in row order.
template <class Visit>
void ForEachCell(const TLattice& l, TCellRange range, Visit visit) {
  const int64_t cols = l.Cols();
  const int64_t last = std::min(range.Last, l.Rows() * cols);
  for (int64_t c = std::max<int64_t>(range.First, 0); c < last;) {
    const int64_t row = c / cols;
    const int64_t rowEnd = std::min(last, (row + 1) * cols);
    const int32_t i = int32_t(row * l.StepI);
    for (int64_t col = c - row * cols; c < rowEnd; ++c, ++col) visit(i, int32_t(col * l.StepJ));
  }
}

// Each cell its own primitive, corners in order, each with its height colour.
template <class Vertex>
void EmitCells(const TKestoState& s, GLenum mode, const TLattice& l, TCellRange range,
               TCornerPen& pen, Vertex vertex) {
  const TUnitMapper unit(s);
  const bool spectrum = s.Spec == 1;  // deliberately 1 only: markers and the bar take any Spec
  auto corner = [&](int32_t i, int32_t j) {
    const TUnitPoint p = unit(s.Grid[i][j]);
    ApplyHeightColor(pen, s, p.T, spectrum);
    vertex(p);
  };
  ForEachCell(l, range, [&](int32_t i, int32_t j) {
    // A cell with a missing corner is a gap in the surface.
    if (IsHole(s.Grid[i][j]) || IsHole(s.Grid[i + l.StepI][j]) ||
        IsHole(s.Grid[i + l.StepI][j + l.StepJ]) || IsHole(s.Grid[i][j + l.StepJ]))
      return;
    pen.Begin(mode);
    corner(i, j);
    corner(i + l.StepI, j);
    corner(i + l.StepI, j + l.StepJ);
    corner(i, j + l.StepJ);
    pen.End();
  });
}

template <class Marker>
void EmitMarkers(const TKestoState& s, TCellRange range, TCornerPen& pen, Marker marker) {
  const TUnitMapper unit(s);
  const double size = (s.LineWidth / 5) / (s.XMax - s.XMin);
  const bool spectrum = s.Spec != 0;
  const TLattice points{1, 1, s.GridHighI + 1, s.GridHighJ + 1};
  ForEachCell(points, range, [&](int32_t i, int32_t j) {
    if (IsHole(s.Grid[i][j])) return;
    const TUnitPoint p = unit(s.Grid[i][j]);
    ApplyHeightColor(pen, s, p.T, spectrum);
    marker(p, size);
  });
}

// One cube of edge s centred on (x, y, z), in the pen's colour.
void DrawMarkerCube(TCornerPen& pen, double x, double y, double z, double s) {
  const double x0 = x - s / 2, x1 = x0 + s;
  const double y0 = y - s / 2, y1 = y0 + s;
  const double z0 = z - s / 2, z1 = z0 + s;
  const double faces[6][4][3] = {
      {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}},  // bottom
      {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}},  // y = Y0
      {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}},  // x = X1
      {{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}},  // y = Y1
      {{x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}},  // x = X0
      {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}},  // top
  };
  pen.Begin(GL_QUADS);
  for (const auto& face : faces)
    for (const auto& v : face) pen.Vertex(v[0], v[1], v[2]);
  pen.End();
}

// One square of side s centred on (x, y), in the pen's colour.
void DrawMarkerSquare(TCornerPen& pen, double x, double y, double s) {
  const double x0 = x - s / 2, x1 = x0 + s;
  const double y0 = y - s / 2, y1 = y0 + s;
  pen.Begin(GL_POLYGON);
  pen.Vertex(x0, y0);
  pen.Vertex(x1, y0);
  pen.Vertex(x1, y1);
  pen.Vertex(x0, y1);
  pen.End();
}

template <class Vertex, class Marker>
void BuildGraphList(const TKestoState& s, int32_t variant, TCellRange range, TCornerPen& pen,
                    Vertex vertex, Marker marker) {
  TGLSink& gl = pen.Sink();
  gl.LineWidth(float(s.LineWidth));
  switch (variant) {
    case 0:
      EmitCells(s, GL_LINE_LOOP, CellLattice(s, variant), range, pen, vertex);
      break;
    case 1:
      EmitCells(s, GL_POLYGON, CellLattice(s, variant), range, pen, vertex);
      break;
    case 2:
      EmitMarkers(s, range, pen, marker);
      break;
    case 3:
      gl.LineWidth(1.0f);
      EmitCells(s, GL_LINE_LOOP, CellLattice(s, variant), range, pen, vertex);
      break;
    default:
      break;
  }
}

}  // namespace

int64_t GraphListCells(const TKestoState& s, int32_t variant) {
  if (variant == 2) return (int64_t(s.GridHighI) + 1) * (int64_t(s.GridHighJ) + 1);
  if (variant < 0 || variant > 3) return 0;
  const TLattice l = CellLattice(s, variant);
  return l.Rows() * l.Cols();
}

void Build3DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl, TCellRange cells) {
  const double scale = s.HeightScale;
  TCornerPen pen(gl);
  BuildGraphList(
      s, variant, cells, pen,
      [&](const TUnitPoint& p) { pen.Vertex(float(p.X), float(p.Y), float(p.T * scale)); },
      [&](const TUnitPoint& p, double size) { DrawMarkerCube(pen, p.X, p.Y, p.T * scale, size); });
}

void Build2DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl, TCellRange cells) {
  TCornerPen pen(gl);
  BuildGraphList(
      s, variant, cells, pen, [&](const TUnitPoint& p) { pen.Vertex(p.X, p.Y); },
      [&](const TUnitPoint& p, double size) { DrawMarkerSquare(pen, p.X, p.Y, size); });
}
