#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/ColorScale.h"
#include "core/Grid.h"

// A turn wrapped by whole turns of 360 degrees into 0..360, as repeated frames
// would wrap it one turn at a time: a stored or given turn shows as that angle.
double TurnInRange(double degrees);

// Everything the graph window holds that needs no window: the grid, the viewing and
// colouring parameters and the drag state. The graph window inherits it, so the
// other window reads and writes these fields directly.
struct TKestoState : TGridData {
  double EyeX = 0.0, EyeY = 0.0, EyeZ = 0.0;
  int32_t MouseX = 0, MouseY = 0;
  int32_t MouseState = 0;
  std::string RendererName;
  int32_t DrawMode = 1;
  int32_t SurfaceMode = 0;
  int32_t AxisMode = 1;
  int32_t ColorBackGround = 0x000000;
  int32_t ColorMin = 0xFF0000;
  int32_t ColorHigh = 0x0000FF;
  int32_t ColorAxisX = 0x008000;
  int32_t ColorAxisY = 0x008000;
  int32_t ColorAxisZ = 0x008000;
  int32_t Spec = 0;
  double Angle1 = 0.0;
  double Angle2 = 45.0;
  double Angle3 = 160.0;
  double Distance = 10.0;
  double HeightScale = 0.8;
  double LineWidth = 1.0;
  double AxisWidth = 1.0;
  TSpectrumTable SpectrumTable{};

  // The creation defaults followed by the sample surface and the spectrum table.
  TKestoState();

  // Brings the view fields back into range; each rule runs once.
  void NormalizeView();
};
