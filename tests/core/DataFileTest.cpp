#include "core/DataFile.h"

#include <gtest/gtest.h>

#include <random>

#include "core/SampleSurface.h"
#include "core/TempFiles.h"

namespace {

TGridData Parse(const std::string& text) {
  TDataParser p("test.txt", '.');
  p.Feed(text);
  return p.Finish();
}

void ExpectPoint(const TGridPoint& p, double x, double y, double z) {
  EXPECT_EQ(p.X, x);
  EXPECT_EQ(p.Y, y);
  EXPECT_EQ(p.Z, z);
}

std::string Blocks(int rows, int cols, const char* eol = "\n") {
  std::string s;
  for (int i = 0; i < rows; ++i) {
    if (i) s += eol;
    for (int j = 0; j < cols; ++j)
      s += std::to_string(i) + "," + std::to_string(j) + "," + std::to_string(i * j) + eol;
  }
  return s;
}

TEST(DataFile, BlocksBecomeRowsWithTheirRangesAndOrigin) {
  const TGridData d = Parse(Blocks(3, 4));
  EXPECT_EQ(d.GridHighI, 2);
  EXPECT_EQ(d.GridHighJ, 3);
  ExpectPoint(d.Grid[2][3], 2, 3, 6);
  EXPECT_EQ(d.XMax, 2);
  EXPECT_EQ(d.YMax, 3);
  EXPECT_EQ(d.ZMin, 0);
  EXPECT_EQ(d.ZMax, 6);
  EXPECT_TRUE(GridInvariantsHold(d));
}

TEST(DataFile, BlankLinesAnywhereAreOneRowBreakOrNothing) {
  const TGridData ref = Parse(Blocks(3, 4));
  std::string wideBreaks = Blocks(3, 4);
  for (size_t at = 0; (at = wideBreaks.find("\n\n", at)) != std::string::npos; at += 5)
    wideBreaks.replace(at, 2, "\n\n \n\n");
  for (const std::string& text : {Blocks(3, 4) + "\n\n  \t \n", "\n\n \n" + Blocks(3, 4),
                                  wideBreaks, Blocks(3, 4) + "\r\n\r\n"}) {
    const TGridData d = Parse(text);
    ASSERT_EQ(d.GridHighI, 2);
    ASSERT_EQ(d.GridHighJ, 3);
    EXPECT_EQ(d.Grid.size(), 3u);
    EXPECT_EQ(d.Grid[2][3].Z, ref.Grid[2][3].Z);
  }
}

TEST(DataFile, FieldsSplitAtTheFirstTwoCommas) {
  const TGridData d = Parse("5\n1,2\n1,2,3,4\na,b,c\n1 , 2 , 3\n1,\t2,3\n1e3,-2.5E-1,+7\n,,\n");
  ASSERT_EQ(d.GridHighJ, 7);
  ExpectPoint(d.Grid[0][0], 0, 0, 5);
  ExpectPoint(d.Grid[0][1], 1, 0, 2);
  ExpectPoint(d.Grid[0][2], 1, 2, 0);
  ExpectPoint(d.Grid[0][3], 0, 0, 0);
  ExpectPoint(d.Grid[0][4], 1, 2, 3);
  ExpectPoint(d.Grid[0][5], 1, 0, 3);  // a tab next to a comma
  ExpectPoint(d.Grid[0][6], 1000, -0.25, 7);
  ExpectPoint(d.Grid[0][7], 0, 0, 0);
}

TEST(DataFile, LineEndsCarriageReturnsAndCtrlZ) {
  const TGridData crlf = Parse("1,2,3\r\n4,5,6\r\n\r\n7,8,9\r\n1,1,1");  // no LF at the end
  EXPECT_EQ(crlf.GridHighI, 1);
  EXPECT_EQ(crlf.GridHighJ, 1);
  ExpectPoint(crlf.Grid[1][1], 1, 1, 1);
  const TGridData stray = Parse("1,2\r5,3\n");  // a CR inside a line is dropped
  ExpectPoint(stray.Grid[0][0], 1, 25, 3);
  const TGridData cut = Parse("1,2,3\n4,5,6\x1A\n\n9,9,9\n");
  EXPECT_EQ(cut.GridHighI, 0);
  EXPECT_EQ(cut.GridHighJ, 1);
  const TGridData ctrl = Parse("\x01\x02 1,2,3 \x1F\x7F\n");  // DEL is no blank
  ExpectPoint(ctrl.Grid[0][0], 1, 2, 0);
}

TEST(DataFile, PiecesMayCutLinesAnywhere) {
  const std::string text = Blocks(5, 7, "\r\n") + "\x1Atrailing junk";
  const TGridData whole = Parse(text);
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    TDataParser p("pieces", '.');
    for (size_t at = 0; at < text.size();) {
      const size_t n = std::min(text.size() - at, size_t(rng() % 9));
      p.Feed(std::string_view(text).substr(at, n));
      at += n;
    }
    const TGridData d = p.Finish();
    ASSERT_EQ(d.GridHighI, whole.GridHighI);
    ASSERT_EQ(d.GridHighJ, whole.GridHighJ);
    for (int i = 0; i <= d.GridHighI; ++i)
      for (int j = 0; j <= d.GridHighJ; ++j) ASSERT_EQ(d.Grid[i][j].Z, whole.Grid[i][j].Z);
  }
}

TEST(DataFile, OriginIsZeroOrTheNearerEndOfEachRange) {
  const TGridData d = Parse("5,-3,-8\n9,4,-2\n");
  EXPECT_EQ(d.OriginX, 5);
  EXPECT_EQ(d.OriginY, 0);
  EXPECT_EQ(d.OriginZ, -2);
}

TEST(DataFile, OverflowingFieldsReadAsZero) {
  const TGridData d = Parse("1e999,2,-1e400\n");
  ExpectPoint(d.Grid[0][0], 0, 2, 0);
}

TEST(DataFile, RowsOfDifferentLengthsAreRejectedWithWhereAndHowMany) {
  try {
    Parse("1,1,1\n2,2,2\n\n3,3,3\n\n4,4,4\n5,5,5\n");
    FAIL() << "accepted";
  } catch (const TDataFileError& e) {
    const std::string m = e.what();
    EXPECT_NE(m.find("\"test.txt\""), std::string::npos) << m;
    EXPECT_NE(m.find("row 2 (from line 4) has 1 point, but row 1 has 2 points"), std::string::npos)
        << m;
  }
  EXPECT_THROW(Parse("1,1,1\n\n2,2,2\n3,3,3\n"), TDataFileError);
}

TEST(DataFile, TextWithoutAPointIsRejected) {
  for (const char* text : {"", "\n\n  \n\t\n", "\x1A",
                           "\x1A"
                           "1,2,3\n",
                           "\r\r\n"}) {
    try {
      Parse(text);
      FAIL() << "accepted";
    } catch (const TDataFileError& e) {
      EXPECT_NE(std::string(e.what()).find("no data points"), std::string::npos);
    }
  }
}

// Files as people have them, read with a full stop or a comma as the locale's
// separator: what each gives, or the refusal that says why.
TEST(DataFile, FilesPeopleHave) {
  const struct {
    const char* Text;
    char Locale;
    const char* Refusal;  // nothing: accepted
    TGridPoint Last;
    int64_t NotNumbers;
  } cases[] = {
      {"0,0,1\n1.5,2.5,3.5\n", '.', nullptr, {1.5, 2.5, 3.5}, 0},
      {"0,0,1\n1.5,2.5,3,5\n", ',', nullptr, {1.5, 2.5, 3.5}, 0},
      {"0,0,1\n1.5,2.5,3.5\n", ',', nullptr, {1.5, 2.5, 3.5}, 0},
      {"0,0,1\n1,5,2,5\n", '.', nullptr, {1, 5, 0}, 1},
      {"a,b,c\n1,2,3\n", '.', nullptr, {1, 2, 3}, 0},
      {"1,2\n", '.', nullptr, {1, 0, 2}, 1},
      // Layouts other than commas, read where the comma reading refuses them.
      {"1 2 3\n4 5 6\n", '.', nullptr, {4, 5, 6}, 0},
      {"\n1\t2\t3\n", '.', nullptr, {1, 2, 3}, 0},
      {"1;2;3\n", ',', nullptr, {1, 2, 3}, 0},
      {"x,y,z\n0,0,1\n0,1,2\n\n1,0,3\n1,1,4\n", '.', nullptr, {1, 1, 4}, 0},
      {"# made by hand\n1,1,1\n\n2,2,2\n", '.', nullptr, {2, 2, 2}, 0},
      // What the comma reading takes stays as it was; a byte-order mark is no field.
      {"1 2 3\n4,5,6\n", '.', nullptr, {4, 5, 6}, 3},
      {"\xEF\xBB\xBF"
       "1,2,3\n",
       '.',
       nullptr,
       {1, 2, 3},
       0},
      {"1 2\n",
       '.',
       "line 1 \"1 2\" holds 2 numbers; every line of this x y z file holds 3.",
       {},
       0},
      {"x,y,z\n0,0,1\n0,1,2\n\n1,0,3\n",
       '.',
       "row 2 (from line 5) has 1 point, but row 1 has 2 points;",
       {},
       0},
  };
  for (const auto& c : cases) {
    TDataFileNotes notes;
    try {
      const TGridData d = ReadDataText(c.Text, "f.txt", c.Locale, &notes);
      ASSERT_EQ(c.Refusal, nullptr) << c.Text;
      ExpectPoint(d.Grid[d.GridHighI][d.GridHighJ], c.Last.X, c.Last.Y, c.Last.Z);
      EXPECT_EQ(notes.NotNumbers, c.NotNumbers) << c.Text;
    } catch (const TDataFileError& e) {
      ASSERT_NE(c.Refusal, nullptr) << c.Text << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.Refusal), std::string::npos) << e.what();
    }
  }
  TDataParser p("f.txt", '.');
  p.Feed("1,2,3\n\n4,x,6\nlong " + std::string(100, 'z') + "\n");
  EXPECT_THROW(p.Finish(), TDataFileError);
  EXPECT_EQ(p.Notes().NotNumbers, 4);
  EXPECT_EQ(p.Notes().FirstLine, 3);
  EXPECT_EQ(p.Notes().FirstText, "\"4,x,6\"");
}

class LoadDataFileTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeSampleData(graph_); }
  void ExpectSampleUntouched() {
    TGridData sample;
    MakeSampleData(sample);
    EXPECT_EQ(graph_.GridHighI, 49);
    EXPECT_EQ(graph_.Grid.size(), 50u);
    EXPECT_EQ(graph_.Grid[49][10].Z, sample.Grid[49][10].Z);
    EXPECT_EQ(graph_.ZMax, sample.ZMax);
    EXPECT_EQ(graph_.OriginX, 0);
  }
  TTempDir dir_;
  TGridData graph_;
};

TEST_F(LoadDataFileTest, ReplacesEverythingFromAGoodFile) {
  LoadDataFile(graph_, dir_.File("good.txt", "5,-3,-8\n9,4,-2\n\n5,-3,1\n9,4,0\n"));
  EXPECT_EQ(graph_.GridHighI, 1);
  EXPECT_EQ(graph_.GridHighJ, 1);
  EXPECT_EQ(graph_.Grid.size(), 2u);
  EXPECT_EQ(graph_.XMin, 5);
  EXPECT_EQ(graph_.ZMax, 1);
  EXPECT_EQ(graph_.OriginX, 5);
  EXPECT_EQ(graph_.OriginZ, 0);
}

TEST_F(LoadDataFileTest, FailuresLeaveThePreviousGraph) {
  EXPECT_THROW(LoadDataFile(graph_, dir_.Path("missing.txt")), TDataFileError);
  ExpectSampleUntouched();
  EXPECT_THROW(LoadDataFile(graph_, dir_.File("ragged.txt", "1,1,1\n\n1,1\n2,2\n")),
               TDataFileError);
  ExpectSampleUntouched();
  EXPECT_THROW(LoadDataFile(graph_, dir_.File("empty.txt", "")), TDataFileError);
  ExpectSampleUntouched();
  EXPECT_THROW(LoadDataFile(graph_, dir_.Path("")), TDataFileError);  // the folder itself
  ExpectSampleUntouched();
  const auto refuse = [](const TGridData&) { throw std::runtime_error("too large to draw"); };
  EXPECT_THROW(LoadDataFile(graph_, dir_.File("good.txt", "1,1,1\n1,2,2\n"), {}, refuse),
               std::runtime_error);
  ExpectSampleUntouched();
}

TEST_F(LoadDataFileTest, MissingFileMessageNamesFileAndReason) {
  try {
    LoadDataFile(graph_, dir_.Path("missing.txt"));
  } catch (const TDataFileError& e) {
    const std::string m = e.what();
    EXPECT_NE(m.find("missing.txt\""), std::string::npos) << m;
    EXPECT_NE(m.find("No such file or directory"), std::string::npos) << m;
  }
}

TEST_F(LoadDataFileTest, PumpsWhileReadingALargeFile) {
  std::string big;
  for (int i = 0; i < 600; ++i) {
    for (int j = 0; j < 600; ++j) big += "1.000000,2.000000," + std::to_string(i - j) + "\n";
    big += "\n";
  }
  int pumps = 0;
  double most = 0;  // of the file read, as the pumps were told
  const auto start = std::chrono::steady_clock::now();
  const TGridData d = ReadDataFile(
      dir_.File("big.txt", big),
      [&](double done) {
        ++pumps;
        most = done >= 0 && done <= 1 ? std::max(most, done) : 2;
      },
      '.');
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(d.GridHighI, 599);
  EXPECT_EQ(d.ZMin, -599);
  // At most one pump per 30 ms of reading, however many lines.
  EXPECT_LE(pumps, took / std::chrono::milliseconds(30) + 1);
  EXPECT_TRUE(pumps == 0 || (most > 0 && most <= 1)) << most;
}

}  // namespace
