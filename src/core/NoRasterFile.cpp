#include "core/GridFinish.h"
#include "core/RasterFile.h"

// This Kesto was built without GDAL: raster files are refused, saying so.

namespace {

constexpr const char* kWithoutGdal = "this Kesto was built without GDAL, which reads rasters";

}  // namespace

bool ReadsRasters() { return false; }

std::vector<TRasterEntry> RasterEntries(const std::string& path) {
  RefuseDataFile(path, kWithoutGdal);
}

bool IsOtherRaster(const std::string&) { return false; }

TGridData ReadRaster(const std::string& path, const TRasterChoice&, const TReadPump&, int64_t,
                     TDataFileNotes*) {
  RefuseDataFile(path, kWithoutGdal);
}
