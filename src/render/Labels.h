#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/Contours.h"
#include "core/ViewState.h"
#include "render/GLSink.h"

// A tick (from A to B) or a number (its text at A, aligned by Align: 0 its left or
// bottom edge there, 1 its right or top), in window pixels, y up.
struct TLabelMark {
  bool Tick = false;
  std::array<float, 3> Color{};
  std::array<double, 2> A{}, B{}, Align{};
  std::string Text;
};

// Where a labelled contour line runs under its number: its points From to To.
struct TContourGap {
  size_t Line = 0, From = 0, To = 0;
};

// The labels of a frame, in the order they are drawn, and the gaps they leave in the
// contour lines, by line.
struct TLabelPlan {
  std::vector<TLabelMark> Marks;
  std::vector<TContourGap> Gaps;
};

// Numbers on the frame of a w x h client area: round values along each axis drawn,
// with a tick each, the axes' titles (the file's column names, else x, y and z), the
// heights at the colour bar's ends and at round values along it, and each index contour
// line's level (contours: none where no lines are drawn) where the line runs straightest
// over the number's length, the line broken under it. In a colour that stands out from
// the background; a number that would overlap one already placed is left out. Planned
// before the contour lines are drawn, drawn last.
TLabelPlan PlanLabels(const TKestoState& s, int w, int h, const TContours* contours);
void DrawLabels(int w, int h, const TLabelPlan& plan, TGLSink& gl);
