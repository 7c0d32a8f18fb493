// Times a full rebuild of every display list and one full frame at 640 x 480 for
// generated grids, in an off-screen context: bench_lists [N ...] (default 300 1000 2000).
#include <GL/gl.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "render/Frame.h"
#include "render/HeadlessGL.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long PeakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

void FillGrid(TKestoState& s, int n) {
  s.Grid.assign(n, TGridRow(n));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double x = i / double(n - 1), y = j / double(n - 1);
      s.Grid[i][j] = {x, y, std::sin(6 * x) * std::cos(4 * y)};
    }
  s.GridHighI = s.GridHighJ = n - 1;
  ApplyRanges(s, ComputeRanges(s.Grid, s.GridHighI, s.GridHighJ));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {300, 1000, 2000};

  THeadlessGL gl;
  if (!gl.Create(640, 480)) {
    std::fprintf(stderr, "bench_lists: %s\n", gl.Error());
    return 1;
  }
  std::printf("%-6s %14s %14s %14s %12s\n", "grid", "MakeList(4095)", "mesh frame",
              "filled frame", "peak MiB");
  for (int n : sizes) {
    TKestoState s;
    FillGrid(s, n);
    TGLDirectSink sink;
    s.NormalizeView();
    auto t0 = std::chrono::steady_clock::now();
    BuildLists(s, kMaskAll, sink);
    glFinish();
    const double build = Seconds(t0);
    double frames[2];
    for (int mode : {0, 1}) {
      s.SurfaceMode = mode;
      t0 = std::chrono::steady_clock::now();
      DrawFrame(s, 640, 480, false, sink);
      glFinish();
      frames[mode] = Seconds(t0);
    }
    std::printf("%-6d %13.3fs %13.3fs %13.3fs %12ld\n", n, build, frames[0], frames[1],
                PeakRssMiB());
    std::fflush(stdout);
    glDeleteLists(1, 512);
  }
  return 0;
}
