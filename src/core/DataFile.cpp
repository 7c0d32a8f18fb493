#include "core/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <tuple>
#include <utility>

#include "core/DataLine.h"
#include "core/DataSource.h"
#include "core/GridFinish.h"
#include "core/NpyFile.h"
#include "core/NumberField.h"
#include "core/RasterFile.h"

namespace {

constexpr char kEndOfFile = 26;  // Ctrl+Z
constexpr size_t kLongestLine = size_t(256) << 20;
// A file that has not shown a number by then is read as a comma file.
constexpr size_t kMostLinesBeforeData = 1000;
constexpr size_t kMostBytesBeforeData = 1 << 20;
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// The text before the next comma, which is removed with it; without a comma the
// field is empty and the rest stays.
std::string_view NextField(std::string_view& rest) {
  const size_t comma = rest.find(',');
  if (comma == std::string_view::npos) return {};
  std::string_view field = rest.substr(0, comma);
  rest.remove_prefix(comma + 1);
  return field;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string Points(size_t n) { return Count(n, "point", "points"); }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(a[k])) != b[k]) return false;
  return true;
}

enum class TEsriKey { Ncols, Nrows, XllCorner, XllCenter, YllCorner, YllCenter, Cellsize, Nodata };

std::optional<TEsriKey> EsriKeyOf(std::string_view word) {
  static constexpr std::pair<const char*, TEsriKey> kKeys[] = {
      {"ncols", TEsriKey::Ncols},         {"nrows", TEsriKey::Nrows},
      {"xllcorner", TEsriKey::XllCorner}, {"xllcenter", TEsriKey::XllCenter},
      {"yllcorner", TEsriKey::YllCorner}, {"yllcenter", TEsriKey::YllCenter},
      {"cellsize", TEsriKey::Cellsize},   {"nodata_value", TEsriKey::Nodata}};
  for (const auto& [name, key] : kKeys)
    if (SameWord(word, name)) return key;
  return std::nullopt;
}

// The first three words of a header line, without their quotes; none where it has
// fewer.
std::vector<std::string> ColumnNames(std::string_view header) {
  std::vector<std::string_view> words;
  for (char separator : {',', ';', ' '}) {
    SplitFields(header, separator, words);
    if (words.size() >= 3) break;
  }
  std::vector<std::string> names;
  if (header.empty() || words.size() < 3) return names;
  for (std::string_view w : {words[0], words[1], words[2]}) {
    if (w.size() >= 2 && w.front() == '"' && w.back() == '"') w = w.substr(1, w.size() - 2);
    names.emplace_back(w);
  }
  return names;
}

bool IsCountOfCells(double v) { return v >= 1 && v <= INT32_MAX && v == std::floor(v); }

}  // namespace

const char* LayoutName(TDataLayout layout) {
  switch (layout) {
    case TDataLayout::Comma:
      return "comma";
    case TDataLayout::Whitespace:
      return "whitespace";
    case TDataLayout::Semicolon:
      return "semicolon";
    case TDataLayout::Matrix:
      return "matrix";
    case TDataLayout::Esri:
      return "esri";
    case TDataLayout::Npy:
      return "npy";
    case TDataLayout::Raster:
      return "raster";
  }
  return "";
}

TDataParser::TDataParser(std::string name, char localeSeparator, TDataReading reading)
    : name_(std::move(name)), sep_(localeSeparator), reading_(reading) {
  if (reading != TDataReading::Detect) layout_ = TDataLayout::Comma;
}

void TDataParser::Feed(std::string_view piece) {
  if (ended_) return;
  if (const void* z = std::memchr(piece.data(), kEndOfFile, piece.size())) {
    piece = piece.substr(0, static_cast<const char*>(z) - piece.data());
    ended_ = true;
  }
  while (!piece.empty()) {
    const void* lf = std::memchr(piece.data(), '\n', piece.size());
    if (!lf) {
      carry_.append(piece);
      // Endless input without a line feed (a device read as a stream) ends here.
      if (carry_.size() > kLongestLine)
        Reject("line " + std::to_string(lineNumber_ + 1) + " is longer than " +
               std::to_string(kLongestLine >> 20) + " MiB: this is not a data file");
      return;
    }
    const size_t n = static_cast<const char*>(lf) - piece.data();
    if (carry_.empty()) {
      Line(piece.substr(0, n));
    } else {
      carry_.append(piece.substr(0, n));
      Line(carry_);
      carry_.clear();
    }
    piece.remove_prefix(n + 1);
  }
}

void TDataParser::Line(std::string_view line) {
  // Some editors start a UTF-8 file with a byte-order mark.
  if (++lineNumber_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  line = TrimLine(line);
  if (line.find('\r') != std::string_view::npos) {
    scratch_.clear();
    for (char c : line)
      if (c != '\r') scratch_.push_back(c);
    line = scratch_;
  }
  if (layout_)
    Data(line);
  else
    Detect(line);
}

// Lines are kept until one that is no comment and holds a number tells the layout.
void TDataParser::Detect(std::string_view line) {
  if (line.empty() || line[0] == '#' || !HoldsNumber(line, sep_)) {
    pending_.emplace_back(lineNumber_, std::string(line));
    pendingBytes_ += line.size();
    if (pending_.size() > kMostLinesBeforeData || pendingBytes_ > kMostBytesBeforeData)
      Decide(TDataLayout::Comma);
    return;
  }
  SplitFields(line, ' ', fields_);
  std::string_view rest = line;
  const std::string_view commaFields[3] = {NextField(rest), NextField(rest), rest};
  double v;
  if (EsriKeyOf(fields_[0])) {
    Decide(TDataLayout::Esri);
  } else if (!HasDecimalCommas(line) &&
             std::any_of(std::begin(commaFields), std::end(commaFields),
                         [&](std::string_view f) { return ParseNumber(f, sep_, v); })) {
    // What a comma file always was; one that starts with a header (a spreadsheet's)
    // is read as the other layouts are.
    const bool header = std::any_of(pending_.begin(), pending_.end(),
                                    [](const auto& pending) { return !pending.second.empty(); });
    if (header && reading_ == TDataReading::Detect) reading_ = TDataReading::CommaWithHeaders;
    Decide(TDataLayout::Comma);
  } else if (line.find(';') != std::string_view::npos) {
    Decide(TDataLayout::Semicolon);
  } else {
    Decide(fields_.size() >= 4 ? TDataLayout::Matrix : TDataLayout::Whitespace);
  }
  Data(line);
}

void TDataParser::Decide(TDataLayout layout) {
  layout_ = layout;
  notes_.Layout = layout;
  // Where commas do not separate the fields, a comma in a number is its decimal
  // separator, whatever the locale: files saved where that is the custom.
  if (layout != TDataLayout::Comma) sep_ = ',';
  const int64_t now = lineNumber_;
  for (const auto& [number, text] : std::exchange(pending_, {})) {
    lineNumber_ = number;
    Data(text);
  }
  lineNumber_ = now;
}

void TDataParser::Data(std::string_view line) {
  const bool asEver = layout_ == TDataLayout::Comma && reading_ != TDataReading::CommaWithHeaders;
  if (asEver) return CommaLine(line);
  if (line.empty()) {
    // Blank lines end rows of points; a matrix or an ESRI grid has a row a line.
    if (layout_ != TDataLayout::Matrix && layout_ != TDataLayout::Esri) EndRow();
    return;
  }
  if (SkipCommentOrHeader(line)) return;
  switch (*layout_) {
    case TDataLayout::Comma:
      return CommaLine(line);
    case TDataLayout::Whitespace:
      return FieldLine(line, ' ');
    case TDataLayout::Semicolon:
      return FieldLine(line, ';');
    case TDataLayout::Matrix:
      return MatrixLine(line);
    case TDataLayout::Esri:
      return EsriLine(line);
    case TDataLayout::Npy:
    case TDataLayout::Raster:
      return;  // told by the first bytes, never by a line
  }
}

bool TDataParser::SkipCommentOrHeader(std::string_view line) {
  if (line[0] == '#') return true;
  if (foundData_) return false;
  if (!HoldsNumber(line, sep_)) {
    header_ = line;
    return true;
  }
  foundData_ = true;
  return false;
}

void TDataParser::CommaLine(std::string_view line) {
  if (line.empty()) {
    EndRow();
    return;
  }
  // What a reading with headers would skip.
  if (line[0] == '#') {
    skippable_ = true;
  } else if (!foundData_) {
    foundData_ = HoldsNumber(line, sep_);
    skippable_ |= !foundData_;
  }
  const std::string_view whole = line;
  const std::string_view fields[3] = {NextField(line), NextField(line), line};
  double v[3];
  int numbers = 0;
  for (int k = 0; k < 3; ++k) numbers += ParseNumber(fields[k], sep_, v[k]);
  anyNumber_ |= numbers > 0;
  const bool withHeaders = reading_ == TDataReading::CommaWithHeaders;
  if (numbers < 3 && IsMissingText(TrimLine(fields[2]), withHeaders)) {
    v[2] = kMissing;
    ++numbers;
  }
  if (numbers < 3) {
    if (notes_.NotNumbers == 0) {
      notes_.FirstLine = lineNumber_;
      notes_.FirstText = Excerpt(whole);
    }
    notes_.NotNumbers += 3 - numbers;
  }
  if (firstDataLine_.empty())
    firstDataLine_ = "line " + std::to_string(lineNumber_) + " reads " + Excerpt(whole);
  if (numbers == 0 && noNumberLine_.empty())
    noNumberLine_ = LineAt(lineNumber_, whole) + " holds no numbers; ";
  AddPoint(TGridPoint{v[0], v[1], v[2]});
}

std::string TDataParser::Expectation() const {
  switch (*layout_) {
    case TDataLayout::Whitespace:
      return "every line of this x y z file holds 3";
    case TDataLayout::Semicolon:
      return "every line of this x;y;z file holds 3";
    case TDataLayout::Matrix:
      return "every line of this matrix of heights holds " + std::to_string(width_);
    default:
      return "every line of this ESRI grid holds its ncols, " + ShortestText(ncols_.value_or(0));
  }
}

void TDataParser::CheckFieldCount(std::string_view line, size_t expected) {
  if (fields_.size() != expected)
    Reject(LineAt(lineNumber_, line) + " holds " + Count(fields_.size(), "number", "numbers") +
           "; " + Expectation());
}

double TDataParser::Coordinate(std::string_view field, std::string_view line) {
  double v;
  if (!ParseNumber(field, sep_, v))
    Reject(LineAt(lineNumber_, line) + " holds " + Excerpt(field) +
           ", which is not a number; every x and y of this file is a number");
  return v;
}

double TDataParser::Height(std::string_view field, std::string_view line, bool others) {
  double v;
  if (ParseNumber(field, sep_, v)) return v;
  if (IsMissingText(field, others)) return kMissing;
  Reject(LineAt(lineNumber_, line) + " holds " + Excerpt(field) +
         ", which is not a number; every height of this file is a number, or " +
         (others ? "nan, - or ?" : "nan") + " where it is missing");
}

void TDataParser::FieldLine(std::string_view line, char separator) {
  SplitFields(line, separator, fields_);
  if (separator == ';' && fields_.size() == 4 && fields_[3].empty()) fields_.pop_back();
  CheckFieldCount(line, 3);
  AddPoint(TGridPoint{Coordinate(fields_[0], line), Coordinate(fields_[1], line),
                      Height(fields_[2], line, true)});
}

void TDataParser::MatrixLine(std::string_view line) {
  SplitFields(line, ' ', fields_);
  if (!rows_.empty()) CheckFieldCount(line, width_);
  TGridRow row(fields_.size());
  const double y = double(rows_.size());
  for (size_t m = 0; m < fields_.size(); ++m)
    row[m] = TGridPoint{double(m), y, Height(fields_[m], line, true)};
  AddRow(std::move(row));
}

void TDataParser::EsriLine(std::string_view line) {
  if (esriData_) return EsriData(line);
  SplitFields(line, ' ', fields_);
  if (const auto key = EsriKeyOf(fields_[0])) {
    double v;
    if (fields_.size() != 2 || !ParseNumber(fields_[1], sep_, v))
      Reject(LineAt(lineNumber_, line) + " is no key and number, such as \"ncols 100\"");
    std::optional<double>* const slots[] = {&ncols_, &nrows_, &xll_,      &xll_,
                                            &yll_,   &yll_,   &cellsize_, &nodata_};
    *slots[int(*key)] = v;
    if (*key == TEsriKey::XllCorner || *key == TEsriKey::XllCenter)
      xCorner_ = *key == TEsriKey::XllCorner;
    if (*key == TEsriKey::YllCorner || *key == TEsriKey::YllCenter)
      yCorner_ = *key == TEsriKey::YllCorner;
    return;
  }
  const std::pair<const std::optional<double>*, const char*> needed[] = {
      {&ncols_, "ncols"},
      {&nrows_, "nrows"},
      {&xll_, "xllcorner or xllcenter"},
      {&yll_, "yllcorner or yllcenter"},
      {&cellsize_, "cellsize"}};
  for (const auto& [value, what] : needed)
    if (!*value)
      Reject("the ESRI grid header before " + LineAt(lineNumber_, line) + " has no " + what);
  if (!IsCountOfCells(*ncols_) || !IsCountOfCells(*nrows_) || !(*cellsize_ > 0) ||
      !std::isfinite(*cellsize_))
    Reject("the ESRI grid header before " + LineAt(lineNumber_, line) +
           " needs whole numbers of columns and rows and a cell size above 0");
  esriData_ = true;
  width_ = size_t(*ncols_);
  EsriData(line);
}

void TDataParser::EsriData(std::string_view line) {
  SplitFields(line, ' ', fields_);
  CheckFieldCount(line, width_);
  const double rows = *nrows_, cell = *cellsize_;
  const size_t k = rows_.size();
  if (double(k) >= rows)
    Reject(LineAt(lineNumber_, line) + " follows the last of the " + ShortestText(rows) +
           " rows that the ESRI grid header announces (nrows)");
  const double x0 = *xll_ + (xCorner_ ? cell / 2 : 0);
  const double y = *yll_ + (rows - 1 - double(k)) * cell + (yCorner_ ? cell / 2 : 0);
  TGridRow row(fields_.size());
  for (size_t m = 0; m < fields_.size(); ++m) {
    double z = Height(fields_[m], line, false);
    if (nodata_ && z == *nodata_) z = kMissing;
    row[m] = TGridPoint{x0 + double(m) * cell, y, z};
  }
  AddRow(std::move(row));
}

void TDataParser::CountPoints(size_t n) {
  points_ += int64_t(n);
  // Not a refusal of this reading: no other reading makes the grid smaller.
  if (points_ > mostPoints_) RefuseDataFile(name_, kTooLargeForMemory);
}

void TDataParser::AddPoint(const TGridPoint& p) {
  CountPoints(1);
  notes_.Holes += IsHole(p);
  if (rows_.empty()) {
    if (first_.empty()) rowStartLine_ = lineNumber_;
    if (RowsByCoordinates()) TrackRun(p);
    first_.push_back(p);
  } else {
    if (row_.empty()) rowStartLine_ = lineNumber_;
    row_.push_back(p);
  }
}

void TDataParser::AddRow(TGridRow row) {
  CountPoints(row.size());
  for (const TGridPoint& p : row) notes_.Holes += IsHole(p);
  if (rows_.empty()) width_ = row.size();
  rows_.push_back(std::move(row));
  foundData_ = true;
}

// While the first block is read, where its runs of one x (or one y) end.
void TDataParser::TrackRun(const TGridPoint& p) {
  if (first_.empty()) {
    firstPoint_ = p;
    runLength_ = 1;
    runStartLine_ = lineNumber_;
    return;
  }
  if (keyColumn_ < 0) {
    // x keeps its value along a row, or else y does; where neither does, each point
    // is a row of its own.
    keyColumn_ = p.X != firstPoint_.X && p.Y == firstPoint_.Y ? 1 : 0;
    runKey_ = keyColumn_ == 0 ? firstPoint_.X : firstPoint_.Y;
  }
  const double key = keyColumn_ == 0 ? p.X : p.Y;
  if (key == runKey_) {
    ++runLength_;
    return;
  }
  CloseRun();
  runKey_ = key;
  runLength_ = 1;
  runStartLine_ = lineNumber_;
}

void TDataParser::CloseRun() {
  if (runCount_++ == 0) {
    runWidth_ = runLength_;
  } else if (runLength_ != runWidth_ && runMismatch_.empty()) {
    runMismatch_ = "row " + std::to_string(runCount_) + " (from line " +
                   std::to_string(runStartLine_) + ") has " + Points(runLength_) +
                   ", but row 1 has " + Points(runWidth_) +
                   "; without blank lines, a row is a run of points with the same " +
                   (keyColumn_ == 1 ? "y" : "x") +
                   ", and every row of a grid must have the same number of points";
  }
}

void TDataParser::EndRow() {
  // A run of blank lines is one row break.
  if (rows_.empty()) {
    if (first_.empty()) return;
    width_ = first_.size();
    rows_.push_back(first_.Take());
  } else {
    if (row_.empty()) return;
    if (row_.size() != width_)
      Reject(noNumberLine_ + "row " + std::to_string(rows_.size() + 1) + " (from line " +
             std::to_string(rowStartLine_) + ") has " + Points(row_.size()) + ", but row 1 has " +
             Points(width_) + "; every row of a grid must have the same number of points");
    rows_.push_back(std::move(row_));
  }
  row_ = TGridRow();
  row_.reserve(width_);
}

// A file without blank lines: its rows are the runs of one x (or one y).
void TDataParser::SplitByCoordinates() {
  CloseRun();
  if (!runMismatch_.empty()) Reject(runMismatch_);
  width_ = runWidth_;
  TGridRow row;
  first_.Drain([&](TGridPoint&& p) {
    if (row.empty()) row.reserve(width_);
    row.push_back(p);
    if (row.size() == width_) rows_.push_back(std::exchange(row, TGridRow()));
  });
}

void TDataParser::Reject(const std::string& why) {
  refused_ = true;
  RefuseDataFile(name_, why);
}

bool TDataParser::RowsByCoordinates() const {
  return layout_ != TDataLayout::Comma || reading_ == TDataReading::CommaWithHeaders;
}

std::optional<TDataReading> TDataParser::Retry() const {
  // A refusal before the layout was known (a line too long) stands for any reading.
  if (!refused_ || !layout_ || reading_ != TDataReading::Detect) return std::nullopt;
  if (layout_ != TDataLayout::Comma) return TDataReading::CommaAsEver;
  if (skippable_) return TDataReading::CommaWithHeaders;
  return std::nullopt;
}

TGridData TDataParser::Finish() {
  if (!carry_.empty()) {
    Line(carry_);
    carry_.clear();
  }
  if (!layout_) Decide(TDataLayout::Comma);
  const bool byCoordinates = RowsByCoordinates();
  if (byCoordinates && rows_.empty() && !first_.empty())
    SplitByCoordinates();
  else
    EndRow();
  if (rows_.empty()) Reject("it holds no data points");
  if (layout_ == TDataLayout::Comma && !byCoordinates && !anyNumber_)
    Reject("none of its lines holds numbers separated by commas (x,y,z); " + firstDataLine_);
  if (layout_ == TDataLayout::Esri && double(rows_.size()) < *nrows_)
    Reject("it ends after " + std::to_string(rows_.size()) + " of the " + ShortestText(*nrows_) +
           " rows that its ESRI grid header announces (nrows)");
  if (layout_ != TDataLayout::Matrix && layout_ != TDataLayout::Esri)
    notes_.ColumnNames = ColumnNames(header_);
  refused_ = true;  // a refusal of the grid is one of this reading, as Reject's are
  TGridData d = FinishGrid(rows_.Take(), name_);
  refused_ = false;
  d.ColumnNames = notes_.ColumnNames;
  return d;
}

namespace {

TGridData Pass(TDataSource& in, TDataParser& parser, const TReadPump& pump, TDataFileNotes* notes) {
  // Not cleared first: only what is read into it is ever touched.
  constexpr size_t kPiece = 1 << 16;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
  auto lastPump = std::chrono::steady_clock::now();
  while (!parser.Ended()) {
    const size_t n = in.Read(buffer.get(), kPiece);
    if (n == 0) break;
    parser.Feed(std::string_view(buffer.get(), n));
    if (pump && std::chrono::steady_clock::now() - lastPump >= std::chrono::milliseconds(30)) {
      pump(in.Fraction());
      lastPump = std::chrono::steady_clock::now();
    }
  }
  TGridData data = parser.Finish();
  if (notes) *notes = parser.Notes();
  return data;
}

// The layout the file shows; where that refuses it, the reading that may still take
// it, from the start again.
TGridData Parse(TDataSource& in, const std::string& name, const TReadPump& pump,
                char localeSeparator, TDataFileNotes* notes, int64_t mostPoints) {
  std::optional<TDataReading> retry;
  std::string refusal;
  {
    TDataParser parser(name, localeSeparator);
    parser.SetMostPoints(mostPoints);
    try {
      return Pass(in, parser, pump, notes);
    } catch (const TDataFileError& e) {
      retry = parser.Retry();
      if (!retry) throw;
      refusal = e.what();
    }
  }
  if (!in.Rewind()) throw TDataFileError(refusal);
  TDataParser parser(name, localeSeparator, *retry);
  parser.SetMostPoints(mostPoints);
  try {
    return Pass(in, parser, pump, notes);
  } catch (const TDataFileError&) {
    // A header skipped, the second reading knows better where the file goes wrong.
    if (*retry == TDataReading::CommaWithHeaders && parser.FoundData()) throw;
    throw TDataFileError(refusal);
  }
}

// A binary layout told by the first bytes, else the text layouts; path: the file's,
// which the raster library opens itself (none: a stream, which it cannot).
TGridData ReadSource(std::unique_ptr<TDataSource>& in, const std::string* path,
                     const std::string& name, const TReadPump& pump, char localeSeparator,
                     TDataFileNotes* notes, int64_t mostPoints, const TRasterChoice& choice) {
  const std::string head = Peek(in, 8);
  if (IsNpy(head)) return ReadNpy(*in, name, pump, mostPoints, notes);
  if (IsRasterHead(head)) {
    if (!ReadsRasters() || path)
      return ReadRaster(path ? *path : name, choice, pump, mostPoints, notes);
    RefuseDataFile(name, "a raster is read from a file of its own, not from a stream");
  }
  try {
    return Parse(*in, name, pump, localeSeparator, notes, mostPoints);
  } catch (const TDataFileError&) {
    if (!path || !IsOtherRaster(*path)) throw;
  }
  return ReadRaster(*path, choice, pump, mostPoints, notes);
}

TGridData Guarded(const std::function<TGridData()>& read, const std::string& name) {
  try {
    return read();
  } catch (const std::bad_alloc&) {
    RefuseDataFile(name, kTooLargeForMemory);
  }
}

// A descriptor's data read to its end; path: the file's, where it is one.
TGridData ReadDescriptor(int fd, const std::string* path, const std::string& name,
                         const TReadPump& pump, char localeSeparator, TDataFileNotes* notes,
                         int64_t mostPoints, const TRasterChoice& choice) {
  if (localeSeparator == '\0') localeSeparator = LocaleDecimalSeparator();
  return Guarded(
      [&] {
        auto in = OpenDataSource(fd, name);
        return ReadSource(in, path, name, pump, localeSeparator, notes, mostPoints, choice);
      },
      name);
}

}  // namespace

TGridData ReadDataText(std::string_view text, const std::string& name, char localeSeparator,
                       TDataFileNotes* notes) {
  return Guarded(
      [&] {
        auto in = TextDataSource(text, name);
        return ReadSource(in, nullptr, name, {}, localeSeparator, notes, INT64_MAX, {});
      },
      name);
}

TGridData ReadDataFile(const std::string& path, const TReadPump& pump, char localeSeparator,
                       TDataFileNotes* notes, int64_t mostPoints, const TRasterChoice& choice) {
  // Not blocking on a FIFO and never reading a device for ever: regular files only.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    throw TDataFileError("Cannot open " + Quoted(path) + ": " + std::strerror(errno) + ".");
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    RefuseDataFile(path, "it is not a regular file");
  return ReadDescriptor(fd, &path, path, pump, localeSeparator, notes, mostPoints, choice);
}

TGridData ReadDataStream(int fd, const std::string& name, const TReadPump& pump,
                         char localeSeparator, TDataFileNotes* notes, int64_t mostPoints) {
  return ReadDescriptor(fd, nullptr, name, pump, localeSeparator, notes, mostPoints, {});
}

void LoadDataFile(TGridData& target, const std::string& path, const TReadPump& pump,
                  const std::function<void(const TGridData&)>& accept, TDataFileNotes* notes,
                  int64_t mostPoints, const TRasterChoice& choice) {
  TGridData data = ReadDataFile(path, pump, '\0', notes, mostPoints, choice);
  if (accept) accept(data);
  target = std::move(data);
}
