// Reads arbitrary bytes as a settings file: every value read must be written back
// and read again as the same value, and foreign content must not get in the way.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/SettingsFile.h"
#include "core/StoredSettings.h"

namespace {

std::string TempPath(const char* what) {
  return "/tmp/kesto-settings-fuzz-" + std::to_string(getpid()) + "-" + what + ".INI";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int32_t value;
  ParseSettingsInt(text, value);

  const std::string in = TempPath("in");
  if (std::FILE* f = std::fopen(in.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  TSettingsFile ini(in);
  const TStoredSettings read = ReadStoredSettings(ini);
  WriteStoredSettings(ini, read);
  try {
    ini.Save();
  } catch (const TSettingsError&) {
    std::abort();  // the temporary folder is writable
  }
  const TStoredSettings again = ReadStoredSettings(TSettingsFile(in));
  std::remove(in.c_str());
  if (!(read == again)) std::abort();
  return 0;
}
