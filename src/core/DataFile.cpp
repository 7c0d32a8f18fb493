#include "core/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "core/NumberField.h"

namespace {

constexpr char kEndOfFile = 26;  // Ctrl+Z
constexpr size_t kLongestLine = size_t(256) << 20;

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

std::string Shortest(double v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

std::string Points(size_t n) { return std::to_string(n) + (n == 1 ? " point" : " points"); }

}  // namespace

TDataParser::TDataParser(std::string name, char localeSeparator)
    : name_(std::move(name)), sep_(localeSeparator) {}

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
  const TGridPoint point{v[0], v[1], v[2]};
  if (rows_.empty()) {
    if (first_.empty()) rowStartLine_ = lineNumber_;
    first_.push_back(point);
  } else {
    if (row_.empty()) rowStartLine_ = lineNumber_;
    row_.push_back(point);
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

void TDataParser::Reject(const std::string& why) const {
  throw TDataFileError("The data file " + Quoted(name_) + " cannot be shown: " + why + ".");
}

TGridData TDataParser::Finish() {
  if (!carry_.empty()) {
    Line(carry_);
    carry_.clear();
  }
  EndRow();
  if (rows_.empty()) Reject("it holds no data points");
  if (!anyNumber_)
    Reject("none of its lines holds numbers separated by commas (x,y,z); " + firstDataLine_);
  if (rows_.size() > INT32_MAX || width_ > INT32_MAX) Reject("it is too large");
  TGridData d;
  d.GridHighI = static_cast<int32_t>(rows_.size() - 1);
  d.GridHighJ = static_cast<int32_t>(width_ - 1);
  d.Grid = rows_.Take();
  ApplyRanges(d, ComputeRanges(d.Grid, d.GridHighI, d.GridHighJ));
  for (const auto& [low, high, axis] :
       {std::tuple{d.XMin, d.XMax, "x"}, std::tuple{d.YMin, d.YMax, "y"},
        std::tuple{d.ZMin, d.ZMax, "z"}}) {
    if (!std::isfinite(high - low))
      Reject(std::string("its ") + axis + " values span more than a number can hold (" +
             Shortest(low) + " to " + Shortest(high) + ")");
  }
  d.OriginX = ClampOrigin(d.XMin, d.XMax);
  d.OriginY = ClampOrigin(d.YMin, d.YMax);
  d.OriginZ = ClampOrigin(d.ZMin, d.ZMax);
  return d;
}

namespace {

TGridData Parse(int fd, const std::string& name, const std::function<void()>& pump,
                char localeSeparator, TDataFileNotes* notes) {
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

}  // namespace

TGridData ReadDataFile(const std::string& path, const std::function<void()>& pump,
                       char localeSeparator, TDataFileNotes* notes) {
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
    throw TDataFileError("The data file " + Quoted(path) +
                         " cannot be shown: it is not a regular file.");
  return ReadDataStream(fd, path, pump, localeSeparator, notes);
}

TGridData ReadDataStream(int fd, const std::string& name, const std::function<void()>& pump,
                         char localeSeparator, TDataFileNotes* notes) {
  if (localeSeparator == '\0') localeSeparator = LocaleDecimalSeparator();
  try {
    return Parse(fd, name, pump, localeSeparator, notes);
  } catch (const std::bad_alloc&) {
    throw TDataFileError("The data file " + Quoted(name) +
                         " cannot be shown: the grid is too large for the memory available.");
  }
}

void LoadDataFile(TGridData& target, const std::string& path, const std::function<void()>& pump) {
  target = ReadDataFile(path, pump);
}
