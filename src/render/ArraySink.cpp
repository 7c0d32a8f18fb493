#include "render/ArraySink.h"

#include <algorithm>
#include <cstddef>

namespace {

// Vertices gathered before a batch is drawn: large enough that the per-call cost
// vanishes, small enough to stay in the caches. Drawn at once, the batches are
// smaller, line loops smallest: the renderer copies each batch it has not drawn yet,
// and large ones waiting added a fifth to the memory of a picture (a filled 1000²
// grid: 16 Ki corners a batch instead of 64 Ki take a third off the memory drawing
// adds to the grid's, in no more time).
constexpr size_t kListBatchVertices = 1 << 16;
constexpr size_t kDrawnBatchVertices = 1 << 14;
constexpr size_t kLoopBatchVertices = 1 << 13;

}  // namespace

void TGLArraySink::DrawBatch() {
  if (batch_.empty()) return;
  struct TEmptied {
    TGLArraySink& Sink;
    ~TEmptied() {
      Sink.batch_.clear();
      Sink.firsts_.clear();
      Sink.counts_.clear();
    }
  } emptied{*this};
  const bool filled = batchMode_ != GL_LINES && batchMode_ != GL_LINE_LOOP;
  if (filled) {
    next_.PushAttrib(GL_COLOR_BUFFER_BIT);
    next_.Disable(GL_BLEND);
  }
  try {
    if (batchMode_ == GL_LINE_LOOP)
      next_.MultiDrawArrays(GL_LINE_LOOP, batch_.data(), firsts_.data(), counts_.data(),
                            int(firsts_.size()));
    else
      next_.DrawArrays(batchMode_, batch_.data(), int(batch_.size()));
  } catch (...) {
    // Blending as it was, for whatever is drawn next.
    if (filled) next_.PopAttrib();
    throw;
  }
  if (filled) next_.PopAttrib();
}

void TGLArraySink::EndList() {
  try {
    DrawBatch();
  } catch (...) {
    next_.EndList();
    throw;
  }
  next_.EndList();
}

void TGLArraySink::Batch(GLenum mode) {
  const size_t most = mode == GL_LINE_LOOP         ? kLoopBatchVertices
                      : lines_ == TLines::Segments ? kListBatchVertices
                                                   : kDrawnBatchVertices;
  if (mode != batchMode_ || batch_.size() >= most) DrawBatch();
  batchMode_ = mode;
}

void TGLArraySink::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  const size_t n = size_t(std::max(count, 0));
  switch (mode) {
    case GL_LINE_LOOP:
      if (n < 2) return;
      if (lines_ == TLines::Loops) {
        Batch(GL_LINE_LOOP);
        firsts_.push_back(GLint(batch_.size()));
        counts_.push_back(GLsizei(n));
        batch_.insert(batch_.end(), v, v + n);
        return;
      }
      Batch(GL_LINES);
      for (size_t k = 0; k < n; ++k) {
        Append(v[k]);
        Append(v[(k + 1) % n]);
      }
      return;
    case GL_POLYGON:
      if (n < 3) return;
      Batch(GL_TRIANGLES);
      // The first corner last, as OpenGL itself hands a polygon's triangles on:
      // the order of a triangle's corners decides the last bit of its colours.
      for (size_t k = 1; k + 1 < n; ++k) {
        Append(v[k]);
        Append(v[k + 1]);
        Append(v[0]);
      }
      return;
    case GL_QUADS:
      // Split along the diagonal from the second corner to the fourth, the last corner
      // last in both halves, as the driver splits a compiled quad.
      Batch(GL_TRIANGLES);
      for (size_t k = 0; k + 3 < n; k += 4)
        for (size_t c : {0, 1, 3, 1, 2, 3}) Append(v[k + c]);
      return;
    default:
      // Anything else is rare (the axes' line strips): passed on as it was given.
      DrawBatch();
      next_.DrawArrays(mode, v, count);
      return;
  }
}
