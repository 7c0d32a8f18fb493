#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class TSettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value as the settings file holds it: optional spaces, an optional sign, then
// decimal digits, or hexadecimal after "$", "0x" or "0X" (up to 32 bits, so that
// $80000005 names a system colour). False for anything else and for a decimal
// value outside the 32-bit range.
bool ParseSettingsInt(std::string_view text, int32_t& value);

// The executable's path with its extension, if any, replaced by ".INI".
std::string SettingsPathFor(const std::string& executablePath);

// The INI settings file: sections and keys match in any letter case, and keys and
// comments that others put there stay in place when it is written back.
class TSettingsFile {
 public:
  // A missing or unreadable file reads as an empty one.
  explicit TSettingsFile(std::string path);
  ~TSettingsFile();

  int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) const;
  void WriteInteger(const char* section, const char* key, int32_t value);
  // Writes the whole file beside the old one and renames it over it, so that an
  // interrupted write never leaves half a file; throws with the file and the reason.
  void Save() const;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  struct TIni;
  std::unique_ptr<TIni> ini_;
};
