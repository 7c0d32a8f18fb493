#include "render/ContourLines.h"

#include <GL/gl.h>

#include "core/GraphSpace.h"
#include "render/CornerPen.h"
#include "render/HeightColor.h"

namespace {

// How far toward the eye a point on the graph is moved, as a share of its distance from
// the eye (in the map, toward the viewer in graph units): far more than the depth
// buffer tells apart, far less than a cell.
constexpr double kLift = 1e-3;

}  // namespace

void DrawContours(const TKestoState& s, const TContours& contours, TGLSink& gl) {
  const TGraphSpace space(s);
  const bool flat = s.DrawMode != kDrawMode3D;
  const bool spectrum = s.Spec == 1;
  const TRgb axis = UnpackColor(ResolveColor(s.ColorAxisX));
  const TVec3 eye{s.EyeX + 0.5, s.EyeY + 0.5, s.EyeZ};
  const auto lifted = [&eye](double x, double y, double z) {
    return TVec3{x + (eye[0] - x) * kLift, y + (eye[1] - y) * kLift, z + (eye[2] - z) * kLift};
  };
  TCornerPen pen(gl);
  pen.Color(float(axis.R / 255.0), float(axis.G / 255.0), float(axis.B / 255.0));
  // On the graph, then on the base.
  for (const bool base : {false, true}) {
    if (base && (flat || s.Contours != 2)) break;
    for (const bool index : {false, true}) {
      gl.LineWidth(float(s.LineWidth + (index ? 1 : 0)));
      for (const TContourLine& line : contours.Lines) {
        if (line.Index != index) continue;
        const double t = space.T(line.Level);
        if (s.ContourColoured) ApplyHeightColor(pen, s, t, spectrum);
        pen.Begin(line.Closed ? GL_LINE_LOOP : GL_LINE_STRIP);
        for (const TGridPoint& p : contours.PointsOf(line)) {
          const double x = space.X(p.X), y = space.Y(p.Y);
          if (flat) {
            pen.Vertex(x, y, kLift);  // the map looks down the z axis
          } else {
            const TVec3 at = lifted(x, y, base ? 0 : t * s.HeightScale);
            pen.Vertex(at[0], at[1], at[2]);
          }
        }
        pen.End();
      }
    }
  }
}
