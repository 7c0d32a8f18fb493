#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/Grid.h"

// A data file that could not be read or is not a grid; the text says which file and why.
class TDataFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Builds a grid from data-file text fed in pieces of any size: lines end at LF,
// CRs are dropped, Ctrl+Z ends the text, each line is trimmed of codes <= 32, a
// blank line ends a row, a data line is x, y and the rest of the line as z.
class TDataParser {
 public:
  TDataParser(std::string name, char decimalSeparator);

  void Feed(std::string_view piece);
  // The whole grid with its ranges and its origin; throws TDataFileError when
  // the text holds no point or rows of different lengths.
  TGridData Finish();
  bool Ended() const { return ended_; }

 private:
  void Line(std::string_view line);
  void EndRow();
  [[noreturn]] void Reject(const std::string& why) const;

  std::string name_;
  char sep_;
  bool ended_ = false;
  std::string carry_;  // a line cut by the end of a piece
  int64_t lineNumber_ = 0;
  TGrid grid_;
  TGridRow row_;
  int64_t rowStartLine_ = 0;
  std::string scratch_;
};

// Reads a whole data file. pump is called about every 30 ms while it reads so the
// windows stay responsive; nothing is changed when this throws.
TGridData ReadDataFile(const std::string& path, const std::function<void()>& pump = {},
                       char decimalSeparator = '\0');

// Replaces the grid, its dimensions, its ranges and its origin by those of the
// file, only once the whole file has been read and found valid.
void LoadDataFile(TGridData& target, const std::string& path,
                  const std::function<void()>& pump = {});
