#include "render/RecordingSink.h"

#include <gtest/gtest.h>

#include <algorithm>

std::vector<TGLCall> TRecordingSink::ListBody(GLuint list) const {
  std::vector<TGLCall> body;
  bool inside = false;
  for (const TGLCall& c : Calls) {
    if (c.Op == TGLOp::NewList) {
      inside = c.A[0] == list;
      if (inside) body.clear();
    } else if (c.Op == TGLOp::EndList) {
      inside = false;
    } else if (inside) {
      body.push_back(c);
    }
  }
  return body;
}

std::vector<GLuint> TRecordingSink::Compiled() const {
  std::vector<GLuint> lists;
  for (const TGLCall& c : Calls)
    if (c.Op == TGLOp::NewList) lists.push_back(GLuint(c.A[0]));
  return lists;
}

std::vector<GLuint> TRecordingSink::Replayed() const {
  std::vector<GLuint> lists;
  for (const TGLCall& c : Calls)
    if (c.Op == TGLOp::CallList) lists.push_back(GLuint(c.A[0]));
  return lists;
}

namespace {

void Split(GLenum mode, const std::vector<TArrayVertex>& v, std::vector<TPrimitive>& out) {
  const size_t n = v.size();
  auto add = [&](std::initializer_list<size_t> corners) {
    TPrimitive p{int(corners.size()), {}};
    for (size_t k : corners) p.V.push_back(v[k]);
    out.push_back(std::move(p));
  };
  switch (mode) {
    case GL_LINES:
      for (size_t k = 0; k + 1 < n; k += 2) add({k, k + 1});
      break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (size_t k = 0; k + 1 < n; ++k) add({k, k + 1});
      if (mode == GL_LINE_LOOP && n > 1) add({n - 1, 0});
      break;
    case GL_TRIANGLES:
      for (size_t k = 0; k + 2 < n; k += 3) add({k, k + 1, k + 2});
      break;
    case GL_POLYGON:
      for (size_t k = 1; k + 1 < n; ++k) add({k, k + 1, 0});
      break;
    case GL_QUADS:  // as a display list splits them
      for (size_t k = 0; k + 3 < n; k += 4) {
        add({k, k + 1, k + 3});
        add({k + 1, k + 2, k + 3});
      }
      break;
    default:
      ADD_FAILURE() << "no splitting rule for mode " << mode;
  }
}

}  // namespace

std::vector<TPrimitive> TRecordingSink::Primitives(const std::vector<TGLCall>& calls) const {
  std::vector<TPrimitive> out;
  for (const TGLCall& c : calls) {
    switch (c.Op) {
      case TGLOp::DrawArrays:
        Split(GLenum(c.A[0]), Arrays[size_t(c.A[2])], out);
        break;
      case TGLOp::MultiDrawArrays: {
        const size_t k = size_t(c.A[2]);
        for (size_t run = 0; run < Firsts[k].size(); ++run) {
          const auto first = Arrays[k].begin() + Firsts[k][run];
          Split(GLenum(c.A[0]), {first, first + Counts[k][run]}, out);
        }
        break;
      }
      default:
        break;
    }
  }
  return out;
}

std::vector<TArrayVertex> TRecordingSink::Corners() const {
  std::vector<TArrayVertex> v;
  for (const TGLCall& c : Calls)
    if (c.Op == TGLOp::DrawArrays) {
      const auto& corners = Arrays[size_t(c.A[2])];
      v.insert(v.end(), corners.begin(), corners.end());
    }
  return v;
}

int TRecordingSink::Count(const std::vector<TGLCall>& calls, TGLOp op, double firstArg) {
  return int(std::count_if(calls.begin(), calls.end(),
                           [&](const TGLCall& c) { return c.Op == op && c.A[0] == firstArg; }));
}

int TRecordingSink::Count(const std::vector<TGLCall>& calls, TGLOp op) {
  return int(
      std::count_if(calls.begin(), calls.end(), [&](const TGLCall& c) { return c.Op == op; }));
}
