// Feeds arbitrary bytes to the data-file parser, whole and cut in two at a place the
// input chooses: both must agree, and an accepted grid must satisfy the invariants
// every consumer relies on.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/DataFile.h"

namespace {

bool Parse(std::string_view text, size_t cut, TGridData& out) {
  TDataParser p("fuzz", '.');
  cut = std::min(cut, text.size());
  try {
    p.Feed(text.substr(0, cut));
    p.Feed(text.substr(cut));
    out = p.Finish();
    return true;
  } catch (const TDataFileError&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t cut = size ? data[0] * size / 256 : 0;
  TGridData whole, split;
  const bool a = Parse(text, text.size(), whole);
  const bool b = Parse(text, cut, split);
  if (a != b) std::abort();
  if (!a) return 0;
  if (!GridInvariantsHold(whole)) std::abort();
  if (whole.GridHighI != split.GridHighI || whole.GridHighJ != split.GridHighJ) std::abort();
  if (whole.Grid.size() != size_t(whole.GridHighI) + 1) std::abort();
  if (!(whole.OriginX >= whole.XMin && whole.OriginX <= whole.XMax)) std::abort();
  return 0;
}
