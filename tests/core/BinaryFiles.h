#pragma once

// Small grids written as the binary files Kesto reads, each beside its twin in text:
// .npy bytes by hand, GeoTIFF and NetCDF through GDAL's own writing API.

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef KESTO_TEST_GDAL
#include <gdal_priv.h>
#endif

// Heights by row and column; NaN: a hole.
using THeights = std::vector<std::vector<double>>;

// Whole heights from 0 to 96, which every type of a .npy array holds exactly.
inline THeights SampleHeights(int rows, int columns, int seed) {
  THeights z(size_t(rows), std::vector<double>(size_t(columns), 0.0));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      z[size_t(r)][size_t(c)] = (r * 7 + c * c * seed + 3 * r * c) % 97;
  return z;
}

// A terrain of 40 by 30 cells with a hole of 3 by 2, in whole eighths (exact in
// float32): the grid of the GeoTIFF reference picture.
inline THeights TerrainHeights() {
  THeights z(30, std::vector<double>(40, 0.0));
  for (int r = 0; r < 30; ++r)
    for (int c = 0; c < 40; ++c)
      z[size_t(r)][size_t(c)] =
          std::round(80 * std::sin(c / 7.0) * std::cos(r / 5.0) + (r + c) * 2.5) / 8;
  for (int r = 12; r < 14; ++r)
    for (int c = 20; c < 23; ++c) z[size_t(r)][size_t(c)] = NAN;
  return z;
}

// The whitespace text of the grid whose point (r, c) lies at x0 + c dx, y0 + r dy,
// a row per block.
inline std::string TwinText(const THeights& z, double x0, double dx, double y0, double dy) {
  std::string text;
  char line[128];
  for (size_t r = 0; r < z.size(); ++r) {
    for (size_t c = 0; c < z[r].size(); ++c) {
      std::snprintf(line, sizeof line, "%.17g %.17g %.17g\n", x0 + double(c) * dx,
                    y0 + double(r) * dy, z[r][c]);
      text += line;
    }
    text += "\n";
  }
  return text;
}

// A .npy file of the heights in type descr ("<f8", ">i2" ...), by rows or columns.
inline std::string NpyBytes(const THeights& z, const std::string& descr, bool fortran,
                            const std::string& shape = "") {
  const size_t rows = z.size(), columns = z[0].size();
  std::string header =
      "{'descr': '" + descr + "', 'fortran_order': " + (fortran ? "True" : "False") +
      ", 'shape': " +
      (shape.empty() ? "(" + std::to_string(rows) + ", " + std::to_string(columns) + ")" : shape) +
      ", }";
  header += std::string(63 - (10 + header.size()) % 64, ' ') + "\n";
  std::string out = std::string("\x93NUMPY\x01\0", 8) + char(header.size()) + '\0' + header;
  const bool big = descr[0] == '>';
  const char kind = descr[1];
  const size_t size = size_t(descr[2] - '0');
  for (size_t k = 0; k < rows * columns; ++k) {
    const double v = fortran ? z[k % rows][k / rows] : z[k / columns][k % columns];
    uint64_t bits = 0;
    if (kind == 'f' && size == 4)
      bits = std::bit_cast<uint32_t>(float(v));
    else if (kind == 'f')
      bits = std::bit_cast<uint64_t>(v);
    else
      bits = uint64_t(int64_t(v));
    for (size_t b = 0; b < size; ++b) out += char(bits >> (8 * (big ? size - 1 - b : b)));
  }
  return out;
}

#ifdef KESTO_TEST_GDAL
// A GeoTIFF of float32 bands, each with nodata -9999 where its heights have holes.
inline void WriteGeoTiff(const std::string& path, const std::vector<THeights>& bands,
                         std::array<double, 6> gt) {
  GDALAllRegister();
  const int rows = int(bands[0].size()), columns = int(bands[0][0].size());
  GDALDataset* d = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
      path.c_str(), columns, rows, int(bands.size()), GDT_Float32, nullptr);
  d->SetGeoTransform(gt.data());
  for (size_t b = 0; b < bands.size(); ++b) {
    std::vector<float> values;
    for (const auto& row : bands[b])
      for (double v : row) values.push_back(std::isnan(v) ? -9999.0f : float(v));
    GDALRasterBand* band = d->GetRasterBand(int(b) + 1);
    band->SetNoDataValue(-9999);
    ASSERT_EQ(band->RasterIO(GF_Write, 0, 0, columns, rows, values.data(), columns, rows,
                             GDT_Float32, 0, 0),
              CE_None);
  }
  GDALClose(d);
}

// A NetCDF file with coordinate variables lon and lat (spacing 1 and 2 from 10 and 20),
// 2-D variables of the given names and one 3-D "series" of them all along "time".
inline void WriteNetCdf(const std::string& path,
                        const std::vector<std::pair<std::string, THeights>>& variables) {
  GDALAllRegister();
  const size_t rows = variables[0].second.size(), columns = variables[0].second[0].size();
  std::unique_ptr<GDALDataset> d(
      GetGDALDriverManager()->GetDriverByName("netCDF")->CreateMultiDimensional(path.c_str(),
                                                                                nullptr, nullptr));
  auto root = d->GetRootGroup();
  auto time = root->CreateDimension("time", "", "", variables.size(), nullptr);
  auto y = root->CreateDimension("lat", "", "", rows, nullptr);
  auto x = root->CreateDimension("lon", "", "", columns, nullptr);
  const auto real = GDALExtendedDataType::Create(GDT_Float64);
  const auto write = [&](const std::string& name,
                         const std::vector<std::shared_ptr<GDALDimension>>& dims,
                         const std::vector<double>& values, const char* units = nullptr) {
    auto a = root->CreateMDArray(name, dims, real, nullptr);
    if (units)
      a->CreateAttribute("units", {}, GDALExtendedDataType::CreateString(), nullptr)->Write(units);
    const std::vector<GUInt64> start(dims.size(), 0);
    std::vector<size_t> count;
    for (const auto& dim : dims) count.push_back(size_t(dim->GetSize()));
    ASSERT_TRUE(a->Write(start.data(), count.data(), nullptr, nullptr, real, values.data()));
  };
  std::vector<double> xs, ys, all;
  for (size_t c = 0; c < columns; ++c) xs.push_back(10 + double(c));
  for (size_t r = 0; r < rows; ++r) ys.push_back(20 + 2 * double(r));
  write("lon", {x}, xs, "degrees_east");
  write("lat", {y}, ys, "degrees_north");
  for (const auto& [name, z] : variables) {
    std::vector<double> values;
    for (const auto& row : z) values.insert(values.end(), row.begin(), row.end());
    write(name, {y, x}, values);
    all.insert(all.end(), values.begin(), values.end());
  }
  write("series", {time, y, x}, all);
}
#endif
