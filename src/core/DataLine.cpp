#include "core/DataLine.h"

#include "core/NumberField.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string_view TrimLine(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string Excerpt(std::string_view line) {
  constexpr size_t kLongest = 60;
  std::string text(line.substr(0, kLongest));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  if (line.size() > kLongest) text += "...";
  return "\"" + text + "\"";
}

void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields) {
  fields.clear();
  if (separator == ' ') {
    for (size_t at = 0; at < line.size();) {
      while (at < line.size() && IsBlank(line[at])) ++at;
      const size_t begin = at;
      while (at < line.size() && !IsBlank(line[at])) ++at;
      if (at > begin) fields.push_back(line.substr(begin, at - begin));
    }
    return;
  }
  for (;;) {
    const size_t end = line.find(separator);
    fields.push_back(TrimLine(line.substr(0, end)));
    if (end == std::string_view::npos) return;
    line.remove_prefix(end + 1);
  }
}

bool IsMissingText(std::string_view f, bool others) {
  if (others && (f.empty() || f == "-" || f == "?")) return true;
  return f.size() == 3 && (f[0] | 0x20) == 'n' && (f[1] | 0x20) == 'a' && (f[2] | 0x20) == 'n';
}

bool HasDecimalCommas(std::string_view line) {
  const auto digit = [&line](size_t at) { return line[at] >= '0' && line[at] <= '9'; };
  bool comma = false, separated = false, commaInField = false;
  for (size_t at = 0; at < line.size(); ++at) {
    if (line[at] == ';' || IsBlank(line[at])) {
      separated = true;
      commaInField = false;
    } else if (line[at] == ',') {
      if (commaInField || at == 0 || at + 1 == line.size() || !digit(at - 1) || !digit(at + 1))
        return false;
      comma = commaInField = true;
    }
  }
  return comma && separated;
}

bool HoldsNumber(std::string_view line, char localeSeparator) {
  for (size_t at = 0; at < line.size();) {
    auto cut = [](char c) { return IsBlank(c) || c == ',' || c == ';'; };
    while (at < line.size() && cut(line[at])) ++at;
    const size_t begin = at;
    while (at < line.size() && !cut(line[at])) ++at;
    double v;
    if (at > begin && ParseNumber(line.substr(begin, at - begin), localeSeparator, v)) return true;
  }
  return false;
}

std::string LineAt(int64_t number, std::string_view line) {
  return "line " + std::to_string(number) + " " + Excerpt(line);
}

std::string Count(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}
