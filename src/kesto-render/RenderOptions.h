#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/DataFile.h"
#include "core/DisplayOptions.h"
#include "core/PictureName.h"

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
  std::string ContoursOut;  // where the contour lines are written as text
  bool Coarse = false, Info = false, Help = false, Version = false, ListVariables = false;
  TRasterChoice Raster;  // which band or variable of a raster file
  // The display options given, by the rows of kDisplayOptions: a choice as its item's
  // place, a colour as its value, a flag as what it sets (or the number after it).
  std::array<std::optional<std::vector<double>>, kDisplayOptions.size()> Display;
};

// GNU-style options: "--name value", "--name=value", "-o PATH"; throws TUsageError.
TRenderOptions ParseRenderOptions(const std::vector<std::string>& args);

// "#RRGGBB" as a colour value (0x00BBGGRR).
int32_t ParseHexColor(const std::string& text);

std::string RenderUsage();
