#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

#include "core/DataFile.h"
#include "core/SampleSurface.h"
#include "core/SettingsFile.h"
#include "core/TempFiles.h"

namespace {

// Writes n x n points quickly, without holding the text in memory.
void WriteGrid(const std::string& path, int n) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::vector<char> buffer(1 << 20);
  std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) std::fprintf(f, "%d,%d,%d.%03d\n", i, j, (i * j) % 97, j % 1000);
    std::fputc('\n', f);
  }
  std::fclose(f);
}

class HostileFileTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeSampleData(graph_); }
  // Loads and returns the error text, or "" when the file was taken.
  std::string Load(const std::string& path, const TReadPump& pump = {},
                   int64_t mostPoints = INT64_MAX) {
    const int32_t highI = graph_.GridHighI, highJ = graph_.GridHighJ;
    const size_t rows = graph_.Grid.size();
    const double zMax = graph_.ZMax;
    try {
      LoadDataFile(graph_, path, pump, {}, nullptr, mostPoints);
      EXPECT_TRUE(GridInvariantsHold(graph_)) << path;
      return "";
    } catch (const TDataFileError& e) {
      EXPECT_EQ(graph_.GridHighI, highI) << "the previous graph is gone: " << path;
      EXPECT_EQ(graph_.GridHighJ, highJ);
      EXPECT_EQ(graph_.Grid.size(), rows);
      EXPECT_EQ(graph_.ZMax, zMax);
      EXPECT_TRUE(GridInvariantsHold(graph_));
      return e.what();
    }
  }
  TTempDir dir_;
  TGridData graph_;
};

// A small gzip file that inflates to more points than the memory left holds is
// refused once one point too many is read, not read to its end.
TEST_F(HostileFileTest, AGridBeyondTheMemoryLeftIsRefusedAsItIsRead) {
  const std::string bomb = dir_.Path("bomb.txt.gz");
  std::string lines;
  for (int k = 0; k < 4096; ++k) lines += "0,0,0\n";
  gzFile gz = gzopen(bomb.c_str(), "wb9");
  for (int k = 0; k < 1000; ++k) gzwrite(gz, lines.data(), unsigned(lines.size()));
  gzclose(gz);
  const std::string small = dir_.File("small.txt", "0 0 1\n0 1 2\n\n1 0 3\n1 1 4\n");
  for (const auto& [path, most] : {std::pair{bomb, 100000}, {small, 4}, {small, 3}})
    EXPECT_EQ(Load(path, {}, most),
              most == 4
                  ? ""
                  : "The data file \"" + path +
                        "\" cannot be shown: the grid is too large for the memory available.");
}

TEST_F(HostileFileTest, AHundredMegabyteLineWithoutALineFeed) {
  const std::string path = dir_.Path("long.txt");
  {
    std::ofstream out(path, std::ios::binary);
    const std::string chunk(1 << 20, '7');
    for (int k = 0; k < 100; ++k) out << chunk;
  }
  EXPECT_EQ(Load(path), "");  // one field of digits: x = y = 0, z the whole number
  EXPECT_EQ(graph_.GridHighI, 0);
  EXPECT_EQ(graph_.GridHighJ, 0);
  EXPECT_EQ(graph_.Grid[0][0].X, 0);
}

TEST_F(HostileFileTest, FilesWithoutPointsAreRefusedClearly) {
  EXPECT_NE(
      Load(dir_.File("blank.txt", std::string(10000, '\n') + "  \t\r\n")).find("no data points"),
      std::string::npos);
  EXPECT_NE(Load(dir_.File("ctrlz.txt", std::string(5000, '\x1A'))).find("no data points"),
            std::string::npos);
  EXPECT_NE(Load(dir_.File("empty.txt", "")).find("no data points"), std::string::npos);
}

TEST_F(HostileFileTest, BinaryFilesGiveAGridOrAMessage) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(1 + rng() % 200000, '\0');
    for (char& c : bytes) c = char(rng());
    if (round % 2) bytes.erase(std::remove(bytes.begin(), bytes.end(), '\x1A'), bytes.end());
    Load(dir_.File("binary.bin", bytes));
  }
}

TEST_F(HostileFileTest, AFileDeletedWhileItLoadsStillLoadsWhole) {
  const std::string path = dir_.Path("deleted.txt");
  WriteGrid(path, 1500);
  int pumps = 0;
  EXPECT_EQ(Load(path,
                 [&](double) {
                   if (pumps++ == 0) std::filesystem::remove(path);
                 }),
            "");
  EXPECT_EQ(graph_.GridHighI, 1499);
  EXPECT_EQ(graph_.GridHighJ, 1499);
}

TEST_F(HostileFileTest, AFileCutShortWhileItLoadsGivesAGridOrAMessage) {
  const std::string path = dir_.Path("cut.txt");
  WriteGrid(path, 1500);
  const auto size = std::filesystem::file_size(path);
  int pumps = 0;
  const std::string error = Load(path, [&](double) {
    if (pumps++ == 0) std::filesystem::resize_file(path, size / 2 + 7);
  });
  if (error.empty()) {
    EXPECT_LT(graph_.GridHighI, 1499);
  }
}

TEST_F(HostileFileTest, TenMillionPointsLoadWhileTheWindowsAreServed) {
  const std::string path = dir_.Path("huge.txt");
  WriteGrid(path, 3163);  // 10 004 569 points
  int pumps = 0;
  EXPECT_EQ(Load(path, [&](double) { ++pumps; }), "");
  EXPECT_EQ(graph_.GridHighI, 3162);
  EXPECT_EQ(graph_.GridHighJ, 3162);
  EXPECT_GT(pumps, 0);
}

// Special files are refused at once: never waited on (a FIFO without a writer) and
// never read for ever (a device).
TEST_F(HostileFileTest, OnlyRegularFilesAreRead) {
  ASSERT_EQ(mkfifo(dir_.Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir_.Path("folder"));
  std::filesystem::create_symlink("/dev/zero", dir_.Path("zero-link"));
  const std::string good = dir_.File("good.txt", "1,2,3\n");
  std::filesystem::create_symlink(good, dir_.Path("good-link"));
  for (const std::string& path :
       {dir_.Path("fifo"), std::string("/dev/zero"), dir_.Path("folder"), dir_.Path("zero-link")}) {
    EXPECT_NE(Load(path).find("is not a regular file"), std::string::npos) << path;
    const TSettingsFile ini(path);
    EXPECT_NE(ini.Problem().find("is not a regular file"), std::string::npos) << path;
    EXPECT_EQ(ini.ReadInteger("Form", "Top", 7), 7);
  }
  EXPECT_EQ(Load(dir_.Path("good-link")), "");
}

TEST_F(HostileFileTest, RangesBeyondWhatADoubleHoldsAreRefused) {
  EXPECT_NE(Load(dir_.File("huge.txt", "0,0,-1e308\n0,1,1e308\n"))
                .find("its z values span more than a number can hold (-1e+308 to 1e+308)"),
            std::string::npos);
}

}  // namespace
