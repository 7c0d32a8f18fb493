#pragma once

#include <array>
#include <vector>

#include "render/GLRecorder.h"

// One primitive as OpenGL rasterises it: a line segment (2 corners), a triangle (3)
// or a quad (4), each corner in single precision with its colour.
struct TPrimitive {
  int Corners;
  std::vector<TArrayVertex> V;
  bool operator==(const TPrimitive&) const = default;
};

// Records every call in order and, when given a target, passes it on as well; reads
// the record back.
class TRecordingSink final : public TGLRecorder {
 public:
  using TGLRecorder::TGLRecorder;

  // The calls between NewList(list) and its EndList, for the last build of list.
  std::vector<TGLCall> ListBody(GLuint list) const;
  // List names in the order they were compiled or replayed.
  std::vector<GLuint> Compiled() const;
  std::vector<GLuint> Replayed() const;
  // The segments, triangles and quads that calls' array draws make: a line loop or strip is its
  // segments, a polygon the fan from its first corner (first corner last), as OpenGL splits them.
  std::vector<TPrimitive> Primitives(const std::vector<TGLCall>& calls) const;
  // The corners of every DrawArrays, in order.
  std::vector<TArrayVertex> Corners() const;
  static int Count(const std::vector<TGLCall>& calls, TGLOp op, double firstArg);
  static int Count(const std::vector<TGLCall>& calls, TGLOp op);
};
