#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/SettingsFile.h"
#include "core/ViewParameters.h"
#include "core/ViewState.h"

// The width boxes' items; a stored width is the index of one of them.
inline constexpr std::array<const char*, 12> kLineWidthItems = {"1", "2", "3", "4",  "5",  "6",
                                                                "7", "8", "9", "10", "15", "20"};
inline constexpr std::array<const char*, 5> kAxisWidthItems = {"1", "2", "3", "4", "5"};

// The width an item stands for; nothing for an index that names no item.
std::optional<double> LineWidthOfItem(int32_t item);
std::optional<double> AxisWidthOfItem(int32_t item);

// The values the settings file keeps between runs.
struct TStoredSettings {
  int32_t FormTop = 0, FormLeft = 0;
  int32_t LineWidthItem = 0, AxisWidthItem = 0;
  int32_t Top = 0, Left = 0, ClientWidth = 0, ClientHeight = 0;
  int32_t ColorBackGround = 0, ColorMin = 0, ColorHigh = 0;
  int32_t ColorAxisX = 0, ColorAxisY = 0, ColorAxisZ = 0;
  int32_t DrawMode = 0, AxisMode = 0;
  int32_t Angle1 = 0;
  // The view numbers with a key, by the rows of kViewParameters (0 for the others).
  std::array<int32_t, kViewParameters.size()> View{};
  int32_t Spec = 0, SurfaceMode = 0;
  int32_t Palette = 0, ReversePalette = 0, Labels = 0;
  // The folder of the data file last loaded, where "File Load" opens; empty: none yet.
  std::string LoadFolder;
  bool operator==(const TStoredSettings&) const = default;
};

// One stored key: its place in the file, the value it holds, what that value stands
// for in the graph window's state when it is part of the view (an integer field, or
// an angle stored rounded), and its place in the order of writing.
struct TStoredKey {
  const char* Section;
  const char* Key;
  int32_t TStoredSettings::*Value;
  int32_t TKestoState::*Field;
  double TKestoState::*Angle;
  int WriteOrder;
};

// Every stored integer but the view numbers, which kViewParameters keys, in the order of
// reading; LoadFolder is kept under [Form] after them, once there is one.
extern const std::array<TStoredKey, 22> kStoredKeys;

// What a first run starts from: the windows' first places and sizes, the first
// item of each width box, and the graph window's own view.
TStoredSettings FirstRunSettings();

// Reads in the reading order; a missing or unreadable value keeps its first-run value.
TStoredSettings ReadStoredSettings(const TSettingsFile& ini);
// Writes in the writing order; the other keys of the file stay as they are.
void WriteStoredSettings(TSettingsFile& ini, const TStoredSettings& s);

// The stored colours, modes, angles and Spec into the graph state, and back (angles
// rounded halves to even); positions, sizes and widths are the windows' own.
void ApplyStoredView(const TStoredSettings& s, TKestoState& state);
void CaptureStoredView(const TKestoState& state, TStoredSettings& s);
