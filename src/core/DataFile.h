#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/ChunkedVector.h"
#include "core/Grid.h"

// A data file that could not be read or is not a grid; the text says which file and why.
class TDataFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fields that were not numbers and read as 0: how many, and the first one's line.
struct TDataFileNotes {
  int64_t NotNumbers = 0;
  int64_t FirstLine = 0;
  std::string FirstText;
};

// Builds a grid from data-file text fed in pieces of any size: lines end at LF,
// CRs are dropped, Ctrl+Z ends the text, each line is trimmed of codes <= 32, a
// blank line ends a row, a data line is x, y and the rest of the line as z.
class TDataParser {
 public:
  // Numbers take a full stop as decimal separator, and localeSeparator too.
  TDataParser(std::string name, char localeSeparator);

  void Feed(std::string_view piece);
  // The whole grid with its ranges and its origin; throws TDataFileError when the
  // text holds no point, no number at all, or rows of different lengths.
  TGridData Finish();
  bool Ended() const { return ended_; }
  const TDataFileNotes& Notes() const { return notes_; }

 private:
  void Line(std::string_view line);
  void EndRow();
  [[noreturn]] void Reject(const std::string& why) const;

  std::string name_;
  char sep_;
  bool ended_ = false;
  std::string carry_;  // a line cut by the end of a piece
  int64_t lineNumber_ = 0;
  TChunkedVector<TGridRow> rows_;     // the rows read so far
  TChunkedVector<TGridPoint> first_;  // the first row, while it is read
  TGridRow row_;                      // any later row, while it is read
  size_t width_ = 0;                  // the first row's points
  int64_t rowStartLine_ = 0;
  std::string scratch_;
  TDataFileNotes notes_;
  bool anyNumber_ = false;
  std::string firstDataLine_;  // "line N reads ..." for a file without numbers
  std::string noNumberLine_;   // the first line that holds no number at all
};

// Reads a whole data file. pump is called about every 30 ms while it reads so the
// windows stay responsive; nothing is changed when this throws. notes, when given,
// learns about fields that read as 0.
TGridData ReadDataFile(const std::string& path, const std::function<void()>& pump = {},
                       char localeSeparator = '\0', TDataFileNotes* notes = nullptr);

// The same from a descriptor already open (standard input, say), read to its end;
// name is what messages call it.
TGridData ReadDataStream(int fd, const std::string& name, const std::function<void()>& pump = {},
                         char localeSeparator = '\0', TDataFileNotes* notes = nullptr);

// Replaces the grid, its dimensions, its ranges and its origin by those of the
// file, only once the whole file has been read and found valid.
void LoadDataFile(TGridData& target, const std::string& path,
                  const std::function<void()>& pump = {});
