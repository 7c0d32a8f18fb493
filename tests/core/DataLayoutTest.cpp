// The layouts people keep their grids in, each against the comma file that holds the
// same grid, and what a file that breaks its layout is told.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "core/DataFile.h"

namespace {

std::string DataPath(const std::string& name) { return std::string(KESTO_DATA_DIR) + "/" + name; }

std::string Joined(const std::vector<std::string>& words) {
  std::string all;
  for (const std::string& w : words) all += (all.empty() ? "" : "|") + w;
  return all;
}

TEST(DataLayouts, EachReadsAsItsCommaTwin) {
  const struct {
    const char* File;
    const char* Twin;
    TDataLayout Layout;
    const char* Names;
  } cases[] = {
      {"grid.csv", "grid.csv", TDataLayout::Comma, ""},
      {"spaces.txt", "grid.csv", TDataLayout::Whitespace, "x|y|z"},
      {"no-blank-lines.txt", "grid.csv", TDataLayout::Whitespace, "lon|lat|temp"},
      {"semicolon.txt", "grid.csv", TDataLayout::Semicolon, "x|y|z"},
      {"header.csv", "grid.csv", TDataLayout::Comma, "x|y|z"},
      {"spreadsheet.csv", "grid.csv", TDataLayout::Comma, "lon|lat|temp"},
      {"decimal-comma.txt", "grid.csv", TDataLayout::Semicolon, ""},
      {"spaces-decimal-comma.txt", "grid.csv", TDataLayout::Whitespace, ""},
      {"spaces.txt.gz", "grid.csv", TDataLayout::Whitespace, "x|y|z"},
      {"matrix.txt", "matrix.csv", TDataLayout::Matrix, ""},
      {"dem.asc", "dem.csv", TDataLayout::Esri, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    TDataFileNotes notes;
    const TGridData d = ReadDataFile(DataPath(c.File), {}, '.', &notes);
    const TGridData t = ReadDataFile(DataPath(c.Twin), {}, '.');
    EXPECT_EQ(LayoutName(notes.Layout), std::string(LayoutName(c.Layout)));
    EXPECT_EQ(Joined(notes.ColumnNames), c.Names);
    EXPECT_EQ(notes.Holes, 1);
    EXPECT_EQ(notes.NotNumbers, 0);
    ASSERT_EQ(d.GridHighI, t.GridHighI);
    ASSERT_EQ(d.GridHighJ, t.GridHighJ);
    for (int i = 0; i <= d.GridHighI; ++i)
      for (int j = 0; j <= d.GridHighJ; ++j)
        EXPECT_EQ(std::memcmp(&d.Grid[i][j], &t.Grid[i][j], sizeof(TGridPoint)), 0) << i << j;
    EXPECT_EQ(
        std::tie(d.XMin, d.XMax, d.YMin, d.YMax, d.ZMin, d.ZMax, d.OriginX, d.OriginY, d.OriginZ),
        std::tie(t.XMin, t.XMax, t.YMin, t.YMax, t.ZMin, t.ZMax, t.OriginX, t.OriginY, t.OriginZ));
    EXPECT_TRUE(GridInvariantsHold(d));
  }
  // The hole counts for no range: the heights around it are 1..5, and -10.
  const TGridData g = ReadDataFile(DataPath("grid.csv"), {}, '.');
  EXPECT_TRUE(IsHole(g.Grid[1][2]));
  EXPECT_EQ(g.ZMin, -10);
  EXPECT_EQ(g.ZMax, 5);
}

TEST(DataLayouts, RefusalsNameTheLineAndWhatWasExpected) {
  const struct {
    const char* Text;
    const char* Refusal;
  } cases[] = {
      {"1 2 3\n1 2\n", "line 2 \"1 2\" holds 2 numbers; every line of this x y z file holds 3."},
      {"x y z\n1 2 3\n1 2 abc\n",
       "line 3 \"1 2 abc\" holds \"abc\", which is not a number; every height of this file is a "
       "number, or nan, - or ? where it is missing."},
      {"1 2 3\nx 2 3\n", "line 2 \"x 2 3\" holds \"x\", which is not a number"},
      {"0 0 1\n0 1 2\n1 0 3\n",
       "row 2 (from line 3) has 1 point, but row 1 has 2 points; without blank lines, a row is a "
       "run of points with the same x"},
      {"1;2;3\n4;5\n", "line 2 \"4;5\" holds 2 numbers; every line of this x;y;z file holds 3."},
      {"1 2 3 4\n1 2 3\n",
       "line 2 \"1 2 3\" holds 3 numbers; every line of this matrix of heights holds 4."},
      {"ncols 2\nnrows 2\nxllcenter 0\nyllcenter 0\n1 2\n3 4\n",
       "the ESRI grid header before line 5 \"1 2\" has no cellsize."},
      {"ncols 2\nnrows 3\nxllcenter 0\nyllcenter 0\ncellsize 1\n1 2\n3 4\n",
       "it ends after 2 of the 3 rows that its ESRI grid header announces (nrows)."},
      {"ncols 2\nnrows 1\nxllcenter 0\nyllcenter 0\ncellsize 1\n1 2\n3 4\n",
       "line 7 \"3 4\" follows the last of the 1 rows"},
      {"ncols 2\nnrows 1\nxllcenter 0\nyllcenter 0\ncellsize 1\n1 2 3\n",
       "line 6 \"1 2 3\" holds 3 numbers; every line of this ESRI grid holds its ncols, 2."},
      {"0 0 nan\n0 1 -\n", "every one of its points is missing a height."},
      {"1,1,nan\n", "every one of its points is missing a height."},
  };
  for (const auto& c : cases) {
    try {
      ReadDataText(c.Text, "f.txt", '.');
      ADD_FAILURE() << "accepted: " << c.Text;
    } catch (const TDataFileError& e) {
      EXPECT_NE(std::string(e.what()).find("The data file \"f.txt\" cannot be shown: " +
                                           std::string(c.Refusal)),
                std::string::npos)
          << e.what();
    }
  }
  try {
    ReadDataFile(DataPath("damaged.gz"));
    ADD_FAILURE() << "a damaged gzip file was accepted";
  } catch (const TDataFileError& e) {
    EXPECT_NE(std::string(e.what()).find("its gzip data is damaged at byte "), std::string::npos)
        << e.what();
  }
}

}  // namespace
