// Display lists against client-side vertex arrays as the holder of a compiled graph, in
// an off-screen context at 640 x 480: bench_holders [N ...] (default 1000 2000). Each
// size, surface and holder runs in a process of its own, so that its peak memory is its
// own:
//   first frame: building the surface's list and the first full 3-D frame
//   replay:      a frame drawn again from what is held, median of 5
//   peak:        the process's peak resident memory less the grid's
#include <GL/gl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "OffscreenGrid.h"
#include "kesto-render/HeadlessGL.h"
#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/GLRecorder.h"

namespace {

using bench::FillGrid;
using bench::PeakRssMiB;
using bench::Seconds;
using bench::TClock;

// The vertex-array holder: each list kept as the arrays its builder gave, gathered into
// large batches, and drawn with glDrawArrays where the frame calls it.
class TArrayHolder final : public TGLForwardingSink {
 public:
  TArrayHolder(const TKestoState& s, TGLSink& next) : TGLForwardingSink(next), s_(s) {}
  void CallList(GLuint list) override {
    auto [at, added] = held_.try_emplace(list);
    if (added) {
      TGLRecorder recorder;
      TGLArraySink arrays(recorder, TGLArraySink::TLines::Loops);
      BuildListBody(s_, int32_t(list), arrays);
      arrays.DrawBatch();
      at->second = std::move(recorder);
    }
    at->second.Replay(next_);
  }

 private:
  const TKestoState& s_;
  std::map<GLuint, TGLRecording> held_;
};

// One frame through gl, finished.
double Frame(TKestoState& s, TGLSink& gl) {
  const auto t0 = TClock::now();
  DrawFrame(s, 640, 480, false, gl);
  glFinish();
  return Seconds(t0);
}

void Measure(int n, int surface, bool arrays) {
  THeadlessGL gl;
  if (!gl.Create(640, 480)) {
    std::fprintf(stderr, "bench_holders: %s\n", gl.Error());
    std::exit(1);
  }
  TKestoState s;
  FillGrid(s, n);
  s.SurfaceMode = surface;
  s.NormalizeView();
  const long grid = PeakRssMiB();
  TGLDirectSink direct;
  TArrayHolder held(s, direct);
  TGLSink& sink = arrays ? static_cast<TGLSink&>(held) : direct;
  const auto t0 = TClock::now();
  if (!arrays) {
    TGLArraySink batches(direct);
    BuildLists(s, ListsForFrame(s, false), batches);
  }
  Frame(s, sink);
  const double first = Seconds(t0);
  std::vector<double> replays;
  for (int k = 0; k < 5; ++k) replays.push_back(Frame(s, sink));
  std::nth_element(replays.begin(), replays.begin() + 2, replays.end());
  static const char* const kSurfaces[] = {"mesh", "fill", "points"};
  std::printf("%-6d %-7s %-7s %10.3fs %9.3fs %8ld MiB\n", n, kSurfaces[surface],
              arrays ? "arrays" : "lists", first, replays[2], PeakRssMiB() - grid);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 2000};
  std::printf("%-6s %-7s %-7s %11s %10s %12s\n", "grid", "surface", "holder", "first frame",
              "replay", "peak - grid");
  for (int n : sizes)
    for (int surface = 0; surface < 3; ++surface)
      for (bool arrays : {false, true}) {
        std::fflush(stdout);
        if (pid_t child = fork(); child == 0) {
          Measure(n, surface, arrays);
          std::fflush(stdout);
          _exit(0);
        } else {
          waitpid(child, nullptr, 0);
        }
      }
  return 0;
}
