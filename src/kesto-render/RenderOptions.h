#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ColorMaps.h"
#include "core/PictureName.h"
#include "core/ViewParameters.h"

// A command line that cannot be understood; the text says what is wrong.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TRenderOptions {
  std::string Output;  // "-": standard output
  std::string Input;   // empty: the sample surface; "-": standard input
  std::string Settings;
  std::optional<TPictureFormat> Format;  // nothing: by the output's extension
  std::optional<int> Width, Height;
  std::optional<int32_t> DrawMode, SurfaceMode;
  bool Spectrum = false, NoAxes = false, Coarse = false, Info = false, Help = false,
       Version = false, Reverse = false, Labels = false;
  std::optional<TColoring> Coloring;
  std::array<std::optional<double>, kViewParameters.size()> View;  // by the table's rows
  std::optional<double> LineWidth, AxisWidth;
  std::optional<int32_t> Low, High, Background, AxisColor;
};

// GNU-style options: "--name value", "--name=value", "-o PATH"; throws TUsageError.
TRenderOptions ParseRenderOptions(const std::vector<std::string>& args);

// "#RRGGBB" as a colour value (0x00BBGGRR).
int32_t ParseHexColor(const std::string& text);

std::string RenderUsage();
