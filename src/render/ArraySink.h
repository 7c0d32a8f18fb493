#pragma once

#include <array>
#include <vector>

#include "render/ForwardingSink.h"

// Gathers the many small primitives of a graph into vertex arrays and draws them
// with a few glDrawArrays calls, giving OpenGL the same triangles and segments it
// would make of the primitives one by one: a line loop becomes its segments, a
// polygon the fan from its first corner, a quad the two triangles a display list
// makes of it (so a quad drawn at once and a compiled one give the same pixels). Filled primitives
// are never smoothed, so their alpha is always 1 and blending is switched off around them.
// Everything else passes on to the next sink in order.
//
// Drawn at once rather than compiled, line loops are cheaper handed over as loops
// (glMultiDrawArrays, one run per loop): the same segments, the same pixels. In a
// display list they would cost more, so lists keep the segments.
class TGLArraySink final : public TGLForwardingSink {
 public:
  enum class TLines { Segments, Loops };
  explicit TGLArraySink(TGLSink& next, TLines lines = TLines::Segments)
      : TGLForwardingSink(next), lines_(lines) {}
  ~TGLArraySink() override { DrawBatch(); }

  // Draws what has been gathered; glFlush stays Flush, passed on like every other call.
  void DrawBatch();

  void Begin(GLenum mode) override;
  void End() override;
  void Color3f(float r, float g, float b) override;
  void Vertex2d(double x, double y) override;
  void Vertex3f(float x, float y, float z) override;
  void Vertex3d(double x, double y, double z) override;

 protected:
  // Whatever comes after the primitives gathered so far must come after them.
  void Passing() override;

 private:
  void Add(float x, float y, float z);
  void Batch(GLenum mode);
  void Append(const TArrayVertex& v) { batch_.push_back(v); }

  TLines lines_;
  std::array<float, 3> color_{1.0f, 1.0f, 1.0f};
  bool colorSent_ = true;  // whether the next sink holds color_ as its current colour
  GLenum primitive_ = 0;
  std::vector<TArrayVertex> primitiveVertices_;
  GLenum batchMode_ = 0;
  std::vector<TArrayVertex> batch_;
  std::vector<GLint> firsts_;  // where each loop of a batch of loops starts
  std::vector<GLsizei> counts_;
};
