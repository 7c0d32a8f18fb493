#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ColorMaps.h"
#include "core/ColorScale.h"
#include "core/Grid.h"

// The values of the mode fields, which stay 32-bit integers: the settings file keeps
// them as numbers, and values outside these are kept as they come.
enum : int32_t { kDrawMode2D = 0, kDrawMode3D = 1 };
enum : int32_t { kSurfaceMesh = 0, kSurfaceFilled = 1, kSurfaceMarkers = 2 };
enum : int32_t { kAxesOff = 0, kAxesOn = 1 };
enum : int32_t { kOutOfRangeClamp = 0, kOutOfRangeClip = 1, kOutOfRangeColors = 2 };
enum : int32_t { kMouseIdle = 0, kMouseTurning = 1, kMouseNearFar = 2 };
// What a graph list draws: a surface mode, or the coarse mesh of quick frames.
enum : int32_t { kVariantMesh = 0, kVariantFilled = 1, kVariantMarkers = 2, kVariantCoarse = 3 };

// The graph window's first place and client size, and the largest client size: a
// larger one would ask the renderer for buffers it cannot make.
inline constexpr int kGraphWindowLeft = 154, kGraphWindowTop = 0;
inline constexpr int kDefaultClientWidth = 640, kDefaultClientHeight = 480;
inline constexpr int kMaxClientSize = 8192;

// A turn wrapped by whole turns of 360 degrees into 0..360, as repeated frames
// would wrap it one turn at a time: a stored or given turn shows as that angle.
double TurnInRange(double degrees);

// Everything the graph window holds that needs no window: the grid, the viewing and
// colouring parameters and the drag state. The graph window inherits it, so the
// other window reads and writes these fields directly.
struct TKestoState : TGridData {
  double EyeX = 0.0, EyeY = 0.0, EyeZ = 0.0;
  int32_t MouseX = 0, MouseY = 0;
  int32_t MouseState = kMouseIdle;
  std::string RendererName;
  // The display options: their defaults and ranges are in kDisplayOptions.
  int32_t DrawMode = 0;
  int32_t SurfaceMode = 0;
  int32_t AxisMode = 0;
  int32_t ColorBackGround = 0;
  int32_t ColorMin = 0;
  int32_t ColorHigh = 0;
  int32_t ColorAxisX = 0;
  int32_t ColorAxisY = 0;
  int32_t ColorAxisZ = 0;
  int32_t Spec = 0;
  // A colour map in place of the colouring Spec chooses (kPaletteOwn: none), and
  // whether the heights run through the colouring from high to low.
  int32_t Palette = 0;
  int32_t ReversePalette = 0;
  // Numbers on the axes and the colour bar (key L).
  int32_t Labels = 0;
  // Tilt, turn, distance and height scale.
  double Angle2 = 0.0;
  double Angle3 = 0.0;
  double Distance = 0.0;
  double HeightScale = 0.0;
  double LineWidth = 0.0;
  double AxisWidth = 0.0;
  // Contour lines (key I): none, on the graph, or on the graph and (3-D) on its base;
  // their levels by count, or every interval from an offset (an interval above 0), or
  // a list (not empty); in the axis colour or coloured by their height.
  int32_t Contours = 0;
  int32_t ContourLevels = 0;
  double ContourInterval = 0.0;
  double ContourOffset = 0.0;
  std::vector<double> ContourList;
  int32_t ContourColoured = 0;
  // The heights the colours run over (an infinite end: the heights' own), on a linear
  // or log scale, continuous or in ColorSteps steps; heights beyond them clamped to the
  // end colours, left undrawn, or in UnderColor and OverColor.
  double RangeLow = 0.0, RangeHigh = 0.0;
  int32_t ColorScale = 0;
  int32_t ColorSteps = 0;
  int32_t OutOfRange = 0;
  int32_t UnderColor = 0, OverColor = 0;
  // Shading by a light from LightAzimuth (degrees clockwise from +y) and LightAltitude
  // (degrees above the horizon): off, blended soft-light, or multiplied; in the map, the
  // heights times ZFactor against x and y (in 3-D, the graph's own proportions).
  int32_t Hillshade = 0;
  double LightAzimuth = 0.0, LightAltitude = 0.0, ZFactor = 0.0;
  double Angle1 = 0.0;
  TSpectrumTable SpectrumTable{};

  // The creation defaults followed by the sample surface and the spectrum table.
  TKestoState();

  // Brings the view fields back into range; each rule runs once.
  void NormalizeView();
};
