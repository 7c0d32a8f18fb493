// Feeds arbitrary bytes to the data-file parser, whole and cut in two at a place the
// input chooses: both must agree, and an accepted grid must satisfy the invariants
// every consumer relies on. The whole reading (gzip, layouts, second readings) must
// take what the comma reading takes without a field read as 0, giving the same grid.
// A raster goes to GDAL as a file, and what it gives must hold the same invariants.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/DataFile.h"
#include "core/RasterFile.h"

#ifdef KESTO_FUZZ_GDAL
#include <cpl_vsi.h>
#endif

namespace {

bool Parse(std::string_view text, size_t cut, TGridData& out,
           TDataReading reading = TDataReading::Detect, TDataFileNotes* notes = nullptr) {
  TDataParser p("fuzz", '.', reading);
  cut = std::min(cut, text.size());
  try {
    p.Feed(text.substr(0, cut));
    p.Feed(text.substr(cut));
    out = p.Finish();
    if (notes) *notes = p.Notes();
    return true;
  } catch (const TDataFileError&) {
    return false;
  }
}

bool SameGrid(const TGridData& a, const TGridData& b) {
  if (a.GridHighI != b.GridHighI || a.GridHighJ != b.GridHighJ) return false;
  for (int32_t i = 0; i <= a.GridHighI; ++i)
    if (std::memcmp(a.Grid[i].data(), b.Grid[i].data(),
                    sizeof(TGridPoint) * (size_t(a.GridHighJ) + 1)) != 0)
      return false;
  return true;
}

void CheckWholeReading(std::string_view text) {
  TDataFileNotes notes;
  TGridData read;
  try {
    read = ReadDataText(text, "fuzz", '.', &notes);
  } catch (const TDataFileError&) {
    return;
  }
  if (!GridInvariantsHold(read)) std::abort();
  TGridData asEver;
  TDataFileNotes asEverNotes;
  if (Parse(text, text.size(), asEver, TDataReading::CommaAsEver, &asEverNotes) &&
      asEverNotes.NotNumbers == 0 && !SameGrid(asEver, read))
    std::abort();
}

void CheckRaster([[maybe_unused]] const uint8_t* data, [[maybe_unused]] size_t size) {
#ifdef KESTO_FUZZ_GDAL
  const char* path = "/vsimem/fuzz";
  VSIFCloseL(VSIFileFromMemBuffer(path, const_cast<GByte*>(data), vsi_l_offset(size), FALSE));
  try {
    if (!GridInvariantsHold(ReadRaster(path, {}, {}, 1 << 20, nullptr))) std::abort();
  } catch (const TDataFileError&) {  // a refusal is an answer
  }
  VSIUnlink(path);
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Not NetCDF or HDF5: a header that lies about a size makes their library ask for
  // gigabytes at once, which the fuzzer counts as a failure and the program survives.
  if (IsRasterHead(text) && (text[0] == 'I' || text[0] == 'M')) CheckRaster(data, size);
  const size_t cut = size ? data[0] * size / 256 : 0;
  CheckWholeReading(text);
  TGridData whole, split;
  const bool a = Parse(text, text.size(), whole);
  const bool b = Parse(text, cut, split);
  if (a != b) std::abort();
  if (!a) return 0;
  if (!GridInvariantsHold(whole)) std::abort();
  if (!SameGrid(whole, split)) std::abort();
  if (whole.Grid.size() != size_t(whole.GridHighI) + 1) std::abort();
  if (!(whole.OriginX >= whole.XMin && whole.OriginX <= whole.XMax)) std::abort();
  return 0;
}
