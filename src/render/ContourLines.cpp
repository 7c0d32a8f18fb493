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

// Where a line's points go: flat in the map, at their heights or on the base in 3-D.
class TContourPlace {
 public:
  TContourPlace(const TKestoState& s, bool base)
      : space_(s),
        flat_(s.DrawMode != kDrawMode3D),
        base_(base),
        scale_(s.HeightScale),
        eye_{s.EyeX + 0.5, s.EyeY + 0.5, s.EyeZ} {}

  TVec3 At(const TGridPoint& p) const {
    const double x = space_.X(p.X), y = space_.Y(p.Y);
    if (flat_) return {x, y, kLift};  // the map looks down the z axis
    const double z = base_ ? 0 : space_.T(p.Z) * scale_;
    return {x + (eye_[0] - x) * kLift, y + (eye_[1] - y) * kLift, z + (eye_[2] - z) * kLift};
  }

 private:
  TGraphSpace space_;
  bool flat_, base_;
  double scale_;
  TVec3 eye_;
};

// The index lines or the others, each in the axis colour or its height's.
void DrawLines(const TKestoState& s, const TContours& contours, bool index,
               const TContourPlace& place, TCornerPen& pen) {
  const TGraphSpace space(s);
  for (const TContourLine& line : contours.Lines) {
    if (line.Index != index) continue;
    if (s.ContourColoured) ApplyHeightColor(pen, s, space.T(line.Level), s.Spec == 1);
    pen.Begin(line.Closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (const TGridPoint& p : contours.PointsOf(line)) {
      const TVec3 at = place.At(p);
      pen.Vertex(at[0], at[1], at[2]);
    }
    pen.End();
  }
}

}  // namespace

void DrawContours(const TKestoState& s, const TContours& contours, TGLSink& gl) {
  const TRgb axis = UnpackColor(ResolveColor(s.ColorAxisX));
  TCornerPen pen(gl);
  pen.Color(float(axis.R / 255.0), float(axis.G / 255.0), float(axis.B / 255.0));
  const bool onBase = s.DrawMode == kDrawMode3D && s.Contours == 2;
  for (const bool base : {false, true}) {
    if (base && !onBase) break;
    const TContourPlace place(s, base);
    for (const bool index : {false, true}) {
      gl.LineWidth(float(s.LineWidth + (index ? 1 : 0)));
      DrawLines(s, contours, index, place, pen);
    }
  }
}
