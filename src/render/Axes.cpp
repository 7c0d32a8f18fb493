#include "render/Axes.h"

#include <cmath>

#include "core/Angles.h"
#include "core/GraphSpace.h"
#include "render/CornerPen.h"

namespace {

void SetColor(TCornerPen& pen, int32_t value) {
  const TGLColor c = ColorToGL(value);
  pen.Color(c[0], c[1], c[2]);
}

void Segment2D(TCornerPen& pen, double x0, double y0, double x1, double y1) {
  pen.Begin(GL_LINE_STRIP);
  pen.Vertex(x0, y0, 0.001);
  pen.Vertex(x1, y1, 0.001);
  pen.End();
}

struct TPoint3 {
  double X, Y, Z;
};

void Segment3D(TCornerPen& pen, TPoint3 a, TPoint3 b) {
  pen.Begin(GL_LINE_STRIP);
  pen.Vertex(a.X, a.Y, a.Z);
  pen.Vertex(b.X, b.Y, b.Z);
  pen.End();
}

// Twelve triangular facets from the ring point at theta to the apex to the ring
// point at theta + 30 degrees.
template <class Ring>
void Cone(TCornerPen& pen, TPoint3 apex, Ring ring) {
  for (int deg = 0; deg < 360; deg += 30) {
    const TPoint3 a = ring(Radians(deg));
    const TPoint3 b = ring(Radians(deg + 30));
    pen.Begin(GL_POLYGON);
    pen.Vertex(a.X, a.Y, a.Z);
    pen.Vertex(apex.X, apex.Y, apex.Z);
    pen.Vertex(b.X, b.Y, b.Z);
    pen.End();
  }
}

}  // namespace

void BuildAxes2D(const TKestoState& s, TGLSink& gl) {
  const double w = s.AxisWidth;
  const TGraphSpace space(s);
  const double nx = space.X(s.OriginX), ny = space.Y(s.OriginY);
  TCornerPen pen(gl);
  gl.LineWidth(float(w));
  SetColor(pen, s.ColorAxisX);
  Segment2D(pen, -0.1, ny, 1.1, ny);
  Segment2D(pen, 1.05, ny + 0.01 * w, 1.1, ny);
  Segment2D(pen, 1.05, ny - 0.01 * w, 1.1, ny);
  SetColor(pen, s.ColorAxisY);
  gl.LineWidth(float(w));
  Segment2D(pen, nx, -0.1, nx, 1.1);
  Segment2D(pen, nx - 0.01 * w, 1.05, nx, 1.1);
  Segment2D(pen, nx + 0.01 * w, 1.05, nx, 1.1);
}

void BuildAxes3D(const TKestoState& s, TGLSink& gl) {
  const double w = s.AxisWidth;
  const double r = 0.01 * w;
  const TGraphSpace space(s);
  const double nx = space.X(s.OriginX), ny = space.Y(s.OriginY);
  const double zc = space.T(s.OriginZ) * s.HeightScale;
  const double shaftEnd = 1.1 - w / 30;
  const double zTop = s.HeightScale + 0.1;
  const double zShaftEnd = zTop - w / 30;

  TCornerPen pen(gl);
  SetColor(pen, s.ColorAxisX);
  gl.LineWidth(float(w));
  Segment3D(pen, {-0.2, ny, zc}, {shaftEnd, ny, zc});
  // The x cone is 0.02 across z whatever the width: an ellipse but at width 2.
  Cone(pen, {1.1, ny, zc}, [&](double th) {
    return TPoint3{shaftEnd, ny + r * std::sin(th), zc + 0.02 * std::cos(th)};
  });

  SetColor(pen, s.ColorAxisY);
  Segment3D(pen, {nx, -0.2, zc}, {nx, shaftEnd, zc});
  Cone(pen, {nx, 1.1, zc}, [&](double th) {
    return TPoint3{nx + r * std::sin(th), shaftEnd, zc + r * std::cos(th)};
  });

  SetColor(pen, s.ColorAxisZ);
  Segment3D(pen, {nx, ny, -0.1}, {nx, ny, zShaftEnd});
  Cone(pen, {nx, ny, zTop}, [&](double th) {
    return TPoint3{nx + r * std::sin(th), ny + r * std::cos(th), zShaftEnd};
  });
}
