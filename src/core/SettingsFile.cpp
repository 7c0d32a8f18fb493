#include "core/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/AtomicFile.h"

namespace {

bool HexDigit(char c, uint32_t& d) {
  if (c >= '0' && c <= '9')
    d = uint32_t(c - '0');
  else if (c >= 'a' && c <= 'f')
    d = uint32_t(c - 'a' + 10);
  else if (c >= 'A' && c <= 'F')
    d = uint32_t(c - 'A' + 10);
  else
    return false;
  return true;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k], y = b[k];
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Some editors start a UTF-8 file with a byte-order mark; it belongs to no name.
std::string_view WithoutMark(std::string_view line) {
  return line.starts_with("\xEF\xBB\xBF") ? line.substr(3) : line;
}

// The name of the section a line opens, if it opens one.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(WithoutMark(line));
  const size_t close = line.find(']');
  if (line.empty() || line[0] != '[' || close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

// The key and the value a line sets, if it sets one; ";" starts a comment.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  line = WithoutMark(line);
  const std::string_view t = Trim(line);
  const size_t eq = line.find('=');
  if (t.empty() || t[0] == ';' || t[0] == '[' || eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

// A settings file is a few hundred bytes; anything much larger is something else.
constexpr off_t kLargestFile = 16 << 20;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

namespace {

// Up to 32 bits of hexadecimal digits, two's complement for the sign.
bool ParseHex(std::string_view digits, bool negative, int32_t& value) {
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t v = 0;
  for (const char c : digits) {
    uint32_t d;
    if (!HexDigit(c, d)) return false;
    v = v * 16 + d;
  }
  value = int32_t(negative ? 0u - v : v);
  return true;
}

// Decimal digits within the 32-bit range.
bool ParseDecimal(std::string_view digits, bool negative, int32_t& value) {
  if (digits.empty()) return false;
  int64_t v = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  value = int32_t(v);
  return true;
}

}  // namespace

bool ParseSettingsInt(std::string_view text, int32_t& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.starts_with('$')) return ParseHex(text.substr(1), negative, value);
  if (text.starts_with("0x") || text.starts_with("0X"))
    return ParseHex(text.substr(2), negative, value);
  return ParseDecimal(text, negative, value);
}

std::string SettingsPathFor(const std::string& exe) {
  const size_t slash = exe.find_last_of('/');
  const size_t dot = exe.find_last_of('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? exe.substr(0, dot) : exe) + ".INI";
}

TSettingsFile::TSettingsFile(std::string path) : path_(std::move(path)) {
  // Never blocks (a FIFO) and never reads for ever (a device): regular files only.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;  // missing or unreadable: an empty file
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    problem_ = "The settings file " + Quoted(path_) + " is not a regular file.";
    return;
  }
  if (st.st_size > kLargestFile) {
    problem_ = "The settings file " + Quoted(path_) + " is too large to be a settings file.";
    return;
  }
  std::string text(size_t(st.st_size), '\0');
  size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  text.resize(got);
  // Lines end at LF (after CR or not), or, in a file without any, at CR alone.
  end_ = text.find('\n') == std::string::npos && text.find('\r') != std::string::npos ? '\r' : '\n';
  for (size_t at = 0; at < text.size();) {
    const size_t lf = text.find(end_, at);
    const size_t end = lf == std::string::npos ? text.size() : lf + 1;
    lines_.push_back(text.substr(at, end - at));
    at = end;
  }
}

bool TSettingsFile::FindSection(std::string_view section, TSpan& span) const {
  std::string_view name;
  for (size_t k = 0; k < lines_.size(); ++k) {
    if (!SectionName(lines_[k], name) || !SameName(name, section)) continue;
    span.Header = k;
    span.End = k + 1;
    while (span.End < lines_.size() && !SectionName(lines_[span.End], name)) ++span.End;
    return true;
  }
  return false;
}

size_t TSettingsFile::FindKey(const TSpan& span, std::string_view key) const {
  std::string_view name, value;
  for (size_t k = span.Header + 1; k < span.End; ++k)
    if (KeyLine(lines_[k], name, value) && SameName(name, key)) return k;
  return std::string::npos;
}

std::string TSettingsFile::NewLine() const {
  if (end_ == '\r') return "\r";
  return !lines_.empty() && lines_[0].size() > 1 && lines_[0].ends_with("\r\n") ? "\r\n" : "\n";
}

bool TSettingsFile::EndsLine(const std::string& line) const {
  return !line.empty() && line.back() == end_;
}

std::optional<std::string_view> TSettingsFile::Value(const char* section, const char* key) const {
  TSpan span;
  if (!FindSection(section, span)) return std::nullopt;
  const size_t at = FindKey(span, key);
  std::string_view name, text;
  if (at == std::string::npos || !KeyLine(lines_[at], name, text)) return std::nullopt;
  return text;
}

int32_t TSettingsFile::ReadInteger(const char* section, const char* key, int32_t def) const {
  const auto text = Value(section, key);
  int32_t value;
  return text && ParseSettingsInt(*text, value) ? value : def;
}

std::string TSettingsFile::ReadString(const char* section, const char* key) const {
  return std::string(Value(section, key).value_or(""));
}

void TSettingsFile::WriteInteger(const char* section, const char* key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TSettingsFile::WriteString(const char* section, const char* key, const std::string& text) {
  const std::string nl = NewLine();
  TSpan span;
  if (!FindSection(section, span)) {
    if (!lines_.empty() && !EndsLine(lines_.back())) lines_.back() += nl;
    lines_.push_back(std::string(1, '[').append(section).append("]").append(nl));
    lines_.push_back(std::string(key) + "=" + text + nl);
    return;
  }
  if (const size_t at = FindKey(span, key); at != std::string::npos) {
    // Only the value changes; the key as written and the line's end stay.
    std::string& line = lines_[at];
    size_t from = line.find('=') + 1;
    while (from < line.size() && (line[from] == ' ' || line[from] == '\t')) ++from;
    // Everything up to the line's own end is the old value, stray carriage returns
    // included, so that no part of it is left to be read back.
    size_t to = line.size();
    if (line.ends_with("\r\n"))
      to -= 2;
    else if (EndsLine(line))
      to -= 1;
    line.replace(from, to - from, text);
    return;
  }
  size_t at = span.End;  // after the section's last line that is not blank
  while (at > span.Header + 1 && Trim(lines_[at - 1]).empty()) --at;
  if (!EndsLine(lines_[at - 1])) lines_[at - 1] += nl;
  lines_.insert(lines_.begin() + std::ptrdiff_t(at), std::string(key) + "=" + text + nl);
}

void TSettingsFile::SaveAs(const std::string& path) const {
  std::string text;
  for (const std::string& line : lines_) text += line;
  try {
    WriteFileAtomically(path, text);
  } catch (const TWriteError& e) {
    throw TSettingsError("The settings could not be saved to " + Quoted(path) + ": " + e.what() +
                         ".");
  }
}

std::string UserSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string folder;
  if (config && config[0] == '/')
    folder = config;
  else if (home && home[0] == '/')
    folder = std::string(home) + "/.config";
  else
    return "";
  return folder + "/kesto/kesto.INI";
}

TSettingsFile ReadSettings(const TSettingsPlaces& places) {
  struct stat st;
  const bool beside = ::stat(places.BesideProgram.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                      ::access(places.BesideProgram.c_str(), R_OK) == 0;
  return TSettingsFile(beside || places.UserFolder.empty() ? places.BesideProgram
                                                           : places.UserFolder);
}

namespace {

void SaveInUserFolder(const TSettingsFile& settings, const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  settings.SaveAs(path);
}

}  // namespace

void SaveSettings(const TSettingsFile& settings, const TSettingsPlaces& places) {
  if (places.BesideProgram.empty()) return SaveInUserFolder(settings, places.UserFolder);
  try {
    settings.SaveAs(places.BesideProgram);
  } catch (const TSettingsError& beside) {
    if (places.UserFolder.empty()) throw;
    try {
      SaveInUserFolder(settings, places.UserFolder);
    } catch (const TSettingsError& user) {
      std::string both = beside.what();
      both.pop_back();  // the full stop
      throw TSettingsError(both + "; nor to" +
                           std::string(user.what()).substr(std::string(user.what()).find(" \"")));
    }
  }
}
