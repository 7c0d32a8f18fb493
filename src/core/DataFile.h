#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/ChunkedVector.h"
#include "core/Grid.h"

// A data file that could not be read or is not a grid; the text says which file and why.
class TDataFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How a file lays out its grid.
enum class TDataLayout {
  Comma,       // x,y,z lines, rows between blank lines
  Whitespace,  // x y z, separated by spaces or tabs
  Semicolon,   // x;y;z
  Matrix,      // a line of heights per row: the point (m, k) is the m-th number of line k
  Esri,        // an ESRI ASCII grid: a header, then a line of heights per row
  Npy,         // a NumPy .npy array
  Raster,      // a raster read through GDAL
};

// "comma", "whitespace", ...: the word kesto-render's --info shows.
const char* LayoutName(TDataLayout layout);

// What was learned about a file besides its grid. NotNumbers and its line: fields of
// a comma file that were not numbers and read as 0.
struct TDataFileNotes {
  int64_t NotNumbers = 0;
  int64_t FirstLine = 0;
  std::string FirstText;
  TDataLayout Layout = TDataLayout::Comma;
  std::vector<std::string> ColumnNames;  // the three words of a header line, if any
  int64_t Holes = 0;
  // A raster's: the library's driver, its coordinate reference system's name and the
  // band or variable read ("band 2", "temperature, slice 0").
  std::string Driver, Crs, Part;
};

// Which raster of a file: a variable of a NetCDF or HDF5 file (none: the file's only
// one) and a band, which for a variable of more dimensions is a slice (0: the first).
struct TRasterChoice {
  std::string Variable;
  int Band = 0;
  bool operator==(const TRasterChoice&) const = default;
};

// How a parser reads: the layout told by the file itself, or one of the two ways a
// comma file can be read.
enum class TDataReading {
  Detect,
  CommaAsEver,       // every line a point, a field that is not a number reading as 0
  CommaWithHeaders,  // the same, but comments and the header lines before the data skipped
};

// Builds a grid from data-file text fed in pieces of any size: lines end at LF, CRs
// are dropped, Ctrl+Z ends the text, a byte-order mark at the start is dropped. The
// layout is told by the first line that holds a number: a comma file is read line by
// line as it always was (a data line is x, y and the rest of the line as z, a blank
// line ends a row); the other layouts skip comments (#) and the header lines before
// the data, and refuse what is not a number.
class TDataParser {
 public:
  // Numbers take a full stop as decimal separator, and localeSeparator too.
  TDataParser(std::string name, char localeSeparator, TDataReading reading = TDataReading::Detect);

  void Feed(std::string_view piece);
  // The whole grid with its ranges and its origin; throws TDataFileError when the
  // text is not a grid in its layout.
  TGridData Finish();
  bool Ended() const { return ended_; }
  const TDataFileNotes& Notes() const { return notes_; }
  // After a refusal: the other reading that takes a file the detected one refused
  // whenever it can, so that a comma file reads as it always did and one with a
  // header reads without it.
  std::optional<TDataReading> Retry() const;
  // After a refusal: whether the text held data in the reading's own layout.
  bool FoundData() const { return foundData_; }
  // A grid of more points is refused as too large for the memory available, as soon
  // as the point past the last is read.
  void SetMostPoints(int64_t most) { mostPoints_ = most; }

 private:
  void Line(std::string_view line);
  void Detect(std::string_view line);
  void Decide(TDataLayout layout);
  void Data(std::string_view line);
  bool SkipCommentOrHeader(std::string_view line);
  void CommaLine(std::string_view line);
  void FieldLine(std::string_view line, char separator);
  void MatrixLine(std::string_view line);
  void EsriLine(std::string_view line);
  void EsriData(std::string_view line);
  double Height(std::string_view field, std::string_view line, bool others);
  double Coordinate(std::string_view field, std::string_view line);
  void CheckFieldCount(std::string_view line, size_t expected);
  void CountPoints(size_t n);
  void AddPoint(const TGridPoint& p);
  void AddRow(TGridRow row);
  void TrackRun(const TGridPoint& p);
  void CloseRun();
  void EndRow();
  void SplitByCoordinates();
  bool RowsByCoordinates() const;
  std::string Expectation() const;
  [[noreturn]] void Reject(const std::string& why);

  std::string name_;
  char sep_;
  TDataReading reading_;
  std::optional<TDataLayout> layout_;
  bool ended_ = false;
  bool refused_ = false;
  bool foundData_ = false;
  std::string carry_;  // a line cut by the end of a piece
  int64_t lineNumber_ = 0;
  int64_t points_ = 0, mostPoints_ = INT64_MAX;

  // Lines before the one that tells the layout, kept to be read once it is known.
  std::vector<std::pair<int64_t, std::string>> pending_;
  size_t pendingBytes_ = 0;
  bool skippable_ = false;  // a comment or header line that a comma file read as a point
  std::string header_;      // the last header line

  TChunkedVector<TGridRow> rows_;     // the rows read so far
  TChunkedVector<TGridPoint> first_;  // the first row, while it is read
  TGridRow row_;                      // any later row, while it is read
  size_t width_ = 0;                  // the first row's points
  int64_t rowStartLine_ = 0;
  std::vector<std::string_view> fields_;
  std::string scratch_;
  TDataFileNotes notes_;

  // Rows told by a coordinate that keeps its value, for files without blank lines.
  TGridPoint firstPoint_;
  int keyColumn_ = -1;
  double runKey_ = 0;
  size_t runLength_ = 0, runCount_ = 0, runWidth_ = 0;
  int64_t runStartLine_ = 0;
  std::string runMismatch_;

  // ESRI grid header.
  std::optional<double> ncols_, nrows_, xll_, yll_, cellsize_, nodata_;
  bool xCorner_ = false, yCorner_ = false, esriData_ = false;

  // A comma file's first refusals say why.
  bool anyNumber_ = false;
  std::string firstDataLine_;  // "line N reads ..." for a file without numbers
  std::string noNumberLine_;   // the first line that holds no number at all
};

// The grid of text in memory, read as a file would be (name: what messages call it).
TGridData ReadDataText(std::string_view text, const std::string& name, char localeSeparator,
                       TDataFileNotes* notes = nullptr);

// Called about every 30 ms while a file is read, with how much of it is read, 0 to 1:
// a reader on a thread of its own may be told to stop there (by throwing).
using TReadPump = std::function<void(double done)>;

// Reads a whole data file, with pump called as it goes; nothing is changed when this throws. notes,
// when given, learns the layout, the holes and the fields that read as 0. A grid of more than
// mostPoints points is refused once that many are read: what a small compressed file
// may inflate to is no limit.
// A binary file is told by its first bytes: a .npy array (gzip-compressed too) or a
// raster of a format GDAL reads, of which choice says which; a file the text layouts
// refuse is still read where GDAL takes it for a raster.
TGridData ReadDataFile(const std::string& path, const TReadPump& pump = {},
                       char localeSeparator = '\0', TDataFileNotes* notes = nullptr,
                       int64_t mostPoints = INT64_MAX, const TRasterChoice& choice = {});

// The same from a descriptor already open (standard input, say), read to its end;
// name is what messages call it.
TGridData ReadDataStream(int fd, const std::string& name, const TReadPump& pump = {},
                         char localeSeparator = '\0', TDataFileNotes* notes = nullptr,
                         int64_t mostPoints = INT64_MAX);

// Replaces the grid, its dimensions, its ranges and its origin by those of the
// file, only once the whole file has been read and found valid and accept, given the
// new grid, has not thrown.
void LoadDataFile(TGridData& target, const std::string& path, const TReadPump& pump = {},
                  const std::function<void(const TGridData&)>& accept = {},
                  TDataFileNotes* notes = nullptr, int64_t mostPoints = INT64_MAX,
                  const TRasterChoice& choice = {});
