#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// kesto/kesto.INI in the user's configuration folder ($XDG_CONFIG_HOME, by default
// ~/.config); empty when the environment names no such folder.
std::string UserSettingsPath();

// The INI settings file, read and written as the private-profile functions do:
// section and key names match in any letter case, the first of duplicate sections
// and keys counts, and writing a key replaces its value where it stands. Everything
// else in the file (comments, foreign keys and sections, lines without "=") stays as
// it is, byte for byte.
class TSettingsFile {
 public:
  // A missing file reads as an empty one; so does anything that is not a regular
  // file, which Problem() then describes.
  explicit TSettingsFile(std::string path);

  int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) const;
  void WriteInteger(const char* section, const char* key, int32_t value);
  // A value as text, without the blanks around it; empty when missing. The text
  // written must not hold a line end.
  std::string ReadString(const char* section, const char* key) const;
  void WriteString(const char* section, const char* key, const std::string& text);
  // Writes the whole file under a name of its own beside the old one and renames it
  // over it, so that an interrupted or concurrent write never leaves half a file; a
  // link is followed. Throws with the file and the reason, also when the file is not
  // a regular one or is read-only.
  void Save() const { SaveAs(path_); }
  void SaveAs(const std::string& path) const;
  const std::string& Path() const { return path_; }
  // Why the file could not be read ("... is not a regular file"), or nothing.
  const std::string& Problem() const { return problem_; }

 private:
  // Where a section's lines are: its header and the line after its last one.
  struct TSpan {
    size_t Header, End;
  };
  bool FindSection(std::string_view section, TSpan& span) const;
  std::optional<std::string_view> Value(const char* section, const char* key) const;
  // The first line of the span that sets key, or npos.
  size_t FindKey(const TSpan& span, std::string_view key) const;
  std::string NewLine() const;
  bool EndsLine(const std::string& line) const;

  std::string path_;
  std::string problem_;
  std::vector<std::string> lines_;  // each with its own line end, if it has one
  char end_ = '\n';                 // what ends a line: LF, or CR in a file of CR ends
};

// Where the settings are kept: beside the program (none: empty), and, where that file
// cannot be written, in the user's configuration folder.
struct TSettingsPlaces {
  TSettingsPlaces(std::string besideProgram, std::string userFolder = "")
      : BesideProgram(std::move(besideProgram)), UserFolder(std::move(userFolder)) {}
  std::string BesideProgram, UserFolder;
};

// The file beside the program when it can be read, else the one in the user's folder.
TSettingsFile ReadSettings(const TSettingsPlaces& places);
// Beside the program when that can be written, else in the user's folder (made when
// missing); throws, naming both places, when neither can be written.
void SaveSettings(const TSettingsFile& settings, const TSettingsPlaces& places);
