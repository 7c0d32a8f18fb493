#include "render/GraphLists.h"

#include "render/HeightColor.h"

namespace {

// A grid point in the unit cube: x and y by their ranges, t by the z range.
struct TUnitPoint {
  double X, Y, T;
};

class TUnitMapper {
 public:
  explicit TUnitMapper(const TKestoState& s)
      : xMin_(s.XMin),
        yMin_(s.YMin),
        zMin_(s.ZMin),
        dx_(s.XMax - s.XMin),
        dy_(s.YMax - s.YMin),
        dz_(s.ZMax - s.ZMin) {}
  TUnitPoint operator()(const TGridPoint& p) const {
    return TUnitPoint{(p.X - xMin_) / dx_, (p.Y - yMin_) / dy_, (p.Z - zMin_) / dz_};
  }

 private:
  double xMin_, yMin_, zMin_, dx_, dy_, dz_;
};

// Cells (i, j), (i + si, j), (i + si, j + sj), (i, j + sj) for i < endI and j < endJ,
// each its own primitive; a full mesh is steps of 1 up to the highest indices.
template <class Vertex>
void EmitCells(const TKestoState& s, GLenum mode, int32_t stepI, int32_t stepJ, int32_t endI,
               int32_t endJ, TGLSink& gl, Vertex vertex) {
  const TUnitMapper unit(s);
  const bool spectrum = s.Spec == 1;
  auto corner = [&](int32_t i, int32_t j) {
    const TUnitPoint p = unit(s.Grid[i][j]);
    ApplyHeightColor(gl, s, p.T, spectrum);
    vertex(p);
  };
  for (int32_t i = 0; i < endI; i += stepI) {
    for (int32_t j = 0; j < endJ; j += stepJ) {
      gl.Begin(mode);
      corner(i, j);
      corner(i + stepI, j);
      corner(i + stepI, j + stepJ);
      corner(i, j + stepJ);
      gl.End();
    }
  }
}

template <class Marker>
void EmitMarkers(const TKestoState& s, TGLSink& gl, Marker marker) {
  const TUnitMapper unit(s);
  const double size = (s.LineWidth / 5) / (s.XMax - s.XMin);
  const bool spectrum = s.Spec != 0;
  for (int32_t i = 0; i <= s.GridHighI; ++i) {
    for (int32_t j = 0; j <= s.GridHighJ; ++j) {
      const TUnitPoint p = unit(s.Grid[i][j]);
      ApplyHeightColor(gl, s, p.T, spectrum);
      marker(p, size);
    }
  }
}

template <class Vertex, class Marker>
void BuildGraphList(const TKestoState& s, int32_t variant, TGLSink& gl, Vertex vertex,
                    Marker marker) {
  gl.LineWidth(float(s.LineWidth));
  switch (variant) {
    case 0:
      EmitCells(s, GL_LINE_LOOP, 1, 1, s.GridHighI, s.GridHighJ, gl, vertex);
      break;
    case 1:
      EmitCells(s, GL_POLYGON, 1, 1, s.GridHighI, s.GridHighJ, gl, vertex);
      break;
    case 2:
      EmitMarkers(s, gl, marker);
      break;
    case 3: {
      gl.LineWidth(1.0f);
      const int32_t stepI = s.GridHighI / 10 + 1;
      const int32_t stepJ = s.GridHighJ / 10 + 1;
      EmitCells(s, GL_LINE_LOOP, stepI, stepJ, s.GridHighI - stepI, s.GridHighJ - stepJ, gl,
                vertex);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void Build3DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl) {
  const double scale = s.HeightScale;
  BuildGraphList(
      s, variant, gl,
      [&](const TUnitPoint& p) { gl.Vertex3f(float(p.X), float(p.Y), float(p.T * scale)); },
      [&](const TUnitPoint& p, double size) { DrawMarkerCube(gl, p.X, p.Y, p.T * scale, size); });
}

void Build2DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl) {
  BuildGraphList(
      s, variant, gl, [&](const TUnitPoint& p) { gl.Vertex2d(p.X, p.Y); },
      [&](const TUnitPoint& p, double size) { DrawMarkerSquare(gl, p.X, p.Y, size); });
}

void DrawMarkerCube(TGLSink& gl, double x, double y, double z, double s) {
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
  gl.Begin(GL_QUADS);
  for (const auto& face : faces)
    for (const auto& v : face) gl.Vertex3d(v[0], v[1], v[2]);
  gl.End();
}

void DrawMarkerSquare(TGLSink& gl, double x, double y, double s) {
  const double x0 = x - s / 2, x1 = x0 + s;
  const double y0 = y - s / 2, y1 = y0 + s;
  gl.Begin(GL_POLYGON);
  gl.Vertex2d(x0, y0);
  gl.Vertex2d(x1, y0);
  gl.Vertex2d(x1, y1);
  gl.Vertex2d(x0, y1);
  gl.End();
}
