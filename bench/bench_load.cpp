// Times loading generated data files (parse and ranges) in each layout: bench_load
// [N ...] (default 1000 2000). Each file is read in a child process so that its peak
// memory is its own; gzip files are set against inflating them alone, and the text
// against the same grid in float32 as a .npy array and (built with GDAL) a GeoTIFF.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "GridFiles.h"
#include "core/DataFile.h"

#ifdef KESTO_BENCH_GDAL
#include <gdal_priv.h>
#endif

namespace {

double Seconds(const std::function<void()>& work) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    best = std::min(best,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

void Measure(const char* layout, const std::string& path, int n) {
  const double mb = std::filesystem::file_size(path) / 1e6;
  const double best = Seconds([&] {
    if (ReadDataFile(path, {}, '.').GridHighI != n - 1) std::exit(1);
  });
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const double gridMiB = double(n) * n * sizeof(TGridPoint) / (1 << 20);
  std::printf("%-6d %-12s %8.1f MB %9.3f s %9.0f MB/s %9.0f MiB %6.2fx\n", n, layout, mb, best,
              mb / best, u.ru_maxrss / 1024.0, u.ru_maxrss / 1024.0 / gridMiB);
}

// What inflating the file alone takes, for the gzip reading to be set against.
void MeasureInflate(const std::string& path, int n) {
  const double best = Seconds([&] {
    gzFile f = gzopen(path.c_str(), "rb");
    std::vector<char> buffer(1 << 20);
    while (gzread(f, buffer.data(), unsigned(buffer.size())) > 0) {
    }
    gzclose(f);
  });
  std::printf("%-6d %-12s %11s %9.3f s\n", n, "inflate only", "", best);
}

bool Compress(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  gzFile out = gzopen(to.c_str(), "wb6");
  std::vector<char> buffer(1 << 20);
  size_t n = 0;
  while (in && out && (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0)
    gzwrite(out, buffer.data(), unsigned(n));
  const bool ok = in && out;
  if (in) std::fclose(in);
  if (out) gzclose(out);
  return ok;
}

float Height(int i, int j, int n) {
  const double x = i / double(n - 1), y = j / double(n - 1);
  return float(std::sin(6 * x) * std::cos(4 * y));
}

bool WriteNpy(const std::string& path, int n) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::string header = "{'descr': '<f4', 'fortran_order': False, 'shape': (" + std::to_string(n) +
                       ", " + std::to_string(n) + "), }";
  header += std::string(63 - (10 + header.size()) % 64, ' ') + "\n";
  const char lead[10] = {
      '\x93', 'N', 'U', 'M', 'P', 'Y', 1, 0, char(header.size() & 0xFF), char(header.size() >> 8)};
  std::fwrite(lead, 1, sizeof lead, f);
  std::fwrite(header.data(), 1, header.size(), f);
  std::vector<float> row(size_t(n), 0.0f);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) row[size_t(j)] = Height(i, j, n);
    std::fwrite(row.data(), sizeof(float), row.size(), f);
  }
  return std::fclose(f) == 0;
}

#ifdef KESTO_BENCH_GDAL
bool WriteGeoTiff(const std::string& path, int n) {
  GDALAllRegister();
  GDALDataset* d = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), n, n, 1,
                                                                            GDT_Float32, nullptr);
  if (!d) return false;
  std::vector<float> row(size_t(n), 0.0f);
  bool ok = true;
  for (int i = 0; i < n && ok; ++i) {
    for (int j = 0; j < n; ++j) row[size_t(j)] = Height(i, j, n);
    ok = d->GetRasterBand(1)->RasterIO(GF_Write, 0, i, n, 1, row.data(), n, 1, GDT_Float32, 0, 0) ==
         CE_None;
  }
  GDALClose(d);
  return ok;
}
#endif

template <class Work>
void InChild(Work work) {
  std::fflush(stdout);
  if (pid_t child = fork(); child == 0) {
    work();
    std::fflush(stdout);
    _exit(0);
  } else {
    waitpid(child, nullptr, 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 2000};
  const auto dir = std::filesystem::temp_directory_path();
  std::printf("%-6s %-12s %11s %11s %14s %13s %7s\n", "grid", "layout", "file", "best of 3",
              "speed", "peak RSS", "/grid");
  for (int n : sizes) {
    const std::string base = (dir / ("kesto-bench-" + std::to_string(n))).string();
    const struct {
      const char* Layout;
      char Separator;
      bool RowBreaks;
    } layouts[] = {{"comma", ',', true}, {"spaces", ' ', true}, {"no-breaks", ' ', false}};
    for (const auto& l : layouts) {
      const std::string path = base + "-" + l.Layout + ".txt";
      if (!WriteGridFile(path, n, l.Separator, l.RowBreaks)) return 1;
      InChild([&] { Measure(l.Layout, path, n); });
      if (l.Separator == ' ' && l.RowBreaks) {
        const std::string gz = path + ".gz";
        if (!Compress(path, gz)) return 1;
        InChild([&] { Measure("spaces gzip", gz, n); });
        InChild([&] { MeasureInflate(gz, n); });
        std::filesystem::remove(gz);
      }
      std::filesystem::remove(path);
    }
    const std::string npy = base + ".npy";
    if (!WriteNpy(npy, n)) return 1;
    InChild([&] { Measure("npy f32", npy, n); });
    std::filesystem::remove(npy);
#ifdef KESTO_BENCH_GDAL
    const std::string tiff = base + ".tif";
    if (!WriteGeoTiff(tiff, n)) return 1;
    InChild([&] { Measure("geotiff f32", tiff, n); });
    std::filesystem::remove(tiff);
#endif
  }
  return 0;
}
