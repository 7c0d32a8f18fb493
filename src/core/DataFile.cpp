#include "core/DataFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/NumberField.h"

namespace {

constexpr char kEndOfFile = 26;  // Ctrl+Z

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The text before the next comma, which is removed with it; without a comma the
// field is empty and the rest stays.
std::string_view NextField(std::string_view& rest) {
  const size_t comma = rest.find(',');
  if (comma == std::string_view::npos) return {};
  std::string_view field = rest.substr(0, comma);
  rest.remove_prefix(comma + 1);
  return field;
}

double ClampOrigin(double min, double max) {
  double origin = 0.0;
  if (min > origin) origin = min;
  if (max < origin) origin = max;
  return origin;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// A line of the file as a message quotes it: control characters shown as "?", and
// cut short when long.
std::string Excerpt(std::string_view line) {
  constexpr size_t kLongest = 60;
  std::string text(line.substr(0, kLongest));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  if (line.size() > kLongest) text += "...";
  return "\"" + text + "\"";
}

std::string Points(size_t n) { return std::to_string(n) + (n == 1 ? " point" : " points"); }

}  // namespace

TDataParser::TDataParser(std::string name, char decimalSeparator)
    : name_(std::move(name)), sep_(decimalSeparator) {}

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
  ++lineNumber_;
  line = Trim(line);
  if (line.empty()) {
    EndRow();
    return;
  }
  if (line.find('\r') != std::string_view::npos) {
    scratch_.clear();
    for (char c : line)
      if (c != '\r') scratch_.push_back(c);
    line = scratch_;
  }
  const std::string_view whole = line;
  const std::string_view fields[3] = {NextField(line), NextField(line), line};
  double v[3];
  int numbers = 0;
  for (int k = 0; k < 3; ++k) numbers += ParseNumber(fields[k], sep_, v[k]);
  if (numbers < 3) {
    if (notes_.NotNumbers == 0) {
      notes_.FirstLine = lineNumber_;
      notes_.FirstText = Excerpt(whole);
    }
    notes_.NotNumbers += 3 - numbers;
  }
  anyNumber_ |= numbers > 0;
  if (firstDataLine_.empty())
    firstDataLine_ = "line " + std::to_string(lineNumber_) + " reads " + Excerpt(whole);
  if (numbers == 0 && noNumberLine_.empty())
    noNumberLine_ =
        "line " + std::to_string(lineNumber_) + " " + Excerpt(whole) + " holds no numbers; ";
  if (row_.empty()) rowStartLine_ = lineNumber_;
  row_.push_back(TGridPoint{v[0], v[1], v[2]});
}

void TDataParser::EndRow() {
  if (row_.empty()) return;  // a run of blank lines is one row break
  if (grid_.empty()) {
    row_.shrink_to_fit();
  } else if (row_.size() != grid_[0].size()) {
    Reject(noNumberLine_ + "row " + std::to_string(grid_.size() + 1) + " (from line " +
           std::to_string(rowStartLine_) + ") has " + Points(row_.size()) + ", but row 1 has " +
           Points(grid_[0].size()) + "; every row of a grid must have the same number of points");
  }
  grid_.push_back(std::move(row_));
  row_ = TGridRow();
  row_.reserve(grid_[0].size());
}

void TDataParser::Reject(const std::string& why) const {
  throw TDataFileError("The data file " + Quoted(name_) + " cannot be shown: " + why + ".");
}

TGridData TDataParser::Finish() {
  if (!carry_.empty()) {
    Line(carry_);
    carry_.clear();
  }
  EndRow();
  if (grid_.empty()) Reject("it holds no data points");
  if (!anyNumber_)
    Reject("none of its lines holds numbers separated by commas (x,y,z); " + firstDataLine_);
  if (grid_.size() > INT32_MAX || grid_[0].size() > INT32_MAX) Reject("it is too large");
  TGridData d;
  d.GridHighI = static_cast<int32_t>(grid_.size() - 1);
  d.GridHighJ = static_cast<int32_t>(grid_[0].size() - 1);
  d.Grid = std::move(grid_);
  ApplyRanges(d, ComputeRanges(d.Grid, d.GridHighI, d.GridHighJ));
  d.OriginX = ClampOrigin(d.XMin, d.XMax);
  d.OriginY = ClampOrigin(d.YMin, d.YMax);
  d.OriginZ = ClampOrigin(d.ZMin, d.ZMax);
  return d;
}

TGridData ReadDataFile(const std::string& path, const std::function<void()>& pump,
                       char localeSeparator, TDataFileNotes* notes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    throw TDataFileError("Cannot open " + Quoted(path) + ": " + std::strerror(errno) + ".");
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  return ReadDataStream(fd, path, pump, localeSeparator, notes);
}

TGridData ReadDataStream(int fd, const std::string& name, const std::function<void()>& pump,
                         char localeSeparator, TDataFileNotes* notes) {
  if (localeSeparator == '\0') localeSeparator = LocaleDecimalSeparator();
  TDataParser parser(name, localeSeparator);
  std::vector<char> buffer(1 << 20);
  auto lastPump = std::chrono::steady_clock::now();
  while (!parser.Ended()) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw TDataFileError("Cannot read " + Quoted(name) + ": " + std::strerror(errno) + ".");
    }
    if (n == 0) break;
    parser.Feed(std::string_view(buffer.data(), size_t(n)));
    if (pump && std::chrono::steady_clock::now() - lastPump >= std::chrono::milliseconds(30)) {
      pump();
      lastPump = std::chrono::steady_clock::now();
    }
  }
  TGridData data = parser.Finish();
  if (notes) *notes = parser.Notes();
  return data;
}

void LoadDataFile(TGridData& target, const std::string& path, const std::function<void()>& pump) {
  target = ReadDataFile(path, pump);
}
