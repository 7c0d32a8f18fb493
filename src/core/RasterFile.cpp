#include "core/RasterFile.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>

#include "core/GridFinish.h"

namespace {

// The library's own messages go to the refusal, never to the terminal, on this thread.
class TQuietErrors {
 public:
  TQuietErrors() {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
  }
  ~TQuietErrors() { CPLPopErrorHandler(); }
  TQuietErrors(const TQuietErrors&) = delete;
  TQuietErrors& operator=(const TQuietErrors&) = delete;
};

struct TClose {
  void operator()(GDALDataset* d) const { GDALClose(GDALDataset::ToHandle(d)); }
};
using TDataset = std::unique_ptr<GDALDataset, TClose>;

TDataset Open(const std::string& path, const std::string& name) {
  TDataset d(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!d) {
    const std::string said = CPLGetLastErrorMsg();
    RefuseDataFile(name, "GDAL cannot read it" + (said.empty() ? "" : " (" + said + ")"));
  }
  return d;
}

// A variable's name in its subdataset's: what follows the last colon, without the
// slashes of an HDF5 path's root.
std::string VariableOf(const std::string& subdataset) {
  std::string v = subdataset.substr(subdataset.rfind(':') + 1);
  while (!v.empty() && v.front() == '/') v.erase(0, 1);
  return v;
}

// The subdatasets' names, in order.
std::vector<std::string> Subdatasets(GDALDataset& d) {
  std::vector<std::string> names;
  char** list = d.GetMetadata("SUBDATASETS");
  for (int k = 1;; ++k) {
    const char* name =
        CSLFetchNameValue(list, ("SUBDATASET_" + std::to_string(k) + "_NAME").c_str());
    if (!name) break;
    names.emplace_back(name);
  }
  return names;
}

// The words for a band: a variable's bands are its slices along its other dimensions.
std::string PartName(const std::string& variable, int band, bool slices) {
  const std::string where =
      slices ? "slice " + std::to_string(band - 1) : "band " + std::to_string(band);
  return variable.empty() ? where : variable + ", " + where;
}

bool BandsAreSlices(GDALDataset& d, const std::string& variable) {
  const std::string driver = d.GetDriverName();
  return !variable.empty() || driver == "netCDF" || driver.starts_with("HDF5");
}

// The dataset the choice names: the file, or the variable's subdataset.
TDataset Chosen(const std::string& path, const TRasterChoice& choice, std::string& variable) {
  TDataset file = Open(path, path);
  const std::vector<std::string> subs = Subdatasets(*file);
  if (choice.Variable.empty() && (file->GetRasterCount() > 0 || subs.empty())) return file;
  std::string names;
  for (const std::string& sub : subs) {
    if (VariableOf(sub) == choice.Variable || (choice.Variable.empty() && subs.size() == 1)) {
      variable = VariableOf(sub);
      return Open(sub, path);
    }
    names += (names.empty() ? "" : ", ") + VariableOf(sub);
  }
  if (choice.Variable.empty())
    RefuseDataFile(
        path, "it holds " + std::to_string(subs.size()) + " variables (" + names + "): choose one");
  RefuseDataFile(path, "it has no variable \"" + choice.Variable + "\"" +
                           (names.empty() ? "" : " (it has " + names + ")"));
}

// Which of a band's cells are holes: NaN, its nodata value, or masked out by its mask
// band, which is read a block of rows at a time alongside the values.
class THoles {
 public:
  explicit THoles(GDALRasterBand& band) : band_(band) {
    const int flags = band.GetMaskFlags();
    masked_ = !(flags & (GMF_ALL_VALID | GMF_NODATA));
    int has = 0;
    nodata_ = band.GetNoDataValue(&has);
    hasNodata_ = has != 0 && !std::isnan(nodata_);
    single_ = band.GetRasterDataType() == GDT_Float32;
  }
  // Reads the mask of rows first .. first + count.
  void Read(int columns, int first, int count) {
    if (!masked_) return;
    mask_.resize(size_t(columns) * size_t(count));
    if (band_.GetMaskBand()->RasterIO(GF_Read, 0, first, columns, count, mask_.data(), columns,
                                      count, GDT_Byte, 0, 0) != CE_None)
      throw std::runtime_error(CPLGetLastErrorMsg());
  }
  bool Hole(size_t k, double raw) const {
    if (std::isnan(raw) || (masked_ && mask_[k] == 0)) return true;
    if (!hasNodata_) return false;
    return single_ ? float(raw) == float(nodata_) : raw == nodata_;
  }

 private:
  GDALRasterBand& band_;
  bool masked_, hasNodata_, single_;
  double nodata_;
  std::vector<uint8_t> mask_;
};

// The band's cells into the grid's points, a block of rows at a time; the holes among
// them counted. gt: the georeference, or none (columns and rows are x and y).
int64_t ReadRows(GDALRasterBand& band, const double* gt, TGrid& grid, const TReadPump& pump,
                 const std::string& path) {
  const int rows = int(grid.size()), columns = int(grid[0].size());
  const double scale = band.GetScale(), offset = band.GetOffset();
  THoles holes(band);
  const int blockRows = std::max(1, (1 << 20) / columns);
  std::vector<double> values(size_t(columns) * size_t(std::min(blockRows, rows)));
  auto lastPump = std::chrono::steady_clock::now();
  int64_t holeCount = 0;
  for (int first = 0; first < rows; first += blockRows) {
    const int count = std::min(blockRows, rows - first);
    if (band.RasterIO(GF_Read, 0, first, columns, count, values.data(), columns, count, GDT_Float64,
                      0, 0) != CE_None)
      RefuseDataFile(path, std::string("its raster cannot be read (") + CPLGetLastErrorMsg() + ")");
    try {
      holes.Read(columns, first, count);
    } catch (const std::runtime_error& e) {
      RefuseDataFile(path, std::string("its mask cannot be read (") + e.what() + ")");
    }
    for (int r = first; r < first + count; ++r) {
      const double y = gt ? gt[3] + (r + 0.5) * gt[5] : r;
      for (int c = 0; c < columns; ++c) {
        const size_t k = size_t(r - first) * size_t(columns) + size_t(c);
        const bool hole = holes.Hole(k, values[k]);
        holeCount += hole;
        grid[size_t(r)][size_t(c)] = {gt ? gt[0] + (c + 0.5) * gt[1] : c, y,
                                      hole ? std::nan("") : values[k] * scale + offset};
      }
    }
    if (pump && std::chrono::steady_clock::now() - lastPump >= std::chrono::milliseconds(30)) {
      pump(double(first + count) / rows);
      lastPump = std::chrono::steady_clock::now();
    }
  }
  return holeCount;
}

}  // namespace

bool ReadsRasters() { return true; }

std::vector<TRasterEntry> RasterEntries(const std::string& path) {
  const TQuietErrors quiet;
  TDataset file = Open(path, path);
  std::vector<std::pair<std::string, TDataset>> parts;
  const std::vector<std::string> subs = Subdatasets(*file);
  if (file->GetRasterCount() > 0 || subs.empty()) parts.emplace_back("", std::move(file));
  for (const std::string& sub : subs)
    if (TDataset d{GDALDataset::Open(sub.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY)})
      parts.emplace_back(VariableOf(sub), std::move(d));
  std::vector<TRasterEntry> entries;
  for (auto& [variable, d] : parts) {
    const bool slices = BandsAreSlices(*d, variable);
    const std::string size =
        std::to_string(d->GetRasterXSize()) + " x " + std::to_string(d->GetRasterYSize());
    const std::string about = d->GetMetadataItem((variable + "#long_name").c_str())
                                  ? d->GetMetadataItem((variable + "#long_name").c_str())
                                  : "";
    for (int b = 1; b <= d->GetRasterCount(); ++b) {
      std::string label = PartName(variable, b, slices) + ": " + size;
      if (d->GetRasterCount() == 1) label = (variable.empty() ? "band 1" : variable) + ": " + size;
      const std::string description = d->GetRasterBand(b)->GetDescription();
      if (!about.empty()) label += ", " + about;
      if (!description.empty() && description != variable) label += ", " + description;
      entries.push_back({{variable, b}, label});
    }
  }
  return entries;
}

bool IsOtherRaster(const std::string& path) {
  const TQuietErrors quiet;
  GDALDriverH driver = GDALIdentifyDriverEx(path.c_str(), GDAL_OF_RASTER, nullptr, nullptr);
  if (!driver) return false;
  // Text the layouts refused is no grid because a library also reads such text.
  const std::string name = GDALGetDriverShortName(driver);
  for (const char* text : {"XYZ", "AAIGrid", "GRASSASCIIGrid", "ISG", "CSV", "GSAG"})
    if (name == text) return false;
  return true;
}

TGridData ReadRaster(const std::string& path, const TRasterChoice& choice, const TReadPump& pump,
                     int64_t mostPoints, TDataFileNotes* notes) {
  const TQuietErrors quiet;
  std::string variable;
  TDataset d = Chosen(path, choice, variable);
  const bool slices = BandsAreSlices(*d, variable);
  const int bandNumber = choice.Band > 0 ? choice.Band : 1;
  if (d->GetRasterCount() < bandNumber)
    RefuseDataFile(path, "it has " + std::to_string(d->GetRasterCount()) +
                             (slices ? " slices" : " bands") + ", no " +
                             PartName("", bandNumber, slices));
  GDALRasterBand& band = *d->GetRasterBand(bandNumber);
  const int columns = d->GetRasterXSize(), rows = d->GetRasterYSize();
  if (columns <= 0 || rows <= 0) RefuseDataFile(path, "its raster holds no cells");
  double gt[6];
  const bool placed = d->GetGeoTransform(gt) == CE_None;
  if (placed && (gt[2] != 0 || gt[4] != 0))
    RefuseDataFile(path, "its raster is rotated or sheared; only rasters with north up are read");
  CheckGridSize(path, uint64_t(columns), uint64_t(rows), mostPoints);

  TGrid grid(static_cast<size_t>(rows));
  for (TGridRow& row : grid) row.resize(size_t(columns));  // not copies of a first row
  const int64_t holeCount = ReadRows(band, placed ? gt : nullptr, grid, pump, path);
  TGridData data = FinishGrid(std::move(grid), path);
  if (notes) {
    *notes = {};
    notes->Layout = TDataLayout::Raster;
    notes->Holes = holeCount;
    notes->Driver = d->GetDriverName();
    if (const OGRSpatialReference* crs = d->GetSpatialRef(); crs && crs->GetName())
      notes->Crs = crs->GetName();
    notes->Part = PartName(variable, bandNumber, slices);
  }
  return data;
}
