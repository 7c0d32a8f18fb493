#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/DisplayOptions.h"
#include "core/SettingsFile.h"
#include "core/ViewState.h"

// The values the settings file keeps between runs.
struct TStoredSettings {
  int32_t FormTop = 0, FormLeft = 0;
  int32_t Top = 0, Left = 0, ClientWidth = 0, ClientHeight = 0;
  int32_t Angle1 = 0;
  // The display options with a key, by the rows of kDisplayOptions (0 for the others):
  // whole numbers but where the row keeps a real as text.
  std::array<double, kDisplayOptions.size()> Options{};
  // The folder of the data file last loaded, where "File Load" opens; empty: none yet.
  std::string LoadFolder;
  bool operator==(const TStoredSettings&) const = default;
};

// One stored key of the windows' own: its place in the file, the value it holds, and
// its place in the order of writing among the display options' keys.
struct TStoredKey {
  const char* Section;
  const char* Key;
  int32_t TStoredSettings::*Value;
  int WriteOrder;
};

// The windows' places and sizes and the unused angle, in the order of reading;
// LoadFolder is kept under [Form] after them, once there is one.
extern const std::array<TStoredKey, 7> kStoredKeys;

// What a first run starts from: the windows' first places and sizes, the first
// item of each width box, and the graph window's own view.
TStoredSettings FirstRunSettings();

// Reads in the reading order; a missing or unreadable value keeps its first-run value.
TStoredSettings ReadStoredSettings(const TSettingsFile& ini);
// Writes in the writing order; the other keys of the file stay as they are.
void WriteStoredSettings(TSettingsFile& ini, const TStoredSettings& s);

// The stored display options and Angle1 into the graph state, and back (reals rounded
// halves to even, a width as the place of its item: -1 when it is none); positions and
// sizes are the windows' own.
void ApplyStoredView(const TStoredSettings& s, TKestoState& state);
void CaptureStoredView(const TKestoState& state, TStoredSettings& s);
