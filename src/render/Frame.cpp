#include "render/Frame.h"

#include "render/ArraySink.h"
#include "render/Axes.h"
#include "render/ColorBar.h"
#include "render/GraphLists.h"
#include "render/View.h"

namespace {

struct TListEntry {
  int32_t List;
  bool ThreeD;
  int32_t Variant;  // -1: the axes of that view
};

// The order in which a rebuild compiles the lists.
constexpr TListEntry kBuildOrder[] = {
    {kList2DMesh, false, 0},   {kList2DFill, false, 1},  {kList2DMarkers, false, 2},
    {kList2DCoarse, false, 3}, {kList3DMesh, true, 0},   {kList3DFill, true, 1},
    {kList3DMarkers, true, 2}, {kList3DCoarse, true, 3}, {kListAxes2D, false, -1},
    {kListAxes3D, true, -1},
};

int32_t GraphListFor(bool threeD, int32_t surfaceMode, bool simple) {
  if (simple) return threeD ? kList3DCoarse : kList2DCoarse;
  static constexpr int32_t k2D[] = {kList2DMesh, kList2DFill, kList2DMarkers};
  static constexpr int32_t k3D[] = {kList3DMesh, kList3DFill, kList3DMarkers};
  if (surfaceMode < 0 || surfaceMode > 2) return 0;
  return threeD ? k3D[surfaceMode] : k2D[surfaceMode];
}

}  // namespace

void BuildLists(const TKestoState& s, int32_t mask, TGLSink& gl) {
  for (const TListEntry& e : kBuildOrder) {
    if (!(mask & e.List)) continue;
    gl.NewList(GLuint(e.List));
    BuildListBody(s, e.List, gl);
    gl.EndList();
  }
}

void BuildListBody(const TKestoState& s, int32_t list, TGLSink& gl) {
  for (const TListEntry& e : kBuildOrder) {
    if (e.List != list) continue;
    if (e.Variant < 0)
      e.ThreeD ? BuildAxes3D(s, gl) : BuildAxes2D(s, gl);
    else
      e.ThreeD ? Build3DGraphList(s, e.Variant, gl) : Build2DGraphList(s, e.Variant, gl);
  }
}

int32_t ListsForFrame(const TKestoState& s, bool simple) {
  if (s.DrawMode != 0 && s.DrawMode != 1) return 0;
  const bool threeD = s.DrawMode == 1;
  int32_t mask = GraphListFor(threeD, s.SurfaceMode, simple);
  if (s.AxisMode > 0) mask |= threeD ? kListAxes3D : kListAxes2D;
  return mask;
}

void DrawFrame(TKestoState& s, int w, int h, bool simple, TGLSink& gl) {
  s.NormalizeView();
  const TGLColor bg = ColorToGL(s.ColorBackGround);
  gl.ClearColor(bg[0], bg[1], bg[2], 0.0f);
  gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (!simple) {
    gl.Enable(GL_LINE_SMOOTH);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.Hint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
  }
  gl.Viewport(0, 0, w, h);
  if (s.DrawMode == 0 || s.DrawMode == 1) {
    const bool threeD = s.DrawMode == 1;
    if (threeD)
      SetupView3D(s, gl);
    else
      SetupView2D(s, gl);
    const int32_t lists = ListsForFrame(s, simple);
    for (int32_t list : {GraphListFor(threeD, s.SurfaceMode, simple),
                         threeD ? int32_t(kListAxes3D) : int32_t(kListAxes2D)})
      if (list & lists) gl.CallList(GLuint(list));
  }
  const TViewportRect bar = ColorBarViewport(w, h);
  gl.Viewport(bar.X, bar.Y, bar.Width, bar.Height);
  DrawColorBar(s, gl);
}

std::string FrameCaption(const TKestoState& s, int w, int h) {
  std::string caption = "KestoForm(";
  if (s.DrawMode == 0) caption += "2D";
  if (s.DrawMode == 1) caption += "3D";
  caption.append(")").append(std::to_string(w)).append("x").append(std::to_string(h));
  caption.append(":").append(s.RendererName);
  return caption;
}

void TGLReplaySink::CallList(GLuint list) {
  if (list == kList3DMarkers) {
    next_.CallList(list);
    return;
  }
  TGLArraySink arrays(next_);
  BuildListBody(s_, int32_t(list), arrays);
}
