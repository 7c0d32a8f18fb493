#include "core/StoredSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "core/NumberField.h"
#include "core/Rounding.h"

namespace {

using S = TStoredSettings;

constexpr const char* kLoadFolderKey = "LoadFolder";

// An angle, or any view number with a key, as the file keeps it: rounded halves to even
// (0 when it does not fit).
int32_t StoredAngle(double degrees) {
  const double r = RoundHalfEven(degrees);
  if (!(r >= INT32_MIN && r <= INT32_MAX)) return 0;
  return int32_t(r);
}

// A display option's value as the file keeps it.
double Stored(const TDisplayOption& o, const TKestoState& state) {
  if (o.Stored == TStored::Text) return state.*o.Real;
  if (o.Type == TOptionType::Width) {
    for (size_t k = 0; k < o.Items.size(); ++k)
      if (WidthOfItem(o, int32_t(k)) == state.*o.Real) return int32_t(k);
    return -1;
  }
  if (o.Real) return StoredAngle(state.*o.Real);
  return state.*o.Whole;
}

}  // namespace

const std::array<TStoredKey, 7> kStoredKeys = {{
    {"Form", "Top", &S::FormTop, 1},
    {"Form", "Left", &S::FormLeft, 2},
    {"KestoF", "Top", &S::Top, 5},
    {"KestoF", "Left", &S::Left, 6},
    {"KestoF", "ClientWidth", &S::ClientWidth, 7},
    {"KestoF", "ClientHeight", &S::ClientHeight, 8},
    {"KestoF", "Angle1", &S::Angle1, 18},
}};

TStoredSettings FirstRunSettings() {
  TStoredSettings s;
  s.Top = kGraphWindowTop;
  s.Left = kGraphWindowLeft;
  s.ClientWidth = kDefaultClientWidth;
  s.ClientHeight = kDefaultClientHeight;
  CaptureStoredView(TKestoState(), s);
  return s;
}

TStoredSettings ReadStoredSettings(const TSettingsFile& ini) {
  TStoredSettings s = FirstRunSettings();
  for (const TStoredKey& k : kStoredKeys)
    s.*k.Value = ini.ReadInteger(k.Section, k.Key, s.*k.Value);
  for (size_t k = 0; k < kDisplayOptions.size(); ++k) {
    const TDisplayOption& o = kDisplayOptions[k];
    if (!o.Key) continue;
    if (o.Stored == TStored::Whole) {
      s.Options[k] = ini.ReadInteger(o.Section, o.Key, int32_t(s.Options[k]));
      continue;
    }
    // A real kept as text; anything else keeps the first-run value.
    const std::string text = ini.ReadString(o.Section, o.Key);
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (!text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size() &&
        std::isfinite(v))
      s.Options[k] = v;
  }
  s.LoadFolder = ini.ReadString("Form", kLoadFolderKey);
  return s;
}

void WriteStoredSettings(TSettingsFile& ini, const TStoredSettings& s) {
  // Both tables' keys in the order of writing.
  std::vector<std::tuple<int, const char*, const char*, double, TStored>> keys;
  keys.reserve(kStoredKeys.size() + kDisplayOptions.size());
  for (const TStoredKey& k : kStoredKeys)
    keys.emplace_back(k.WriteOrder, k.Section, k.Key, s.*k.Value, TStored::Whole);
  for (size_t k = 0; k < kDisplayOptions.size(); ++k)
    if (const TDisplayOption& o = kDisplayOptions[k]; o.Key)
      keys.emplace_back(o.WriteOrder, o.Section, o.Key, s.Options[k], o.Stored);
  std::sort(keys.begin(), keys.end(),
            [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
  for (const auto& [order, section, key, value, stored] : keys)
    if (stored == TStored::Whole)
      ini.WriteInteger(section, key, int32_t(value));
    else
      // An end of the colour range left to the heights is kept as nothing.
      ini.WriteString(section, key, std::isfinite(value) ? ShortestText(value) : "");
  // A name with a line end in it would break the file; such a folder is not kept.
  if (!s.LoadFolder.empty() && s.LoadFolder.find_first_of("\r\n") == std::string::npos)
    ini.WriteString("Form", kLoadFolderKey, s.LoadFolder);
}

void ApplyStoredView(const TStoredSettings& s, TKestoState& state) {
  state.Angle1 = s.Angle1;
  for (size_t k = 0; k < kDisplayOptions.size(); ++k) {
    const TDisplayOption& o = kDisplayOptions[k];
    if (!o.Key) continue;
    const double v = s.Options[k];
    if (o.Type == TOptionType::Width)
      // A place that names no item leaves the width as it is, as the width box does.
      state.*o.Real = WidthOfItem(o, int32_t(v)).value_or(state.*o.Real);
    else if (o.Keep == TKeep::Wrap)
      // Several wraps where a frame makes one: a stored turn shows as the viewer shows it.
      state.*o.Real = TurnInRange(v);
    else
      SetOptionValue(o, state, v);
  }
}

void CaptureStoredView(const TKestoState& state, TStoredSettings& s) {
  s.Angle1 = StoredAngle(state.Angle1);
  for (size_t k = 0; k < kDisplayOptions.size(); ++k)
    if (kDisplayOptions[k].Key) s.Options[k] = Stored(kDisplayOptions[k], state);
}
