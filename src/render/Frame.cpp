#include "render/Frame.h"

#include <algorithm>
#include <thread>

#include "core/Fingerprint.h"
#include "render/ArraySink.h"
#include "render/Axes.h"
#include "render/ColorBar.h"
#include "render/CommandQueue.h"
#include "render/ContourLines.h"
#include "render/GraphLists.h"
#include "render/Labels.h"
#include "render/View.h"

namespace {

struct TListEntry {
  int32_t List;
  bool ThreeD;
  int32_t Variant;  // kAxes: the axes of that view
};

// The order in which a rebuild compiles the lists.
constexpr int32_t kAxes = -1;
constexpr TListEntry kBuildOrder[] = {
    {kList2DMesh, false, kVariantMesh},
    {kList2DFill, false, kVariantFilled},
    {kList2DMarkers, false, kVariantMarkers},
    {kList2DCoarse, false, kVariantCoarse},
    {kList3DMesh, true, kVariantMesh},
    {kList3DFill, true, kVariantFilled},
    {kList3DMarkers, true, kVariantMarkers},
    {kList3DCoarse, true, kVariantCoarse},
    {kListAxes2D, false, kAxes},
    {kListAxes3D, true, kAxes},
};

// About this many vertices make a piece: some 10 to 30 ms of compiling or replaying.
constexpr int32_t kMaxPieces = 1 << 20;
constexpr GLuint kPieceBase = 4096;  // above every named list

const TListEntry& Entry(int32_t list) {
  for (const TListEntry& e : kBuildOrder)
    if (e.List == list) return e;
  return kBuildOrder[0];
}

int BitOf(int32_t list) {
  int bit = 0;
  while (bit < 10 && (1 << bit) != list) ++bit;
  return bit;
}

// Vertices a cell (a point, for markers) hands to OpenGL in each variant.
int64_t VerticesPerCell(const TListEntry& e) {
  switch (e.Variant) {
    case kVariantFilled:
      return 6;
    case kVariantMarkers:
      return e.ThreeD ? 24 : 6;
    default:
      return 8;
  }
}

int32_t GraphListFor(bool threeD, int32_t surfaceMode, bool simple) {
  if (simple) return threeD ? kList3DCoarse : kList2DCoarse;
  static constexpr int32_t k2D[] = {kList2DMesh, kList2DFill, kList2DMarkers};
  static constexpr int32_t k3D[] = {kList3DMesh, kList3DFill, kList3DMarkers};
  if (surfaceMode < kSurfaceMesh || surfaceMode > kSurfaceMarkers) return 0;
  return threeD ? k3D[surfaceMode] : k2D[surfaceMode];
}

}  // namespace

std::vector<int32_t> ListsInBuildOrder(int32_t mask) {
  std::vector<int32_t> lists;
  for (const TListEntry& e : kBuildOrder)
    if (mask & e.List) lists.push_back(e.List);
  return lists;
}

void BuildLists(const TKestoState& s, int32_t mask, TGLSink& gl) {
  for (int32_t list : ListsInBuildOrder(mask))
    CompileInto(gl, GLuint(list), [&] { BuildListBody(s, list, gl); });
}

void BuildListBody(const TKestoState& s, int32_t list, TGLSink& gl) {
  for (const TListEntry& e : kBuildOrder) {
    if (e.List != list) continue;
    if (e.Variant == kAxes)
      e.ThreeD ? BuildAxes3D(s, gl) : BuildAxes2D(s, gl);
    else
      e.ThreeD ? Build3DGraphList(s, e.Variant, gl) : Build2DGraphList(s, e.Variant, gl);
  }
}

int32_t ListPieces(const TKestoState& s, int32_t list, int64_t pieceVertices) {
  const TListEntry& e = Entry(list);
  if (e.Variant == kAxes || e.List != list) return 1;
  // A mesh's pieces hold half the corners of the others': each piece is one of the
  // rasteriser's scenes, which holds more for a smooth line's corner than for a
  // triangle's, and the scenes it holds are a large part of a mesh's peak.
  const int64_t lines = e.Variant == kVariantFilled || e.Variant == kVariantMarkers ? 1 : 2;
  const int64_t vertices = GraphListCells(s, e.Variant) * VerticesPerCell(e) * lines;
  return int32_t(
      std::clamp<int64_t>((vertices + pieceVertices - 1) / pieceVertices, 1, kMaxPieces));
}

GLuint PieceName(int32_t list, int32_t piece) {
  return kPieceBase + GLuint(BitOf(list)) * kMaxPieces + GLuint(piece);
}

void BuildListPiece(const TKestoState& s, int32_t list, int32_t piece, int32_t pieces,
                    TGLSink& gl) {
  const TListEntry& e = Entry(list);
  if (pieces <= 1 || e.Variant == kAxes) {
    BuildListBody(s, list, gl);
    return;
  }
  const int64_t cells = GraphListCells(s, e.Variant);
  const TCellRange range{cells * piece / pieces, cells * (piece + 1) / pieces};
  e.ThreeD ? Build3DGraphList(s, e.Variant, gl, range) : Build2DGraphList(s, e.Variant, gl, range);
}

void BuildPieceCalls(int32_t list, int32_t pieces, TGLSink& gl) {
  for (int32_t k = 0; k < pieces; ++k) gl.CallList(PieceName(list, k));
}

int32_t ListsForFrame(const TKestoState& s, bool simple) {
  if (s.DrawMode != kDrawMode2D && s.DrawMode != kDrawMode3D) return 0;
  const bool threeD = s.DrawMode == kDrawMode3D;
  int32_t mask = GraphListFor(threeD, s.SurfaceMode, simple);
  // Deliberately "above off": a negative value, which normalising leaves alone, shows none.
  if (s.AxisMode > kAxesOff) mask |= threeD ? kListAxes3D : kListAxes2D;
  return mask;
}

std::vector<int32_t> FrameLists(const TKestoState& s, bool simple) {
  std::vector<int32_t> order;
  if (s.DrawMode != kDrawMode2D && s.DrawMode != kDrawMode3D) return order;
  const bool threeD = s.DrawMode == kDrawMode3D;
  const int32_t lists = ListsForFrame(s, simple);
  for (int32_t list : {GraphListFor(threeD, s.SurfaceMode, simple),
                       threeD ? int32_t(kListAxes3D) : int32_t(kListAxes2D)})
    if (list & lists) order.push_back(list);
  return order;
}

namespace {

const std::vector<TContourGap> kNoGaps;

void BeginFrame(TKestoState& s, int w, int h, bool simple, TGLSink& gl) {
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
  if (s.DrawMode == kDrawMode3D)
    SetupView3D(s, gl);
  else if (s.DrawMode == kDrawMode2D)
    SetupView2D(s, gl);
}

void EndFrame(const TKestoState& s, int w, int h, const std::optional<TLabelPlan>& labels,
              TGLSink& gl) {
  const TViewportRect bar = ColorBarViewport(w, h);
  gl.Viewport(bar.X, bar.Y, bar.Width, bar.Height);
  DrawColorBar(s, gl);
  DrawColorBarEnds(s, bar, gl);
  if (labels) DrawLabels(w, h, *labels, gl);
}

class TCalledLists final : public TListHolder {
 public:
  explicit TCalledLists(TGLSink& gl) : gl_(gl) {}
  bool DrawList(int32_t list, int32_t& next, const TGoOn&) override {
    gl_.CallList(GLuint(list));
    next = 1;
    return true;
  }

 private:
  TGLSink& gl_;
};

}  // namespace

bool DrawFramePlan(TKestoState& s, int w, int h, bool simple, TGLSink& gl, TListHolder& holder,
                   TPlanProgress& at, const TGoOn& goOn) {
  if (!at.Begun) {
    BeginFrame(s, w, h, simple, gl);
    at = TPlanProgress{};
    at.Begun = true;
  }
  const std::vector<int32_t> lists = FrameLists(s, simple);
  for (; at.List < lists.size(); ++at.List, at.Next = 0)
    if (!holder.DrawList(lists[at.List], at.Next, goOn)) return false;
  const TContours* contours = nullptr;
  if (s.Contours != 0 && !simple && !(contours = holder.ContourLines(s, goOn))) return false;
  // Before the lines are drawn: they are broken under their numbers.
  if (s.Labels && !at.Labels) at.Labels = PlanLabels(s, w, h, contours);
  if (contours &&
      !DrawContours(s, *contours, at.Labels ? at.Labels->Gaps : kNoGaps, gl, at.Contour, goOn))
    return false;
  EndFrame(s, w, h, at.Labels, gl);
  at = TPlanProgress{};
  return true;
}

void DrawFrame(TKestoState& s, int w, int h, bool simple, TGLSink& gl) {
  TCalledLists called(gl);
  TPlanProgress at;
  DrawFramePlan(s, w, h, simple, gl, called, at, [] { return true; });
}

TFrameKey FrameKeyFor(const TKestoState& s, int w, int h, bool simple,
                      const std::array<uint64_t, 10>& versions) {
  TFrameKey k;
  k.Simple = simple;
  k.Width = w;
  k.Height = h;
  for (size_t o = 0; o < kDisplayOptions.size(); ++o)
    k.Options[o] = OptionValue(kDisplayOptions[o], s);
  if (s.Labels) k.ColumnNames = s.ColumnNames;
  k.Spectrum = s.SpectrumTable;
  const int32_t lists = ListsForFrame(s, simple);
  for (int bit = 0; bit < 10; ++bit)
    if (lists & (1 << bit)) {
      k.Lists[bit] = versions[bit];
      k.Shapes[bit] = ListShapeFor(s, 1 << bit);
    }
  return k;
}

TListShape ListShapeFor(const TKestoState& s, int32_t list) {
  TListShape shape;
  shape.Ranges = {s.XMin, s.XMax, s.YMin, s.YMax, s.ZMin, s.ZMax};
  const bool axes = Entry(list).Variant == kAxes;
  for (size_t o = 0; o < kDisplayOptions.size(); ++o)
    if (kDisplayOptions[o].Shapes & (axes ? kShapesAxes : kShapesGraph))
      shape.Options[o] = OptionValue(kDisplayOptions[o], s);
  if (axes) {
    shape.Ranges[6] = s.OriginX;
    shape.Ranges[7] = s.OriginY;
    shape.Ranges[8] = s.OriginZ;
    return shape;
  }
  shape.Columns = s.GridHighI + 1;
  shape.Rows = s.GridHighJ + 1;
  shape.Spectrum = Fingerprint(s.SpectrumTable.data(), sizeof(s.SpectrumTable));
  return shape;
}

std::string FrameCaption(const TKestoState& s, int w, int h) {
  std::string caption = "KestoForm(";
  if (s.DrawMode == kDrawMode2D) caption += "2D";
  if (s.DrawMode == kDrawMode3D) caption += "3D";
  caption.append(")").append(std::to_string(w)).append("x").append(std::to_string(h));
  caption.append(":").append(s.RendererName);
  return caption;
}

void TGLReplaySink::CallList(GLuint list) {
  // The builders fill the next batch on a thread of their own while this one, which
  // holds the context, draws the last.
  TGLCommandQueue queue;
  std::thread builder([this, list, &queue] {
    try {
      TGLCommandSink commands(queue);
      TGLArraySink arrays(commands, TGLArraySink::TLines::Loops);
      BuildListBody(s_, int32_t(list), arrays);
      arrays.DrawBatch();
      commands.Finish();
      queue.Close();
    } catch (...) {
      queue.Close(std::current_exception());
    }
  });
  try {
    queue.Drain(next_);
  } catch (...) {
    builder.join();
    throw;
  }
  builder.join();
}
