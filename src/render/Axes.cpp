#include "render/Axes.h"

#include <cmath>

#include "core/Angles.h"

namespace {

void SetColor(TGLSink& gl, int32_t value) {
  const TGLColor c = ColorToGL(value);
  gl.Color3f(c[0], c[1], c[2]);
}

void Segment2D(TGLSink& gl, double x0, double y0, double x1, double y1) {
  gl.Begin(GL_LINE_STRIP);
  gl.Vertex3d(x0, y0, 0.001);
  gl.Vertex3d(x1, y1, 0.001);
  gl.End();
}

struct TVec3 {
  double X, Y, Z;
};

void Segment3D(TGLSink& gl, TVec3 a, TVec3 b) {
  gl.Begin(GL_LINE_STRIP);
  gl.Vertex3f(float(a.X), float(a.Y), float(a.Z));
  gl.Vertex3f(float(b.X), float(b.Y), float(b.Z));
  gl.End();
}

// Twelve triangular facets from the ring point at theta to the apex to the ring
// point at theta + 30 degrees.
template <class Ring>
void Cone(TGLSink& gl, TVec3 apex, Ring ring) {
  for (int deg = 0; deg < 360; deg += 30) {
    const TVec3 a = ring(Radians(deg));
    const TVec3 b = ring(Radians(deg + 30));
    gl.Begin(GL_POLYGON);
    gl.Vertex3f(float(a.X), float(a.Y), float(a.Z));
    gl.Vertex3f(float(apex.X), float(apex.Y), float(apex.Z));
    gl.Vertex3f(float(b.X), float(b.Y), float(b.Z));
    gl.End();
  }
}

}  // namespace

void BuildAxes2D(const TKestoState& s, TGLSink& gl) {
  const double w = s.AxisWidth;
  const double nx = (s.OriginX - s.XMin) / (s.XMax - s.XMin);
  const double ny = (s.OriginY - s.YMin) / (s.YMax - s.YMin);
  gl.LineWidth(float(w));
  SetColor(gl, s.ColorAxisX);
  Segment2D(gl, -0.1, ny, 1.1, ny);
  Segment2D(gl, 1.05, ny + 0.01 * w, 1.1, ny);
  Segment2D(gl, 1.05, ny - 0.01 * w, 1.1, ny);
  SetColor(gl, s.ColorAxisY);
  gl.LineWidth(float(w));
  Segment2D(gl, nx, -0.1, nx, 1.1);
  Segment2D(gl, nx - 0.01 * w, 1.05, nx, 1.1);
  Segment2D(gl, nx + 0.01 * w, 1.05, nx, 1.1);
}

void BuildAxes3D(const TKestoState& s, TGLSink& gl) {
  const double w = s.AxisWidth;
  const double r = 0.01 * w;
  const double nx = (s.OriginX - s.XMin) / (s.XMax - s.XMin);
  const double ny = (s.OriginY - s.YMin) / (s.YMax - s.YMin);
  const double nz = (s.OriginZ - s.ZMin) / (s.ZMax - s.ZMin);
  const double zc = nz * s.HeightScale;
  const double shaftEnd = 1.1 - w / 30;
  const double zTop = s.HeightScale + 0.1;
  const double zShaftEnd = zTop - w / 30;

  SetColor(gl, s.ColorAxisX);
  gl.LineWidth(float(w));
  Segment3D(gl, {-0.2, ny, zc}, {shaftEnd, ny, zc});
  // The x cone is 0.02 across z whatever the width: an ellipse but at width 2.
  Cone(gl, {1.1, ny, zc}, [&](double th) {
    return TVec3{shaftEnd, ny + r * std::sin(th), zc + 0.02 * std::cos(th)};
  });

  SetColor(gl, s.ColorAxisY);
  Segment3D(gl, {nx, -0.2, zc}, {nx, shaftEnd, zc});
  Cone(gl, {nx, 1.1, zc}, [&](double th) {
    return TVec3{nx + r * std::sin(th), shaftEnd, zc + r * std::cos(th)};
  });

  SetColor(gl, s.ColorAxisZ);
  Segment3D(gl, {nx, ny, -0.1}, {nx, ny, zShaftEnd});
  Cone(gl, {nx, ny, zTop}, [&](double th) {
    return TVec3{nx + r * std::sin(th), ny + r * std::cos(th), zShaftEnd};
  });
}
