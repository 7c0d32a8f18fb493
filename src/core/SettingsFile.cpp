#include "core/SettingsFile.h"

// The file is read and written byte for byte; every value the program writes is ASCII.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace

bool ParseSettingsInt(std::string_view s, int32_t& value) {
  size_t k = 0;
  while (k < s.size() && s[k] == ' ') ++k;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  size_t hexAt = 0;
  if (k < s.size() && s[k] == '$')
    hexAt = k + 1;
  else if (k + 1 < s.size() && s[k] == '0' && (s[k + 1] == 'x' || s[k + 1] == 'X'))
    hexAt = k + 2;
  if (hexAt) {
    if (hexAt == s.size() || s.size() - hexAt > 8) return false;
    uint32_t v = 0;
    for (size_t i = hexAt; i < s.size(); ++i) {
      uint32_t d;
      if (!HexDigit(s[i], d)) return false;
      v = v * 16 + d;
    }
    value = int32_t(negative ? 0u - v : v);
    return true;
  }
  if (k == s.size()) return false;
  int64_t v = 0;
  for (; k < s.size(); ++k) {
    if (s[k] < '0' || s[k] > '9') return false;
    v = v * 10 + (s[k] - '0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  value = int32_t(v);
  return true;
}

std::string SettingsPathFor(const std::string& exe) {
  const size_t slash = exe.find_last_of('/');
  const size_t dot = exe.find_last_of('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? exe.substr(0, dot) : exe) + ".INI";
}

struct TSettingsFile::TIni {
  CSimpleIniA Data{/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
};

TSettingsFile::TSettingsFile(std::string path)
    : path_(std::move(path)), ini_(std::make_unique<TIni>()) {
  // Read here rather than by the INI reader, which takes the size of a folder in
  // place of the file for the size of a file.
  std::ifstream in(path_, std::ios::binary);
  if (!in || std::filesystem::is_directory(path_)) return;
  std::ostringstream text;
  text << in.rdbuf();
  const std::string data = text.str();
  ini_->Data.LoadData(data.data(), data.size());
}

TSettingsFile::~TSettingsFile() = default;

int32_t TSettingsFile::ReadInteger(const char* section, const char* key, int32_t def) const {
  const char* text = ini_->Data.GetValue(section, key, nullptr);
  int32_t value;
  return text && ParseSettingsInt(text, value) ? value : def;
}

void TSettingsFile::WriteInteger(const char* section, const char* key, int32_t value) {
  ini_->Data.SetValue(section, key, std::to_string(value).c_str());
}

void TSettingsFile::Save() const {
  std::string text;
  ini_->Data.Save(text);
  const std::string temp = path_ + ".new";
  auto fail = [&](int error) {
    std::remove(temp.c_str());
    throw TSettingsError("The settings could not be saved to \"" + path_ +
                         "\": " + std::strerror(error) + ".");
  };
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) fail(errno);
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size() &&
                       std::fflush(f) == 0 && fsync(fileno(f)) == 0;
  const int error = errno;
  if (std::fclose(f) != 0 || !written) fail(written ? errno : error);
  if (std::rename(temp.c_str(), path_.c_str()) != 0) fail(errno);
}
