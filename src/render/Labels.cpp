#include "render/Labels.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/ColorRange.h"
#include "core/NumberField.h"
#include "core/Ticks.h"
#include "core/ViewCamera.h"
#include "render/ColorBar.h"
#include "render/Text.h"

namespace {

constexpr double kTick = 4;  // a tick's half-length, in pixels
constexpr double kGap = 3;   // from a tick or an arrow to its text
constexpr int kDigits = 7;   // significant digits at most

// A place in the window, y up.
struct TPoint {
  double X, Y;
};

// What a number covers, in window pixels.
struct TBox {
  double X0, Y0, X1, Y1;
  // Closer than a gap counts too: numbers that touch read as one.
  bool Overlaps(const TBox& b) const {
    return X0 - kGap < b.X1 && b.X0 < X1 + kGap && Y0 - kGap < b.Y1 && b.Y0 < Y1 + kGap;
  }
};

// The numbers along the bar between its ends: the steps' edges, or on a log scale the
// decades first and then 2 and 5 times them (where there is room), else round values.
std::vector<double> BarValues(const TColorRange& range) {
  const double low = range.Low(), high = range.High();
  std::vector<double> values;
  if (range.Steps() > 0) {
    for (int k = 1; k < range.Steps(); ++k) {
      const double t = double(k) / range.Steps();
      values.push_back(range.Log() ? low * std::pow(high / low, t) : low + t * (high - low));
    }
  } else if (range.Log()) {
    for (const double m : {1.0, 2.0, 5.0})
      for (double e = std::floor(std::log10(low)); e <= std::ceil(std::log10(high)); ++e)
        if (const double v = m * std::pow(10.0, e); v > low && v < high) values.push_back(v);
  } else {
    values = RoundTicks(low, high);
  }
  return values;
}

class TLabeller {
 public:
  TLabeller(const TKestoState& s, int w, int h) : s_(s), w_(w), h_(h), camera_(s, w, h) {
    const TRgb bg = UnpackColor(ResolveColor(s.ColorBackGround));
    const bool light = 0.299 * bg.R + 0.587 * bg.G + 0.114 * bg.B > 127.5;
    text_ = light ? 0.0f : 1.0f;
  }

  // Axis k (x, y, z) from unit place start to end, through the origin elsewhere.
  void Axis(int k, double start, double end) {
    const double lows[] = {s_.XMin, s_.YMin, s_.ZMin}, highs[] = {s_.XMax, s_.YMax, s_.ZMax};
    const int32_t colors[] = {s_.ColorAxisX, s_.ColorAxisY, s_.ColorAxisZ};
    const double scale = k == 2 ? s_.HeightScale : 1.0;
    const TGraphSpace space(s_);
    const auto at = [&](double unit) {
      TVec3 p = space.At(s_.OriginX, s_.OriginY, s_.OriginZ, s_.HeightScale);
      p[size_t(k)] = unit;
      return p;
    };
    TPoint from{}, to{};
    if (!Place(at(start), from) || !Place(at(end), to)) return;
    const double dx = to.X - from.X, dy = to.Y - from.Y, length = std::hypot(dx, dy);
    if (length < 20) return;  // seen end-on: no room for numbers
    // Text goes below an axis that runs across, left of one that runs up.
    double nx = -dy / length, ny = dx / length;
    if (std::abs(dx) >= std::abs(dy) ? ny > 0 : nx > 0) nx = -nx, ny = -ny;
    const TGLColor c = ColorToGL(colors[k]);
    for (const double v : RoundTicks(lows[k], highs[k])) {
      TPoint p{};
      if (!Place(at(space.Along(k, v) * scale), p)) continue;
      plan_.Marks.push_back({true,
                             {c[0], c[1], c[2]},
                             {p.X - nx * kTick, p.Y - ny * kTick},
                             {p.X + nx * kTick, p.Y + ny * kTick},
                             {},
                             {}});
      // Where the axes cross, only the x axis numbers its tick.
      const double origins[] = {s_.OriginX, s_.OriginY, s_.OriginZ};
      if (k > 0 && v == origins[k]) continue;
      Text(ShortText(v, kDigits), {p.X + nx * (kTick + kGap), p.Y + ny * (kTick + kGap)}, nx, ny,
           true);
    }
    const bool named = s_.ColumnNames.size() == 3;
    const char* const plain[] = {"x", "y", "z"};
    Text(named ? s_.ColumnNames[size_t(k)] : plain[k],
         {to.X + dx / length * kGap, to.Y + dy / length * kGap}, dx / length, dy / length, false);
  }

  // Heights above the bar: its ends and round values between them.
  void Bar() {
    const TViewportRect bar = ColorBarViewport(w_, h_);
    placed_.push_back(
        {double(bar.X), double(bar.Y), double(bar.X + bar.Width), double(bar.Y + bar.Height)});
    const bool highOnLeft = BarHighOnLeft(s_);
    const double top = bar.Y + bar.Height + kGap;
    const TColorRange range(s_);
    const auto x = [&](double v) {
      const double f = range.Along(v);
      return bar.X + (highOnLeft ? 1 - f : f) * bar.Width;
    };
    // Each end's number runs inward from its end; round values go where they fit.
    const double low = range.Low(), high = range.High();
    Text(ShortText(low, kDigits), {x(low), top}, highOnLeft ? -1 : 1, 1, false);
    Text(ShortText(high, kDigits), {x(high), top}, highOnLeft ? 1 : -1, 1, false);
    // A step's edge seldom falls on a round value: four digits tell it well enough.
    const int digits = range.Steps() > 0 ? 4 : kDigits;
    for (const double v : BarValues(range)) Text(ShortText(v, digits), {x(v), top}, 0, 1, true);
  }

  // An index line's level where the line runs straightest over the number's length
  // (and a little more), if it is long enough there and the place is free.
  void Contour(const TContours& contours, size_t index) {
    const TContourLine& line = contours.Lines[index];
    if (line.Count < 4) return;
    const std::string text = ShortText(line.Level, kDigits);
    const double need = MeasureText(text).Width + 2 * kGap;
    const TGraphSpace space(s_);
    const bool flat = s_.DrawMode != kDrawMode3D;
    std::vector<TPoint> path;
    path.reserve(line.Count);
    for (const TGridPoint& p : contours.PointsOf(line)) {
      TPoint at{};
      const TVec3 unit{space.X(p.X), space.Y(p.Y), flat ? 0 : space.T(p.Z) * s_.HeightScale};
      if (!Place(unit, at)) return;
      path.push_back(at);
    }
    // The span from each point on that first reaches the length needed, straightest
    // first: its chord against the way along it.
    double best = 0.97;
    std::optional<TPoint> middle;
    TContourGap gap{index, 0, 0};
    for (size_t i = 0, j = 0; i < path.size(); ++i) {
      double along = 0;
      for (j = i; j + 1 < path.size() && along < need; ++j)
        along += std::hypot(path[j + 1].X - path[j].X, path[j + 1].Y - path[j].Y);
      if (along < need) break;
      const double chord = std::hypot(path[j].X - path[i].X, path[j].Y - path[i].Y);
      if (chord / along > best) {
        best = chord / along;
        middle = TPoint{(path[i].X + path[j].X) / 2, (path[i].Y + path[j].Y) / 2};
        gap.From = i, gap.To = j;
      }
    }
    if (middle && Text(text, *middle, 0, 0, true)) plan_.Gaps.push_back(gap);
  }

  TLabelPlan Plan() { return std::move(plan_); }

 private:
  bool Place(const TVec3& p, TPoint& out) const {
    double x = 0, y = 0, depth = 0;
    if (!camera_.Project(p, x, y, depth)) return false;
    out = {x, h_ - y};
    return std::isfinite(out.X) && std::isfinite(out.Y);
  }

  // The text beside point at, on the side that direction (nx, ny) points to; a number
  // (optional) is left out where it would overlap one already placed: false.
  bool Text(const std::string& text, TPoint at, double nx, double ny, bool optional) {
    const TTextSize size = MeasureText(text);
    const double alignX = 0.5 - 0.5 * nx, alignY = 0.5 - 0.5 * ny;
    const double height = size.Ascent + size.Descent;
    const TBox box{at.X - alignX * size.Width, at.Y - alignY * height,
                   at.X + (1 - alignX) * size.Width, at.Y + (1 - alignY) * height};
    if (optional && std::any_of(placed_.begin(), placed_.end(),
                                [&box](const TBox& b) { return b.Overlaps(box); }))
      return false;
    placed_.push_back(box);
    plan_.Marks.push_back({false, {text_, text_, text_}, {at.X, at.Y}, {}, {alignX, alignY}, text});
    return true;
  }

  const TKestoState& s_;
  int w_, h_;
  TViewCamera camera_;
  float text_ = 1.0f;
  std::vector<TBox> placed_;
  TLabelPlan plan_;
};

}  // namespace

TLabelPlan PlanLabels(const TKestoState& s, int w, int h, const TContours* contours) {
  TLabeller labels(s, w, h);
  const bool threeD = s.DrawMode == kDrawMode3D;
  if (s.AxisMode > kAxesOff && (threeD || s.DrawMode == kDrawMode2D)) {
    // Where the axes' shafts run, in unit places.
    labels.Axis(0, threeD ? -0.2 : -0.1, 1.1);
    labels.Axis(1, threeD ? -0.2 : -0.1, 1.1);
    if (threeD) labels.Axis(2, -0.1, s.HeightScale + 0.1);
  }
  labels.Bar();
  if (contours)
    for (size_t k = 0; k < contours->Lines.size(); ++k)
      if (contours->Lines[k].Index) labels.Contour(*contours, k);
  return labels.Plan();
}

void DrawLabels(int w, int h, const TLabelPlan& plan, TGLSink& gl) {
  gl.Viewport(0, 0, w, h);
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0, w, 0, h, -1, 1);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Disable(GL_DEPTH_TEST);
  gl.LineWidth(1.0f);
  TCornerPen pen(gl);
  for (const TLabelMark& m : plan.Marks) {
    pen.Color(m.Color[0], m.Color[1], m.Color[2]);
    if (m.Tick) {
      pen.Begin(GL_LINES);
      pen.Vertex(m.A[0], m.A[1]);
      pen.Vertex(m.B[0], m.B[1]);
      pen.End();
    } else {
      DrawText(pen, m.Text, m.A[0], m.A[1], m.Align[0], m.Align[1]);
    }
  }
}
