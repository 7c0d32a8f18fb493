// Times what the viewer does after a load, in an off-screen context at 640 x 480:
// bench_lists [N ...] (default 300 1000 2000), each size in its own process.
//   first frame: MakeList(4095) and the first full frame of the default 3-D mesh,
//                which compiles the two lists that frame replays
//   mesh, fill:  replaying a compiled 3-D mesh / filled list
//   all lists:   compiling all ten lists at once
//   labels:      what the numbers (key L) add to a frame: drawing them, median of 21
#include <GL/gl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "OffscreenGrid.h"
#include "kesto-render/HeadlessGL.h"
#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/Labels.h"

namespace {

using bench::FillGrid;
using bench::PeakRssMiB;
using bench::Seconds;
using bench::TClock;

double Compile(TKestoState& s, int32_t mask) {
  TGLDirectSink direct;
  const auto t0 = TClock::now();
  {
    TGLArraySink arrays(direct);
    BuildLists(s, mask, arrays);
  }
  glFinish();
  return Seconds(t0);
}

double Frame(TKestoState& s, int surface) {
  TGLDirectSink direct;
  s.SurfaceMode = surface;
  const auto t0 = TClock::now();
  DrawFrame(s, 640, 480, false, direct);
  glFinish();
  return Seconds(t0);
}

double Labels(const TKestoState& s) {
  TGLDirectSink direct;
  std::vector<double> times;
  for (int k = 0; k < 21; ++k) {
    const auto t0 = TClock::now();
    DrawLabels(640, 480, PlanLabels(s, 640, 480, nullptr), direct);
    glFinish();
    times.push_back(Seconds(t0));
  }
  std::nth_element(times.begin(), times.begin() + 10, times.end());
  return times[10];
}

void Measure(int n) {
  THeadlessGL gl;
  if (!gl.Create(640, 480)) {
    std::fprintf(stderr, "bench_lists: %s\n", gl.Error());
    std::exit(1);
  }
  TKestoState s;
  FillGrid(s, n);
  s.NormalizeView();
  const auto t0 = TClock::now();
  Compile(s, ListsForFrame(s, false));
  Frame(s, 0);
  const double first = Seconds(t0);
  const long firstRss = PeakRssMiB();
  const double mesh = Frame(s, 0);
  Compile(s, kList3DFill);
  const double fill = Frame(s, 1);
  glDeleteLists(1, 512);
  const double all = Compile(s, kMaskAll);
  const double labels = Labels(s);
  std::printf("%-6d %10.3fs %8ld MiB %9.3fs %9.3fs %10.3fs %8ld MiB %8.2fms\n", n, first, firstRss,
              mesh, fill, all, PeakRssMiB(), labels * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {300, 1000, 2000};
  std::printf("%-6s %11s %12s %10s %10s %11s %12s %10s\n", "grid", "first frame", "peak", "mesh",
              "fill", "all lists", "peak", "labels");
  for (int n : sizes) {
    std::fflush(stdout);
    if (pid_t child = fork(); child == 0) {
      Measure(n);
      std::fflush(stdout);
      _exit(0);
    } else {
      waitpid(child, nullptr, 0);
    }
  }
  return 0;
}
