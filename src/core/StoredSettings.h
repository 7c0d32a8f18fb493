#pragma once

#include <array>
#include <cstdint>

#include "core/SettingsFile.h"
#include "core/ViewState.h"

// The width boxes' items; a stored width is the index of one of them.
inline constexpr std::array<const char*, 12> kLineWidthItems = {"1", "2", "3", "4",  "5",  "6",
                                                                "7", "8", "9", "10", "15", "20"};
inline constexpr std::array<const char*, 5> kAxisWidthItems = {"1", "2", "3", "4", "5"};

// The 21 values the settings file keeps between runs, with their first-run values.
struct TStoredSettings {
  int32_t FormTop = 0, FormLeft = 0;
  int32_t LineWidthItem = 0, AxisWidthItem = 0;
  int32_t Top = 0, Left = 154, ClientWidth = 640, ClientHeight = 480;
  int32_t ColorBackGround = 0, ColorMin = 16711680, ColorHigh = 255;
  int32_t ColorAxisX = 32768, ColorAxisY = 32768, ColorAxisZ = 32768;
  int32_t DrawMode = 1, AxisMode = 1;
  int32_t Angle1 = 0, Angle2 = 45, Angle3 = 160;
  int32_t Spec = 0, SurfaceMode = 0;
};

// Reads in the reading order; a missing or unreadable value keeps its first-run value.
TStoredSettings ReadStoredSettings(const TSettingsFile& ini);
// Writes in the writing order; the other keys of the file stay as they are.
void WriteStoredSettings(TSettingsFile& ini, const TStoredSettings& s);

// The stored colours, modes, angles and Spec into the graph state; positions, sizes
// and widths are the windows' to apply.
void ApplyStoredView(const TStoredSettings& s, TKestoState& state);

// An angle as the file keeps it: rounded halves to even (0 when it does not fit).
int32_t StoredAngle(double degrees);
