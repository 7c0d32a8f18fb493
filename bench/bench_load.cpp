// Times loading generated data files (parse and ranges): bench_load [N ...]
// (default 1000 2000). Each size runs in a child process so that its peak memory
// is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "GridFiles.h"
#include "core/DataFile.h"

namespace {

void Measure(const std::string& path, int n) {
  const double mb = std::filesystem::file_size(path) / 1e6;
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto t0 = std::chrono::steady_clock::now();
    const TGridData d = ReadDataFile(path, {}, '.');
    best = std::min(best,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    if (d.GridHighI != n - 1) std::exit(1);
  }
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const double gridMiB = double(n) * n * sizeof(TGridPoint) / (1 << 20);
  std::printf("%-6d %8.1f MB %9.3f s %9.0f MB/s %9.0f MiB %9.0f MiB %6.2fx\n", n, mb, best,
              mb / best, u.ru_maxrss / 1024.0, gridMiB, u.ru_maxrss / 1024.0 / gridMiB);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 2000};
  const auto dir = std::filesystem::temp_directory_path();
  std::printf("%-6s %11s %11s %14s %13s %13s %7s\n", "grid", "file", "best of 3", "speed",
              "peak RSS", "grid", "ratio");
  for (int n : sizes) {
    const std::string path = (dir / ("kesto-bench-" + std::to_string(n) + ".txt")).string();
    if (!WriteGridFile(path, n)) return 1;
    std::fflush(stdout);
    if (pid_t child = fork(); child == 0) {
      Measure(path, n);
      std::fflush(stdout);
      _exit(0);
    } else {
      waitpid(child, nullptr, 0);
    }
    std::filesystem::remove(path);
  }
  return 0;
}
