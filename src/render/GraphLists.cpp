#include "render/GraphLists.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

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

// A corner of a cell cut into bands of colour: where it is, its height, the light on it.
struct TBandCorner {
  TUnitPoint P;
  double Z, Shade;
};

// The part of a convex polygon whose heights are at least (above) or at most z.
std::vector<TBandCorner> Cut(const std::vector<TBandCorner>& in, double z, bool above) {
  std::vector<TBandCorner> out;
  out.reserve(in.size() + 1);
  for (size_t k = 0; k < in.size(); ++k) {
    const TBandCorner& a = in[k];
    const TBandCorner& b = in[(k + 1) % in.size()];
    const bool keepA = above ? a.Z >= z : a.Z <= z, keepB = above ? b.Z >= z : b.Z <= z;
    if (keepA) out.push_back(a);
    if (keepA == keepB) continue;
    const double t = (z - a.Z) / (b.Z - a.Z);
    const auto at = [t](double u, double v) { return u + t * (v - u); };
    out.push_back(
        {{at(a.P.X, b.P.X), at(a.P.Y, b.P.Y), at(a.P.T, b.P.T)}, z, at(a.Shade, b.Shade)});
  }
  return out;
}

// A triangle of a filled cell cut where the colours jump, each band's part one polygon
// in the band's colour, so that the steps show as sharp as they are, not blended
// across the cell.
template <class Vertex>
void EmitBands(const TPointColors& colors, const std::vector<TBandCorner>& triangle,
               TCornerPen& pen, Vertex vertex) {
  const std::vector<double>& edges = colors.Edges();
  const auto [lo, hi] = std::minmax({triangle[0].Z, triangle[1].Z, triangle[2].Z});
  const auto first = size_t(std::upper_bound(edges.begin(), edges.end(), lo) - edges.begin());
  const auto last = size_t(std::lower_bound(edges.begin(), edges.end(), hi) - edges.begin());
  for (size_t band = first; band <= last; ++band) {
    std::vector<TBandCorner> part = triangle;
    if (band > 0) part = Cut(part, edges[band - 1], true);
    if (band < edges.size()) part = Cut(part, edges[band], false);
    if (part.size() < 3) continue;
    double middle = 0;
    for (const TBandCorner& c : part) middle += c.Z / double(part.size());
    const std::optional<TColorTriple> color = colors.OfHeight(middle);
    if (!color) continue;
    pen.Begin(GL_POLYGON);
    for (const TBandCorner& c : part) {
      SetHeightColor(pen, colors.Lit(*color, c.Shade));
      vertex(c.P);
    }
    pen.End();
  }
}

// Each cell its own primitive, corners in order, each with its height colour.
template <class Vertex>
void EmitCells(const TKestoState& s, GLenum mode, const TLattice& l, TCellRange range,
               TCornerPen& pen, Vertex vertex) {
  const TUnitMapper unit(s);
  // deliberately 1 only: markers and the bar take any Spec
  const TPointColors colors(s, s.Spec == 1);
  ForEachCell(l, range, [&](int32_t i, int32_t j) {
    const std::array<std::pair<int32_t, int32_t>, 4> corners = {
        {{i, j}, {i + l.StepI, j}, {i + l.StepI, j + l.StepJ}, {i, j + l.StepJ}}};
    // A cell with a missing corner is a gap in the surface, and so is one with a corner
    // left undrawn by the colour range.
    std::array<TColorTriple, 4> color{};
    for (size_t k = 0; k < 4; ++k) {
      const auto [ci, cj] = corners[k];
      if (IsHole(s.Grid[size_t(ci)][size_t(cj)])) return;
      const auto c = colors.At(ci, cj);
      if (!c) return;
      color[k] = *c;
    }
    if (mode == GL_POLYGON && !colors.Edges().empty()) {
      std::array<TBandCorner, 4> c{};
      for (size_t k = 0; k < 4; ++k) {
        const auto [ci, cj] = corners[k];
        const TGridPoint& g = s.Grid[size_t(ci)][size_t(cj)];
        c[k] = {unit(g), g.Z, colors.Shade(ci, cj)};
      }
      // The two triangles the cell is drawn as.
      EmitBands(colors, {c[0], c[1], c[2]}, pen, vertex);
      EmitBands(colors, {c[0], c[2], c[3]}, pen, vertex);
      return;
    }
    pen.Begin(mode);
    for (size_t k = 0; k < 4; ++k) {
      SetHeightColor(pen, color[k]);
      vertex(unit(s.Grid[size_t(corners[k].first)][size_t(corners[k].second)]));
    }
    pen.End();
  });
}

template <class Marker>
void EmitMarkers(const TKestoState& s, TCellRange range, TCornerPen& pen, Marker marker) {
  const TUnitMapper unit(s);
  const double size = (s.LineWidth / 5) / (s.XMax - s.XMin);
  const TPointColors colors(s, s.Spec != 0);
  const TLattice points{1, 1, s.GridHighI + 1, s.GridHighJ + 1};
  ForEachCell(points, range, [&](int32_t i, int32_t j) {
    if (IsHole(s.Grid[i][j])) return;
    const auto c = colors.At(i, j);
    if (!c) return;
    SetHeightColor(pen, *c);
    marker(unit(s.Grid[i][j]), size);
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
