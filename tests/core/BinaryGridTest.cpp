// The binary grids against their twins in text: the same points, holes and ranges;
// and the refusals of files that are not what they claim.
#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>

#include "BinaryFiles.h"
#include "TempFiles.h"
#include "core/DataFile.h"
#include "core/RasterFile.h"

namespace {

void ExpectSameGrid(const TGridData& a, const TGridData& b) {
  ASSERT_TRUE(a.GridHighI == b.GridHighI && a.GridHighJ == b.GridHighJ);
  for (size_t i = 0; i <= size_t(a.GridHighI); ++i)
    for (size_t j = 0; j <= size_t(a.GridHighJ); ++j) {
      const TGridPoint &p = a.Grid[i][j], &q = b.Grid[i][j];
      ASSERT_TRUE(p.X == q.X && p.Y == q.Y && (p.Z == q.Z || (IsHole(p) && IsHole(q)))) << i << j;
    }
  EXPECT_TRUE(a.XMax == b.XMax && a.YMax == b.YMax && a.ZMin == b.ZMin && a.ZMax == b.ZMax);
}

TEST(BinaryGrid, NpyOfEveryTypeAndOrderIsItsTwin) {
  const TTempDir dir;
  const THeights z = SampleHeights(4, 6, 1);
  THeights holed = z;
  holed[1][2] = NAN;
  const TGridData twin = ReadDataFile(dir.File("twin.txt", TwinText(z, 0, 1, 0, 1))),
                  holedTwin = ReadDataFile(dir.File("holed.txt", TwinText(holed, 0, 1, 0, 1)));
  for (const char* descr : {"<f8", ">f8", "<f4", ">i2", "<i4", "<i8", "|i1", ">u4"})
    for (bool fortran : {false, true}) {
      SCOPED_TRACE(std::string(descr) + (fortran ? " F" : " C"));
      const bool real = descr[1] == 'f';
      TDataFileNotes notes;
      ExpectSameGrid(ReadDataFile(dir.File("a.npy", NpyBytes(real ? holed : z, descr, fortran)), {},
                                  '\0', &notes),
                     real ? holedTwin : twin);
      EXPECT_TRUE(notes.Layout == TDataLayout::Npy && notes.Holes == (real ? 1 : 0));
    }
  const std::string gz = dir.Path("a.npy.gz"), bytes = NpyBytes(holed, "<f8", false);
  gzFile f = gzopen(gz.c_str(), "wb");
  gzwrite(f, bytes.data(), unsigned(bytes.size()));
  gzclose(f);
  ExpectSameGrid(ReadDataFile(gz), holedTwin);
}

// Each refusal names the file and says what is wrong with it.
TEST(BinaryGrid, RefusalsNameTheFileAndTheFault) {
  const TTempDir dir;
  const THeights z = SampleHeights(3, 4, 1);
  const std::string good = NpyBytes(z, "<f8", false);
#ifdef KESTO_TEST_GDAL
  WriteGeoTiff(dir.Path("rotated.tif"), {z}, {0, 1, 0.5, 0, 0, -1});
  std::stringstream rotated;
  rotated << std::ifstream(dir.Path("rotated.tif"), std::ios::binary).rdbuf();
#endif
  struct TCase {
    const char* Name;
    std::string Bytes;
    const char* Says;
    int64_t Most = INT64_MAX;
  } cases[] = {
      {"line.npy", NpyBytes({{1, 2, 3}}, "<f8", false, "(3,)"), "has 1 dimension; a grid is 2-D"},
      {"cube.npy", NpyBytes(z, "<f8", false, "(3, 2, 2)"), "has 3 dimensions"},
      {"objects.npy", NpyBytes(z, "|O8", false), "holds Python objects, which are never read"},
      {"text.npy", NpyBytes(z, "<U8", false), "is of type '<U8'"},
      {"cut.npy", good.substr(0, good.size() - 5), "ends after 11 of the 12 values"},
      {"lying.npy", NpyBytes(z, "<f8", false, "(30, 4)"), "ends after 12 of the 120 values"},
      {"empty.npy", NpyBytes(z, "<f8", false, "(0, 4)"), "holds no values"},
      {"header.npy", good.substr(0, 30), "header is cut short"},
      {"big.npy", good, "too large for the memory available: 4 x 3 points, where it holds 11", 11},
#ifdef KESTO_TEST_GDAL
      {"cut.tif", std::string("II*\0", 4) + std::string(40, '\x01'), "GDAL cannot read it"},
      {"lying.nc", std::string("CDF\x01", 4) + std::string(60, '\xff'), "GDAL cannot read it"},
      {"rotated.tif", rotated.str(), "rotated or sheared"},
#else
      {"any.tif", std::string("II*\0", 4) + std::string(40, '\x01'), "built without GDAL"},
#endif
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = dir.File(c.Name, c.Bytes);
    try {
      ReadDataFile(path, {}, '\0', nullptr, c.Most);
      ADD_FAILURE() << "read";
    } catch (const TDataFileError& e) {
      const std::string said = e.what();
      EXPECT_NE(said.find("\"" + path + "\" cannot be shown"), std::string::npos) << said;
      EXPECT_NE(said.find(c.Says), std::string::npos) << said;
    }
  }
}

}  // namespace
