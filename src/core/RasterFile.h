#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/DataFile.h"

// Whether a file's first bytes are those of a raster format read through GDAL: TIFF
// (BigTIFF too), NetCDF classic or 64-bit, HDF5 (NetCDF-4 among it).
bool IsRasterHead(std::string_view head);

// Whether this Kesto was built to read rasters.
bool ReadsRasters();

// One raster a file holds, with the words that name it: "temperature, slice 2:
// 360 x 180, air temperature".
struct TRasterEntry {
  TRasterChoice Choice;
  std::string Label;
};

// Every 2-D raster of a file, a band or slice each. Throws TDataFileError naming the
// file where it cannot be opened.
std::vector<TRasterEntry> RasterEntries(const std::string& path);

// Whether the library takes a file that the text layouts refused for a raster of a
// format of its own (a Surfer grid, say).
bool IsOtherRaster(const std::string& path);

// The chosen raster as a grid: a point at each cell's centre (x and y from the file's
// georeference, else the column and row), the band's nodata value, NaN and masked
// cells holes, its scale and offset applied. A rotated or sheared raster, an empty
// one, one of more than mostPoints cells or a choice the file does not hold is refused
// with the reason, before anything is read.
TGridData ReadRaster(const std::string& path, const TRasterChoice& choice, const TReadPump& pump,
                     int64_t mostPoints, TDataFileNotes* notes);
