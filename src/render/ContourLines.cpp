#include "render/ContourLines.h"

#include <GL/gl.h>

#include <algorithm>

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

// The line's points as one strip or loop, or, with a gap, the strips either side of it
// (of a closed line, the one strip round from the gap's end to its start).
void DrawLine(const TContours& contours, const TContourLine& line, const TContourGap* gap,
              const TContourPlace& place, TCornerPen& pen) {
  const auto points = contours.PointsOf(line);
  const auto strip = [&](size_t from, size_t count) {
    if (count < 2) return;
    pen.Begin(GL_LINE_STRIP);
    for (size_t k = 0; k < count; ++k) {
      const TVec3 at = place.At(points[(from + k) % points.size()]);
      pen.Vertex(at[0], at[1], at[2]);
    }
    pen.End();
  };
  if (!gap) {
    pen.Begin(line.Closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (const TGridPoint& p : points) {
      const TVec3 at = place.At(p);
      pen.Vertex(at[0], at[1], at[2]);
    }
    pen.End();
  } else if (line.Closed) {
    strip(gap->To, points.size() - gap->To + gap->From + 1);
  } else {
    strip(0, gap->From + 1);
    strip(gap->To, points.size() - gap->To);
  }
}

const TContourGap* GapOf(const std::vector<TContourGap>& gaps, size_t line) {
  const auto gap = std::lower_bound(gaps.begin(), gaps.end(), line,
                                    [](const TContourGap& g, size_t l) { return g.Line < l; });
  return gap != gaps.end() && gap->Line == line ? &*gap : nullptr;
}

// Makes a line coloured by its height that colour; false where the colour range leaves
// its level undrawn: it has no line either.
bool LineColor(const TKestoState& s, const TPointColors& colors, double level, TCornerPen& pen) {
  if (!s.ContourColoured) return true;
  const std::optional<TColorTriple> c = colors.OfHeight(level);
  if (c) SetHeightColor(pen, *c);
  return c.has_value();
}

}  // namespace

bool DrawContours(const TKestoState& s, const TContours& contours,
                  const std::vector<TContourGap>& gaps, TGLSink& gl, size_t& next,
                  const TGoOn& goOn) {
  const TRgb axis = UnpackColor(ResolveColor(s.ColorAxisX));
  const TPointColors colors(s, s.Spec == 1);
  TCornerPen pen(gl);
  const size_t lines = contours.Lines.size();
  // The lines under the others, then the index lines over them; on the surface, then
  // on the base.
  const size_t passes = s.DrawMode == kDrawMode3D && s.Contours == 2 ? 4 : 2;
  int64_t drawn = 0;
  for (size_t pass = lines > 0 ? next / lines : passes; pass < passes; ++pass) {
    const bool index = pass % 2 == 1;
    const TContourPlace place(s, pass >= 2);
    gl.LineWidth(float(s.LineWidth + (index ? 1 : 0)));
    pen.Color(float(axis.R / 255.0), float(axis.G / 255.0), float(axis.B / 255.0));
    for (size_t k = next % lines; k < lines; ++k) {
      const TContourLine& line = contours.Lines[k];
      if (line.Index != index || !LineColor(s, colors, line.Level, pen)) continue;
      DrawLine(contours, line, pass < 2 ? GapOf(gaps, k) : nullptr, place, pen);
      drawn += int64_t(line.Count);
      if (drawn >= kPieceVertices) {
        next = pass * lines + k + 1;
        gl.Flush();
        if (!goOn()) return false;
        drawn = 0;
      }
    }
    next = (pass + 1) * lines;
  }
  next = 0;
  return true;
}
