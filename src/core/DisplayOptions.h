#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/ColorMaps.h"
#include "core/ViewState.h"

// How a value is brought back into its option's range: not at all, held at the nearer
// end (a NaN at the lower), taken round by one turn of the range (a frame wraps a turn
// once), past the last value round to the first (below the first it stays), or outside
// the range back to the default.
enum class TKeep { None, Clamp, Wrap, Cycle, Reset };

// What an option holds and how a value given for it on a command line is read.
enum class TOptionType {
  Number,   // a real number
  Choice,   // one of the names of Items, by its place among them
  Flag,     // takes no value: given, the field becomes Set
  Color,    // #RRGGBB
  Width,    // a real from the width box's Items, stored as the item's place
  Numbers,  // Low to High reals, comma-separated
};

// How the settings file keeps a value: as a whole number (a real rounded, a width as its
// item's place), or a real as its shortest exact text.
enum class TStored { Whole, Text };

// Which lists a field is read by: a change to it makes them stale.
enum : uint8_t { kShapesNone = 0, kShapesGraph = 1, kShapesAxes = 2 };

// The width boxes' items; a stored width is the index of one of them.
inline constexpr std::array<const char*, 12> kLineWidthItems = {"1", "2", "3", "4",  "5",  "6",
                                                                "7", "8", "9", "10", "15", "20"};
inline constexpr std::array<const char*, 5> kAxisWidthItems = {"1", "2", "3", "4", "5"};

// One display option: a field of the graph state, declared once. The state's defaults,
// NormalizeView, the settings file, kesto-render's options, notes and usage, the frame
// key and the lists' staleness all walk the table; a new option is one more row.
struct TDisplayOption {
  const char* Name;  // kesto-render's --Name and its name in notes; nullptr: no option
  TOptionType Type;
  int32_t TKestoState::*Whole = nullptr;             // the field: a whole number …
  double TKestoState::*Real = nullptr;               // … or a real one …
  std::vector<double> TKestoState::*List = nullptr;  // … or several
  double Default = 0;
  TKeep Keep = TKeep::None;
  double Low = 0, High = 0;  // the range Keep holds the field in, or a width's
  std::span<const char* const> Items = {};
  double Set = 0;      // what a Flag sets
  bool Count = false;  // a Flag that takes its Value after it, if one follows
  bool Auto = false;   // a Numbers value may say "auto" for any of its numbers: a NaN
  // What the option does where it is more than setting its field to the (first) value.
  void (*Given)(TKestoState&, std::span<const double>) = nullptr;
  const char* Value = nullptr;  // the option's value in the usage
  const char* Help = nullptr;   // its meaning there, one line or more
  // Its key in the settings file, where it is kept as a whole number (a real rounded,
  // a width as its item's place), and its place in the order of writing; none: not kept.
  const char* Section = nullptr;
  const char* Key = nullptr;
  int WriteOrder = 0;
  TStored Stored = TStored::Whole;
  uint8_t Shapes = kShapesNone;
};

namespace display_option_detail {
void SetColoring(TKestoState& s, std::span<const double> k);
void SetSpectrum(TKestoState& s, std::span<const double>);
void SetAxisColors(TKestoState& s, std::span<const double> color);
void SetContours(TKestoState& s, std::span<const double> count);
void SetContourInterval(TKestoState& s, std::span<const double> stepOffset);
void SetContourList(TKestoState& s, std::span<const double> levels);
void SetColorRange(TKestoState& s, std::span<const double> lowHigh);
void SetColorSteps(TKestoState& s, std::span<const double> steps);
void SetOutOfRange(TKestoState& s, std::span<const double> choiceColors);
void SetHillshade(TKestoState& s, std::span<const double> azimuthAltitude);
}  // namespace display_option_detail

// The ends of a colour range left to the heights.
inline constexpr double kAutoLow = -std::numeric_limits<double>::infinity();
inline constexpr double kAutoHigh = std::numeric_limits<double>::infinity();

inline constexpr std::array<const char*, 2> kViewItems = {"2d", "3d"};
inline constexpr std::array<const char*, 3> kSurfaceItems = {"mesh", "fill", "points"};
// The last, "colours", may also be given as the two colours themselves.
inline constexpr std::array<const char*, 3> kOutOfRangeItems = {"clamp", "clip", "colours"};

inline constexpr std::array<TDisplayOption, 38> kDisplayOptions = {{
    {.Name = "view",
     .Type = TOptionType::Choice,
     .Whole = &TKestoState::DrawMode,
     .Default = kDrawMode3D,
     .Keep = TKeep::Cycle,
     .Low = kDrawMode2D,
     .High = kDrawMode3D,
     .Items = kViewItems,
     .Value = "2d|3d",
     .Help = "flat map from above or the 3-D graph",
     .Section = "KestoF",
     .Key = "DrawMode",
     .WriteOrder = 15},
    {.Name = "surface",
     .Type = TOptionType::Choice,
     .Whole = &TKestoState::SurfaceMode,
     .Default = kSurfaceMesh,
     .Keep = TKeep::Cycle,
     .Low = kSurfaceMesh,
     .High = kSurfaceMarkers,
     .Items = kSurfaceItems,
     .Value = "mesh|fill|points",
     .Help = "wire mesh, filled cells or a marker at every point",
     .Section = "KestoF",
     .Key = "SurfaceMode",
     .WriteOrder = 17},
    {.Name = "spectrum",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::Spec,
     .Set = 1,
     .Given = display_option_detail::SetSpectrum,
     .Help = "colour by the blue-green-red spectrum",
     .Section = "KestoF",
     .Key = "Spec",
     .WriteOrder = 21,
     .Shapes = kShapesGraph},
    {.Name = "palette",
     .Type = TOptionType::Choice,
     .Whole = &TKestoState::Palette,
     .Default = kPaletteOwn,
     .Keep = TKeep::Reset,
     .Low = kPaletteOwn,
     .High = kPaletteCount - 1,
     .Items = kColoringOrder,
     .Given = display_option_detail::SetColoring,
     .Value = "NAME",
     .Help = "colour by blend (of --low and --high), spectrum,\n"
             "viridis, cividis, magma, inferno, plasma or grey",
     .Section = "KestoF",
     .Key = "Palette",
     .WriteOrder = 22,
     .Shapes = kShapesGraph},
    {.Name = "reverse",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::ReversePalette,
     .Set = 1,
     .Help = "run the colours from the highest heights to the lowest",
     .Section = "KestoF",
     .Key = "ReversePalette",
     .WriteOrder = 23,
     .Shapes = kShapesGraph},
    {.Name = "no-axes",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::AxisMode,
     .Default = kAxesOn,
     .Keep = TKeep::Cycle,
     .Low = kAxesOff,
     .High = kAxesOn,
     .Set = kAxesOff,
     .Help = "leave the axes out",
     .Section = "KestoF",
     .Key = "AxisMode",
     .WriteOrder = 16},
    {.Name = "labels",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::Labels,
     .Set = 1,
     .Help = "numbers along the axes and the colour bar, and the axes'\n"
             "titles (the file's column names, else x, y and z)",
     .Section = "KestoF",
     .Key = "Labels",
     .WriteOrder = 24},
    {.Name = "turn",
     .Type = TOptionType::Number,
     .Real = &TKestoState::Angle3,
     .Default = 160,
     .Keep = TKeep::Wrap,
     .Low = 0,
     .High = 360,
     .Value = "DEG",
     .Help = "turn about the vertical axis",
     .Section = "KestoF",
     .Key = "Angle3",
     .WriteOrder = 20},
    {.Name = "tilt",
     .Type = TOptionType::Number,
     .Real = &TKestoState::Angle2,
     .Default = 45,
     .Keep = TKeep::Clamp,
     .Low = 5,
     .High = 175,
     .Value = "DEG",
     .Help = "angle from straight above",
     .Section = "KestoF",
     .Key = "Angle2",
     .WriteOrder = 19},
    {.Name = "distance",
     .Type = TOptionType::Number,
     .Real = &TKestoState::Distance,
     .Default = 10,
     .Keep = TKeep::Clamp,
     .Low = 1,
     .High = 100,
     .Value = "D",
     .Help = "distance of the eye"},
    {.Name = "height-scale",
     .Type = TOptionType::Number,
     .Real = &TKestoState::HeightScale,
     .Default = 0.8,
     .Keep = TKeep::Clamp,
     .Low = 0,
     .High = 2,
     .Value = "H",
     .Help = "height of the graph",
     .Shapes = kShapesGraph | kShapesAxes},
    {.Name = "line-width",
     .Type = TOptionType::Width,
     .Real = &TKestoState::LineWidth,
     .Default = 1,
     .Low = 1,
     .High = 20,
     .Items = kLineWidthItems,
     .Value = "W",
     .Help = "line width and marker size",
     .Section = "Form",
     .Key = "CmbB_LineWidth",
     .WriteOrder = 3,
     .Shapes = kShapesGraph},
    {.Name = "axis-width",
     .Type = TOptionType::Width,
     .Real = &TKestoState::AxisWidth,
     .Default = 1,
     .Low = 1,
     .High = 5,
     .Items = kAxisWidthItems,
     .Value = "W",
     .Help = "axis width",
     .Section = "Form",
     .Key = "CmbB_AxisWidth",
     .WriteOrder = 4,
     .Shapes = kShapesAxes},
    {.Name = "low",
     .Type = TOptionType::Color,
     .Whole = &TKestoState::ColorMin,
     .Default = 0xFF0000,
     .Value = "#RRGGBB",
     .Help = "colour of the lowest heights",
     .Section = "KestoF",
     .Key = "Color_Min",
     .WriteOrder = 10,
     .Shapes = kShapesGraph},
    {.Name = "high",
     .Type = TOptionType::Color,
     .Whole = &TKestoState::ColorHigh,
     .Default = 0x0000FF,
     .Value = "#RRGGBB",
     .Help = "colour of the highest heights",
     .Section = "KestoF",
     .Key = "Color_High",
     .WriteOrder = 11,
     .Shapes = kShapesGraph},
    {.Name = "background",
     .Type = TOptionType::Color,
     .Whole = &TKestoState::ColorBackGround,
     .Default = 0x000000,
     .Value = "#RRGGBB",
     .Help = "colour behind the graph",
     .Section = "KestoF",
     .Key = "Color_BackGround",
     .WriteOrder = 9},
    {.Name = "axis-color",
     .Type = TOptionType::Color,
     .Whole = &TKestoState::ColorAxisX,
     .Default = 0x008000,
     .Given = display_option_detail::SetAxisColors,
     .Value = "#RRGGBB",
     .Help = "colour of the axes",
     .Section = "KestoF",
     .Key = "Color_Axis_X",
     .WriteOrder = 12,
     .Shapes = kShapesAxes},
    {.Name = nullptr,
     .Type = TOptionType::Color,
     .Whole = &TKestoState::ColorAxisY,
     .Default = 0x008000,
     .Section = "KestoF",
     .Key = "Color_Axis_Y",
     .WriteOrder = 13,
     .Shapes = kShapesAxes},
    {.Name = nullptr,
     .Type = TOptionType::Color,
     .Whole = &TKestoState::ColorAxisZ,
     .Default = 0x008000,
     .Section = "KestoF",
     .Key = "Color_Axis_Z",
     .WriteOrder = 14,
     .Shapes = kShapesAxes},
    {.Name = "contours",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::Contours,
     .Keep = TKeep::Cycle,
     .Low = 0,
     .High = 2,
     .Count = true,
     .Given = display_option_detail::SetContours,
     .Value = "[N]",
     .Help = "contour lines, at N levels at round values (default 10)",
     .Section = "KestoF",
     .Key = "Contours",
     .WriteOrder = 25},
    {.Name = nullptr,
     .Type = TOptionType::Number,
     .Whole = &TKestoState::ContourLevels,
     .Default = 10,
     .Keep = TKeep::Clamp,
     .Low = 1,
     .High = 1000,
     .Section = "KestoF",
     .Key = "ContourLevels",
     .WriteOrder = 26},
    {.Name = "contour-interval",
     .Type = TOptionType::Numbers,
     .Real = &TKestoState::ContourInterval,
     .Low = 1,
     .High = 2,
     .Given = display_option_detail::SetContourInterval,
     .Value = "STEP[,OFFSET]",
     .Help = "contour lines every STEP from OFFSET (default 0)",
     .Section = "KestoF",
     .Key = "ContourInterval",
     .WriteOrder = 27,
     .Stored = TStored::Text},
    {.Name = nullptr,
     .Type = TOptionType::Number,
     .Real = &TKestoState::ContourOffset,
     .Section = "KestoF",
     .Key = "ContourOffset",
     .WriteOrder = 28,
     .Stored = TStored::Text},
    {.Name = "contour-levels",
     .Type = TOptionType::Numbers,
     .List = &TKestoState::ContourList,
     .Low = 1,
     .High = 1000,
     .Given = display_option_detail::SetContourList,
     .Value = "A,B,...",
     .Help = "contour lines at these levels"},
    {.Name = "contour-base",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::Contours,
     .Set = 2,
     .Help = "contour lines on the 3-D graph's base too"},
    {.Name = "contour-coloured",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::ContourColoured,
     .Set = 1,
     .Help = "contour lines in the colour of their height, not the axes'",
     .Section = "KestoF",
     .Key = "ContourColoured",
     .WriteOrder = 29},
    {.Name = "range",
     .Type = TOptionType::Numbers,
     .Real = &TKestoState::RangeLow,
     .Default = kAutoLow,
     .Low = 2,
     .High = 2,
     .Auto = true,
     .Given = display_option_detail::SetColorRange,
     .Value = "LOW,HIGH",
     .Help = "the heights the colours run over; either may be auto\n"
             "(the heights' own)",
     .Section = "KestoF",
     .Key = "ColorLow",
     .WriteOrder = 30,
     .Stored = TStored::Text,
     .Shapes = kShapesGraph},
    {.Name = nullptr,
     .Type = TOptionType::Number,
     .Real = &TKestoState::RangeHigh,
     .Default = kAutoHigh,
     .Section = "KestoF",
     .Key = "ColorHigh",
     .WriteOrder = 31,
     .Stored = TStored::Text,
     .Shapes = kShapesGraph},
    {.Name = "log",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::ColorScale,
     .Keep = TKeep::Reset,
     .Low = 0,
     .High = 1,
     .Set = 1,
     .Help = "colours by the log of the heights",
     .Section = "KestoF",
     .Key = "ColorScale",
     .WriteOrder = 32,
     .Shapes = kShapesGraph},
    {.Name = "steps",
     .Type = TOptionType::Number,
     .Whole = &TKestoState::ColorSteps,
     .Keep = TKeep::Reset,
     .Low = 0,
     .High = 256,
     .Given = display_option_detail::SetColorSteps,
     .Value = "N",
     .Help = "the colours in N equal steps (2 to 256)",
     .Section = "KestoF",
     .Key = "ColorSteps",
     .WriteOrder = 33,
     .Shapes = kShapesGraph},
    {.Name = "out-of-range",
     .Type = TOptionType::Choice,
     .Whole = &TKestoState::OutOfRange,
     .Keep = TKeep::Reset,
     .Low = kOutOfRangeClamp,
     .High = kOutOfRangeColors,
     .Items = kOutOfRangeItems,
     .Given = display_option_detail::SetOutOfRange,
     .Value = "clamp|clip|COLOR,COLOR",
     .Help = "heights beyond the range: in the end colours, left\n"
             "undrawn, or in these colours (#RRGGBB, below and above)",
     .Section = "KestoF",
     .Key = "OutOfRange",
     .WriteOrder = 34,
     .Shapes = kShapesGraph},
    {.Name = nullptr,
     .Type = TOptionType::Color,
     .Whole = &TKestoState::UnderColor,
     .Default = 0x808080,
     .Section = "KestoF",
     .Key = "UnderColor",
     .WriteOrder = 35,
     .Shapes = kShapesGraph},
    {.Name = nullptr,
     .Type = TOptionType::Color,
     .Whole = &TKestoState::OverColor,
     .Default = 0xFFFFFF,
     .Section = "KestoF",
     .Key = "OverColor",
     .WriteOrder = 36,
     .Shapes = kShapesGraph},
    {.Name = "hillshade",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::Hillshade,
     .Keep = TKeep::Reset,
     .Low = 0,
     .High = 2,
     .Count = true,
     .Given = display_option_detail::SetHillshade,
     .Value = "[AZ,ALT]",
     .Help = "shade by a light from AZ degrees clockwise from +y and ALT\n"
             "degrees above the horizon (default 315,45), soft-light",
     .Section = "KestoF",
     .Key = "Hillshade",
     .WriteOrder = 37,
     .Shapes = kShapesGraph},
    {.Name = "hillshade-multiply",
     .Type = TOptionType::Flag,
     .Whole = &TKestoState::Hillshade,
     .Set = 2,
     .Help = "the hillshade multiplied into the colours"},
    {.Name = nullptr,
     .Type = TOptionType::Number,
     .Real = &TKestoState::LightAzimuth,
     .Default = 315,
     .Keep = TKeep::Wrap,
     .Low = 0,
     .High = 360,
     .Section = "KestoF",
     .Key = "LightAzimuth",
     .WriteOrder = 38,
     .Stored = TStored::Text,
     .Shapes = kShapesGraph},
    {.Name = nullptr,
     .Type = TOptionType::Number,
     .Real = &TKestoState::LightAltitude,
     .Default = 45,
     .Keep = TKeep::Clamp,
     .Low = 0,
     .High = 90,
     .Section = "KestoF",
     .Key = "LightAltitude",
     .WriteOrder = 39,
     .Stored = TStored::Text,
     .Shapes = kShapesGraph},
    {.Name = "z-factor",
     .Type = TOptionType::Number,
     .Real = &TKestoState::ZFactor,
     .Default = 1,
     .Keep = TKeep::Clamp,
     .Low = 1e-9,
     .High = 1e9,
     .Value = "F",
     .Help = "the heights against x and y in the hillshade of the map",
     .Section = "KestoF",
     .Key = "ZFactor",
     .WriteOrder = 40,
     .Stored = TStored::Text,
     .Shapes = kShapesGraph},
}};

// The row of the option named name (a table's name, known when compiled).
consteval size_t DisplayOptionAt(std::string_view name) {
  for (size_t k = 0; k < kDisplayOptions.size(); ++k)
    if (kDisplayOptions[k].Name && name == kDisplayOptions[k].Name) return k;
  throw "no such display option";
}

// The width boxes' rows, which the control panel keeps in step with its boxes.
inline constexpr size_t kLineWidthRow = DisplayOptionAt("line-width");
inline constexpr size_t kAxisWidthRow = DisplayOptionAt("axis-width");

// The field's value as a number: a colour as what it shows (a system colour looked up).
double OptionValue(const TDisplayOption& o, const TKestoState& s);
void SetOptionValue(const TDisplayOption& o, TKestoState& s, double v);

// The value v brought back into the option's range.
double KeepInRange(const TDisplayOption& o, double v);

// The width item's value; nothing for a place that names no item.
std::optional<double> WidthOfItem(const TDisplayOption& o, int32_t item);
