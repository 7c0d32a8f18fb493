#include "kesto-render/RenderOptions.h"

#include "core/ColorScale.h"
#include "core/NumberField.h"
#include "core/ViewState.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

// The usage before and after the rows of the view numbers.
constexpr const char* kUsageHead =
    "Usage: kesto-render [OPTIONS] [FILE]\n"
    "Draws the picture the Kesto viewer shows for FILE (no FILE: the sample surface;\n"
    "-: standard input) without a display, and writes it.\n"
    "\n"
    "  -o, --output PATH      the picture: .png, .bmp, .jpg or .jpeg (quality 100);\n"
    "                         - writes it to standard output\n"
    "      --format png|bmp|jpeg\n"
    "                         the picture's format whatever its name (default: by\n"
    "                         its extension; png on standard output)\n"
    "      --size WxH         picture size in pixels (default 640x480)\n"
    "      --view 2d|3d       flat map from above or the 3-D graph (default 3d)\n"
    "      --surface mesh|fill|points\n"
    "                         wire mesh, filled cells or a marker at every point\n"
    "      --spectrum         colour by the blue-green-red spectrum\n"
    "      --palette NAME     colour by blend (of --low and --high), spectrum,\n"
    "                         viridis, cividis, magma, inferno, plasma or grey\n"
    "      --reverse          run the colours from the highest heights to the lowest\n"
    "      --no-axes          leave the axes out\n"
    "      --labels           numbers along the axes and the colour bar, and the axes'\n"
    "                         titles (the file's column names, else x, y and z)\n"
    "      --coarse           the quick frame the viewer shows while a large grid is\n"
    "                         dragged: a mesh of about ten by ten cells\n";
constexpr const char* kUsageTail =
    "      --line-width W     line width and marker size, 1 to 20 (default 1)\n"
    "      --axis-width W     axis width, 1 to 5 (default 1)\n"
    "      --low #RRGGBB      colour of the lowest heights\n"
    "      --high #RRGGBB     colour of the highest heights\n"
    "      --background #RRGGBB\n"
    "      --axis-color #RRGGBB\n"
    "      --settings FILE    start from a viewer settings file\n"
    "      --info             print the file's layout, the grid's size, ranges and axes\n"
    "                         origin\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "A turn is taken modulo 360 degrees; a tilt, distance or height scale outside its\n"
    "range is kept at the nearest end, with a note on standard error.\n"
    "\n"
    "--info prints one name and value per line:\n"
    "  Layout                 how the file lays out its points: comma, whitespace,\n"
    "                         semicolon, matrix or esri (not for the sample surface)\n"
    "  Columns                the names of x, y and z from the file's header, if any\n"
    "  Holes                  the points whose height is missing\n"
    "  GridHighI, GridHighJ   the highest row and column index: the file's blocks and\n"
    "                         the points in each block, less one\n"
    "  XMin ... ZMax          the smallest and largest x, y and z\n"
    "  OriginX ... OriginZ    where the axes cross: 0 on each axis, or the end of its\n"
    "                         range nearest to 0\n";

namespace {

const std::string kLargest = std::to_string(kMaxClientSize) + "x" + std::to_string(kMaxClientSize);

double ParseReal(const std::string& option, const std::string& text) {
  double v = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, v);
  if (text.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(v))
    throw TUsageError("--" + option + ": \"" + text + "\" is not a number");
  return v;
}

// A width the viewer's boxes can give.
double ParseWidth(const std::string& option, const std::string& text, double most) {
  const double v = ParseReal(option, text);
  if (v < 1 || v > most)
    throw TUsageError("--" + option + ": \"" + text + "\" is not from 1 to " +
                      std::to_string(int(most)));
  return v;
}

void ParseSize(const std::string& text, TRenderOptions& o) {
  const size_t x = text.find('x');
  int w = 0, h = 0;
  const char* end = text.data() + text.size();
  const bool ok = x != std::string::npos &&
                  std::from_chars(text.data(), text.data() + x, w).ptr == text.data() + x &&
                  std::from_chars(text.data() + x + 1, end, h).ptr == end && x > 0 &&
                  x + 1 < text.size();
  if (!ok || w < 1 || h < 1 || w > kMaxClientSize || h > kMaxClientSize)
    throw TUsageError("--size: \"" + text + "\" is not WIDTHxHEIGHT from 1x1 to " + kLargest);
  o.Width = w;
  o.Height = h;
}

}  // namespace

std::string RenderUsage() {
  std::string view;
  for (const TViewParameter& p : kViewParameters) {
    std::string option = std::string("      --") + p.Option + " " + p.Value;
    option.resize(std::max<size_t>(option.size() + 1, 25), ' ');
    view += option + p.Meaning;
    if (p.Keep == TKeep::Clamp) view += ", " + ShortestText(p.Low) + " to " + ShortestText(p.High);
    view += " (default " + ShortestText(p.Default) + ")\n";
  }
  return kUsageHead + view + kUsageTail;
}

int32_t ParseHexColor(const std::string& text) {
  uint32_t v = 0;
  const char* end = text.data() + text.size();
  if (text.size() != 7 || text[0] != '#' || std::from_chars(text.data() + 1, end, v, 16).ptr != end)
    throw TUsageError("\"" + text + "\" is not a colour written #RRGGBB");
  return int32_t(PackColor(int(v >> 16), int(v >> 8), int(v)));  // #RRGGBB is written red first
}

namespace {

using TValue = std::function<void(const std::string&)>;

int32_t ParseView(const std::string& v) {
  if (v == "2d") return kDrawMode2D;
  if (v == "3d") return kDrawMode3D;
  throw TUsageError("--view: expected 2d or 3d, not \"" + v + "\"");
}

int32_t ParseSurface(const std::string& v) {
  if (v == "mesh") return kSurfaceMesh;
  if (v == "fill") return kSurfaceFilled;
  if (v == "points") return kSurfaceMarkers;
  throw TUsageError("--surface: expected mesh, fill or points, not \"" + v + "\"");
}

TColoring ParseColoring(const std::string& v) {
  if (const auto coloring = ColoringByName(v)) return *coloring;
  throw TUsageError("--palette: expected " + std::string(kColoringNames) + ", not \"" + v + "\"");
}

TPictureFormat ParseFormat(const std::string& v) {
  if (const auto format = FormatByName(v)) return *format;
  throw TUsageError("--format: expected png, bmp or jpeg, not \"" + v + "\"");
}

// The options that take a value, each with what it does with the value.
std::map<std::string, TValue> ValuedOptions(TRenderOptions& o) {
  auto color = [](std::optional<int32_t>& field) {
    return TValue([&field](const std::string& v) { field = ParseHexColor(v); });
  };
  std::map<std::string, TValue> options = {
      {"output", [&o](const std::string& v) { o.Output = v; }},
      {"size", [&o](const std::string& v) { ParseSize(v, o); }},
      {"view", [&o](const std::string& v) { o.DrawMode = ParseView(v); }},
      {"surface", [&o](const std::string& v) { o.SurfaceMode = ParseSurface(v); }},
      {"format", [&o](const std::string& v) { o.Format = ParseFormat(v); }},
      {"palette", [&o](const std::string& v) { o.Coloring = ParseColoring(v); }},
      {"line-width", [&o](const std::string& v) { o.LineWidth = ParseWidth("line-width", v, 20); }},
      {"axis-width", [&o](const std::string& v) { o.AxisWidth = ParseWidth("axis-width", v, 5); }},
      {"low", color(o.Low)},
      {"high", color(o.High)},
      {"background", color(o.Background)},
      {"axis-color", color(o.AxisColor)},
      {"settings", [&o](const std::string& v) { o.Settings = v; }},
  };
  for (size_t k = 0; k < kViewParameters.size(); ++k) {
    const char* name = kViewParameters[k].Option;
    options[name] = [&field = o.View[k], name](const std::string& v) {
      field = ParseReal(name, v);
    };
  }
  return options;
}

struct TOption {
  std::string Name, Value;
  bool HasValue = false;
};

// An argument that starts with "-" as an option's name and, when it carries one, its
// value: "-h", "-oPATH", "--name", "--name=value".
TOption SplitOption(const std::string& a) {
  if (a == "-h") return {"help", "", false};
  if (a.rfind("-o", 0) == 0) return {"output", a.substr(2), a.size() > 2};
  if (a.rfind("--", 0) != 0) throw TUsageError("unknown option \"" + a + "\"");
  const std::string name = a.substr(2);
  const size_t eq = name.find('=');
  if (eq == std::string::npos) return {name, "", false};
  return {name.substr(0, eq), name.substr(eq + 1), true};
}

}  // namespace

TRenderOptions ParseRenderOptions(const std::vector<std::string>& args) {
  TRenderOptions o;
  const std::map<std::string, TValue> valued = ValuedOptions(o);
  const std::map<std::string, bool*> flags = {{"spectrum", &o.Spectrum}, {"no-axes", &o.NoAxes},
                                              {"coarse", &o.Coarse},     {"info", &o.Info},
                                              {"help", &o.Help},         {"version", &o.Version},
                                              {"reverse", &o.Reverse},   {"labels", &o.Labels}};
  bool onlyFiles = false;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "--" && !onlyFiles) {
      onlyFiles = true;
    } else if (onlyFiles || a.empty() || a[0] != '-' || a == "-") {
      if (!o.Input.empty())
        throw TUsageError("only one data file can be drawn, not \"" + a + "\" too");
      o.Input = a;
    } else if (TOption option = SplitOption(a); flags.count(option.Name)) {
      if (option.HasValue) throw TUsageError("--" + option.Name + " takes no value");
      *flags.at(option.Name) = true;
    } else if (valued.count(option.Name)) {
      if (!option.HasValue && k + 1 >= args.size())
        throw TUsageError("--" + option.Name + " needs a value");
      valued.at(option.Name)(option.HasValue ? option.Value : args[++k]);
    } else {
      throw TUsageError("unknown option \"" + a + "\"");
    }
  }
  if (!o.Help && !o.Info && !o.Version && o.Output.empty())
    throw TUsageError("no output picture given (-o PATH)");
  return o;
}
