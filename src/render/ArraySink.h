#pragma once

#include <vector>

#include "render/ForwardingSink.h"

// Gathers the many small primitives of a graph, each handed over as an array draw of
// its own, into large vertex arrays and draws them with a few glDrawArrays calls, giving OpenGL the
// same triangles and segments it would make of the primitives one by one: a line loop becomes its
// segments, a polygon the fan from its first corner, a quad the two triangles a display list makes
// of it (so a quad drawn at once and a compiled one give the same pixels). Filled primitives are
// never smoothed, so their alpha is always 1 and blending is switched off around them. Everything
// else passes on to the next sink in order.
//
// Drawn at once rather than compiled, line loops are cheaper handed over as loops
// (glMultiDrawArrays, one run per loop): the same segments, the same pixels. In a
// display list they would cost more, so lists keep the segments.
class TGLArraySink final : public TGLForwardingSink {
 public:
  enum class TLines { Segments, Loops };
  explicit TGLArraySink(TGLSink& next, TLines lines = TLines::Segments)
      : TGLForwardingSink(next), lines_(lines) {}
  // What is still gathered is dropped, not drawn: the owner draws it with DrawBatch or
  // any call after it, and a sink left with a batch is one whose drawing failed, whose
  // next sink may fail again and must not be called while the error unwinds.
  ~TGLArraySink() override = default;

  // Draws what has been gathered; glFlush stays Flush, passed on like every other call.
  // The batch is emptied however that ends, so nothing is handed on twice.
  void DrawBatch();

  // One primitive of mode over the count corners, gathered into the batch.
  void DrawArrays(GLenum mode, const TArrayVertex* vertices, int count) override;
  // Closes the list even where drawing the batch into it fails: a list left open
  // would take in every call after it.
  void EndList() override;

 protected:
  // Whatever comes after the primitives gathered so far must come after them.
  void Passing() override { DrawBatch(); }

 private:
  void Batch(GLenum mode);
  void Append(const TArrayVertex& v) { batch_.push_back(v); }

  TLines lines_;
  GLenum batchMode_ = 0;
  std::vector<TArrayVertex> batch_;
  std::vector<GLint> firsts_;  // where each loop of a batch of loops starts
  std::vector<GLsizei> counts_;
};
