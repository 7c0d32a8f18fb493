// The binary grids against their twins in text: the same points, holes and ranges;
// and the refusals of files that are not what they claim.
#include <gtest/gtest.h>
#include <zlib.h>

#include "BinaryFiles.h"
#include "TempFiles.h"
#include "core/DataFile.h"
#include "core/RasterFile.h"

namespace {

void ExpectSameGrid(const TGridData& a, const TGridData& b) {
  ASSERT_EQ(a.GridHighI, b.GridHighI);
  ASSERT_EQ(a.GridHighJ, b.GridHighJ);
  for (int i = 0; i <= a.GridHighI; ++i)
    for (int j = 0; j <= a.GridHighJ; ++j) {
      const TGridPoint &p = a.Grid[size_t(i)][size_t(j)], &q = b.Grid[size_t(i)][size_t(j)];
      ASSERT_TRUE(p.X == q.X && p.Y == q.Y && (p.Z == q.Z || (IsHole(p) && IsHole(q))))
          << i << "," << j << ": " << p.X << " " << p.Y << " " << p.Z << " / " << q.X << " " << q.Y
          << " " << q.Z;
    }
  EXPECT_TRUE(a.XMin == b.XMin && a.XMax == b.XMax && a.YMin == b.YMin && a.YMax == b.YMax &&
              a.ZMin == b.ZMin && a.ZMax == b.ZMax && a.ZPositiveMin == b.ZPositiveMin);
}

std::string Gzip(const std::string& bytes) {
  uLongf size = compressBound(uLong(bytes.size())) + 32;
  std::string out(size, '\0');
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = uInt(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(size);
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TEST(BinaryGrid, NpyOfEveryTypeAndOrderIsItsTwin) {
  const TTempDir dir;
  THeights z = SampleHeights(4, 6, 1);
  for (auto& row : z)
    for (double& v : row) v = std::round(v);  // integers for the integer types
  const TGridData twin = ReadDataFile(dir.File("twin.txt", TwinText(z, 0, 1, 0, 1)));
  THeights holed = z;
  holed[1][2] = NAN;
  const TGridData holedTwin = ReadDataFile(dir.File("holed.txt", TwinText(holed, 0, 1, 0, 1)));
  for (const char* descr : {"<f8", ">f8", "<f4", ">i2", "<i4", "<i8", "|i1", ">u4"})
    for (bool fortran : {false, true}) {
      SCOPED_TRACE(std::string(descr) + (fortran ? " F" : " C"));
      const bool real = descr[1] == 'f', unsigned_ = descr[1] == 'u';
      THeights shifted = real ? holed : z;
      if (unsigned_)
        for (auto& row : shifted)
          for (double& v : row) v += 100;
      const std::string path = dir.File("a.npy", NpyBytes(shifted, descr, fortran));
      TDataFileNotes notes;
      const TGridData d = ReadDataFile(path, {}, '\0', &notes);
      EXPECT_EQ(notes.Layout, TDataLayout::Npy);
      if (real) {
        ExpectSameGrid(d, holedTwin);
        EXPECT_EQ(notes.Holes, 1);
      } else if (!unsigned_) {
        ExpectSameGrid(d, twin);
      } else {
        EXPECT_EQ(d.ZMin, twin.ZMin + 100);
      }
    }
  const std::string gz = dir.File("a.npy.gz", Gzip(NpyBytes(holed, "<f8", false)));
  ExpectSameGrid(ReadDataFile(gz), holedTwin);
}

#ifdef KESTO_TEST_GDAL
TEST(BinaryGrid, GeoTiffBandsAndNetCdfVariablesAreTheirTwins) {
  const TTempDir dir;
  THeights first = SampleHeights(5, 7, 1), second = SampleHeights(5, 7, -2);
  first[2][3] = NAN;
  const std::string tiff = dir.Path("two.tif");
  WriteGeoTiff(tiff, {first, second}, {100, 2, 0, 50, 0, -3});
  TDataFileNotes notes;
  ExpectSameGrid(ReadDataFile(tiff, {}, '\0', &notes),
                 ReadDataFile(dir.File("first.txt", TwinText(first, 101, 2, 48.5, -3))));
  EXPECT_TRUE(notes.Layout == TDataLayout::Raster && notes.Driver == "GTiff" && notes.Holes == 1 &&
              notes.Part == "band 1");
  ExpectSameGrid(ReadDataFile(tiff, {}, '\0', &notes, INT64_MAX, {"", 2}),
                 ReadDataFile(dir.File("second.txt", TwinText(second, 101, 2, 48.5, -3))));
  EXPECT_EQ(notes.Part, "band 2");

  // NetCDF keeps rows from south to north; the grid runs from north, as the file's
  // y says.
  const THeights a = SampleHeights(3, 4, 1), b = SampleHeights(3, 4, 3);
  const std::string nc = dir.Path("three.nc");
  WriteNetCdf(nc, {{"a", a}, {"b", b}});
  const auto twinOf = [&](THeights z) {
    std::reverse(z.begin(), z.end());
    return ReadDataFile(dir.File("nc.txt", TwinText(z, 10, 1, 24, -2)));
  };
  ExpectSameGrid(ReadDataFile(nc, {}, '\0', &notes, INT64_MAX, {"b", 0}), twinOf(b));
  ExpectSameGrid(ReadDataFile(nc, {}, '\0', &notes, INT64_MAX, {"series", 2}), twinOf(b));
  EXPECT_EQ(notes.Part, "series, slice 1");
  std::vector<std::string> labels;
  for (const TRasterEntry& e : RasterEntries(nc)) labels.push_back(e.Label);
  EXPECT_EQ(labels.size(), 4u);  // not the coordinates; a and b one each, series two
  EXPECT_EQ(RasterEntries(tiff).size(), 2u);
}
#endif

// Each refusal names the file and says what is wrong with it.
TEST(BinaryGrid, RefusalsNameTheFileAndTheFault) {
  const TTempDir dir;
  const THeights z = SampleHeights(3, 4, 1);
  const std::string good = NpyBytes(z, "<f8", false);
  struct TCase {
    const char* Name;
    std::string Bytes;
    const char* Says;
  } cases[] = {
      {"line.npy", NpyBytes({{1, 2, 3}}, "<f8", false, "(3,)"), "has 1 dimension; a grid is 2-D"},
      {"cube.npy", NpyBytes(z, "<f8", false, "(3, 2, 2)"), "has 3 dimensions"},
      {"objects.npy", NpyBytes(z, "|O8", false), "holds Python objects, which are never read"},
      {"text.npy", NpyBytes(z, "<U8", false), "is of type '<U8'"},
      {"cut.npy", good.substr(0, good.size() - 5), "ends after 11 of the 12 values"},
      {"lying.npy", NpyBytes(z, "<f8", false, "(30, 4)"), "ends after 12 of the 120 values"},
      {"empty.npy", NpyBytes(z, "<f8", false, "(0, 4)"), "holds no values"},
      {"header.npy", good.substr(0, 30), "header is cut short"},
#ifdef KESTO_TEST_GDAL
      {"cut.tif", std::string("II*\0", 4) + std::string(40, '\x01'), "GDAL cannot read it"},
      {"lying.nc", std::string("CDF\x01", 4) + std::string(60, '\xff'), "GDAL cannot read it"},
#endif
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = dir.File(c.Name, c.Bytes);
    try {
      ReadDataFile(path);
      ADD_FAILURE() << "read";
    } catch (const TDataFileError& e) {
      const std::string said = e.what();
      EXPECT_NE(said.find("\"" + path + "\" cannot be shown"), std::string::npos) << said;
      EXPECT_NE(said.find(c.Says), std::string::npos) << said;
    }
  }
#ifdef KESTO_TEST_GDAL
  const std::string rotated = dir.Path("rotated.tif");
  WriteGeoTiff(rotated, {z}, {0, 1, 0.5, 0, 0, -1});
  EXPECT_THROW(
      try { ReadDataFile(rotated); } catch (const TDataFileError& e) {
        EXPECT_NE(std::string(e.what()).find("rotated or sheared"), std::string::npos);
        throw;
      },
      TDataFileError);
#endif
}

}  // namespace
