#include "core/StoredSettings.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "core/Rounding.h"

namespace {

using S = TStoredSettings;

constexpr const char* kLoadFolderKey = "LoadFolder";
constexpr const char* kViewSection = "KestoF";
using K = TKestoState;

// An angle, or any view number with a key, as the file keeps it: rounded halves to even
// (0 when it does not fit).
int32_t StoredAngle(double degrees) {
  const double r = RoundHalfEven(degrees);
  if (!(r >= INT32_MIN && r <= INT32_MAX)) return 0;
  return int32_t(r);
}

template <size_t N>
std::optional<double> WidthOfItem(const std::array<const char*, N>& items, int32_t item) {
  if (item < 0 || size_t(item) >= items.size()) return std::nullopt;
  return std::atof(items[size_t(item)]);
}

}  // namespace

const std::array<TStoredKey, 22> kStoredKeys = {{
    {"Form", "Top", &S::FormTop, nullptr, nullptr, 1},
    {"Form", "Left", &S::FormLeft, nullptr, nullptr, 2},
    {"Form", "CmbB_LineWidth", &S::LineWidthItem, nullptr, nullptr, 3},
    {"Form", "CmbB_AxisWidth", &S::AxisWidthItem, nullptr, nullptr, 4},
    {"KestoF", "Top", &S::Top, nullptr, nullptr, 5},
    {"KestoF", "Left", &S::Left, nullptr, nullptr, 6},
    {"KestoF", "ClientWidth", &S::ClientWidth, nullptr, nullptr, 7},
    {"KestoF", "ClientHeight", &S::ClientHeight, nullptr, nullptr, 8},
    {"KestoF", "Color_BackGround", &S::ColorBackGround, &K::ColorBackGround, nullptr, 9},
    {"KestoF", "Color_Min", &S::ColorMin, &K::ColorMin, nullptr, 10},
    {"KestoF", "Color_High", &S::ColorHigh, &K::ColorHigh, nullptr, 11},
    {"KestoF", "Color_Axis_X", &S::ColorAxisX, &K::ColorAxisX, nullptr, 12},
    {"KestoF", "Color_Axis_Y", &S::ColorAxisY, &K::ColorAxisY, nullptr, 13},
    {"KestoF", "Color_Axis_Z", &S::ColorAxisZ, &K::ColorAxisZ, nullptr, 14},
    {"KestoF", "DrawMode", &S::DrawMode, &K::DrawMode, nullptr, 15},
    {"KestoF", "AxisMode", &S::AxisMode, &K::AxisMode, nullptr, 16},
    {"KestoF", "Angle1", &S::Angle1, nullptr, &K::Angle1, 18},
    {"KestoF", "Spec", &S::Spec, &K::Spec, nullptr, 21},
    {"KestoF", "SurfaceMode", &S::SurfaceMode, &K::SurfaceMode, nullptr, 17},
    {"KestoF", "Palette", &S::Palette, &K::Palette, nullptr, 22},
    {"KestoF", "ReversePalette", &S::ReversePalette, &K::ReversePalette, nullptr, 23},
    {"KestoF", "Labels", &S::Labels, &K::Labels, nullptr, 24},
}};

std::optional<double> LineWidthOfItem(int32_t item) { return WidthOfItem(kLineWidthItems, item); }
std::optional<double> AxisWidthOfItem(int32_t item) { return WidthOfItem(kAxisWidthItems, item); }

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
  for (size_t p = 0; p < kViewParameters.size(); ++p)
    if (const char* key = kViewParameters[p].Key)
      s.View[p] = ini.ReadInteger(kViewSection, key, s.View[p]);
  s.LoadFolder = ini.ReadString("Form", kLoadFolderKey);
  return s;
}

void WriteStoredSettings(TSettingsFile& ini, const TStoredSettings& s) {
  // Both tables' keys in the order of writing.
  std::vector<std::tuple<int, const char*, const char*, int32_t>> keys;
  keys.reserve(kStoredKeys.size() + kViewParameters.size());
  for (const TStoredKey& k : kStoredKeys)
    keys.emplace_back(k.WriteOrder, k.Section, k.Key, s.*k.Value);
  for (size_t p = 0; p < kViewParameters.size(); ++p)
    if (const char* key = kViewParameters[p].Key)
      keys.emplace_back(kViewParameters[p].WriteOrder, kViewSection, key, s.View[p]);
  std::sort(keys.begin(), keys.end());
  for (const auto& [order, section, key, value] : keys) ini.WriteInteger(section, key, value);
  // A name with a line end in it would break the file; such a folder is not kept.
  if (!s.LoadFolder.empty() && s.LoadFolder.find_first_of("\r\n") == std::string::npos)
    ini.WriteString("Form", kLoadFolderKey, s.LoadFolder);
}

void ApplyStoredView(const TStoredSettings& s, TKestoState& state) {
  for (const TStoredKey& k : kStoredKeys) {
    if (k.Field) state.*k.Field = s.*k.Value;
    if (k.Angle) state.*k.Angle = s.*k.Value;
  }
  for (size_t k = 0; k < kViewParameters.size(); ++k) {
    const TViewParameter& p = kViewParameters[k];
    // Several wraps where a frame makes one: a stored turn shows as the viewer shows it.
    if (p.Key) state.*p.Field = p.Keep == TKeep::Wrap ? TurnInRange(s.View[k]) : s.View[k];
  }
}

void CaptureStoredView(const TKestoState& state, TStoredSettings& s) {
  for (const TStoredKey& k : kStoredKeys) {
    if (k.Field) s.*k.Value = state.*k.Field;
    if (k.Angle) s.*k.Value = StoredAngle(state.*k.Angle);
  }
  for (size_t p = 0; p < kViewParameters.size(); ++p)
    if (kViewParameters[p].Key) s.View[p] = StoredAngle(state.*kViewParameters[p].Field);
}
