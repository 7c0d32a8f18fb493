#pragma once

#include <array>
#include <vector>

#include "render/GLSink.h"

#define KESTO_GL_OP(name, params, args) name,
// Every call of the sink interface, by name. The arguments a call records: DrawArrays
// its mode, its count and an index into Arrays; MultiDrawArrays its mode, its runs and
// an index into Arrays, Firsts and Counts; any other its arguments in order.
enum class TGLOp { KESTO_GL_SINK_CALLS(KESTO_GL_OP) };
#undef KESTO_GL_OP

// One call and its arguments, each exact as a double.
struct TGLCall {
  TGLOp Op;
  std::array<double, 9> A{};
};

// Calls kept in plain buffers: what one thread builds and another carries out, or
// what a test reads back.
struct TGLRecording {
  std::vector<TGLCall> Calls;
  std::vector<std::vector<TArrayVertex>> Arrays;  // the corners of each array draw
  // Where each run of a MultiDrawArrays starts and how many corners it has.
  std::vector<std::vector<GLint>> Firsts;
  std::vector<std::vector<GLsizei>> Counts;

  void Clear() {
    Calls.clear();
    Arrays.clear();
    Firsts.clear();
    Counts.clear();
  }
  // Makes the calls on gl, in order.
  void Replay(TGLSink& gl) const;
};

// Records every call in order and, when given a next sink, passes it on as well.
class TGLRecorder : public TGLSink, public TGLRecording {
 public:
  explicit TGLRecorder(TGLSink* forward = nullptr) : forward_(forward) {}
  TGLSink* Forward() const { return forward_; }

  KESTO_GL_SINK_CALLS(KESTO_GL_OVERRIDE)

  using TGLRecording::Clear;

 private:
  void Add(TGLOp op, std::array<double, 9> args = {}) { Calls.push_back({op, args}); }
  template <TGLOp op, class... TArgs>
  void Record(TArgs... args) {
    Add(op, {double(args)...});
  }
  TGLSink* forward_;
};
