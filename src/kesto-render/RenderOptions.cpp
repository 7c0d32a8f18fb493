#include "kesto-render/RenderOptions.h"

#include "core/ColorScale.h"
#include "core/ViewState.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

const char* const kRenderUsage =
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
    "      --no-axes          leave the axes out\n"
    "      --coarse           the quick frame the viewer shows while a large grid is\n"
    "                         dragged: a mesh of about ten by ten cells\n"
    "      --turn DEG         turn about the vertical axis (default 160)\n"
    "      --tilt DEG         angle from straight above, 5 to 175 (default 45)\n"
    "      --distance D       distance of the eye, 1 to 100 (default 10)\n"
    "      --height-scale H   height of the graph, 0 to 2 (default 0.8)\n"
    "      --line-width W     line width and marker size, 1 to 20 (default 1)\n"
    "      --axis-width W     axis width, 1 to 5 (default 1)\n"
    "      --low #RRGGBB      colour of the lowest heights\n"
    "      --high #RRGGBB     colour of the highest heights\n"
    "      --background #RRGGBB\n"
    "      --axis-color #RRGGBB\n"
    "      --settings FILE    start from a viewer settings file\n"
    "      --info             print the grid's size, ranges and axes origin\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "A turn is taken modulo 360 degrees; a tilt, distance or height scale outside its\n"
    "range is kept at the nearest end, with a note on standard error.\n"
    "\n"
    "--info prints one name and value per line:\n"
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

int32_t ParseHexColor(const std::string& text) {
  uint32_t v = 0;
  const char* end = text.data() + text.size();
  if (text.size() != 7 || text[0] != '#' || std::from_chars(text.data() + 1, end, v, 16).ptr != end)
    throw TUsageError("\"" + text + "\" is not a colour written #RRGGBB");
  return int32_t(PackColor(int(v >> 16), int(v >> 8), int(v)));  // #RRGGBB is written red first
}

TRenderOptions ParseRenderOptions(const std::vector<std::string>& args) {
  TRenderOptions o;
  using TValue = std::function<void(const std::string&)>;
  auto real = [&](std::optional<double>& field, const char* name) {
    return TValue([&field, name](const std::string& v) { field = ParseReal(name, v); });
  };
  auto color = [](std::optional<int32_t>& field) {
    return TValue([&field](const std::string& v) { field = ParseHexColor(v); });
  };
  const std::map<std::string, TValue> valued = {
      {"output", [&](const std::string& v) { o.Output = v; }},
      {"size", [&](const std::string& v) { ParseSize(v, o); }},
      {"view",
       [&](const std::string& v) {
         if (v != "2d" && v != "3d")
           throw TUsageError("--view: expected 2d or 3d, not \"" + v + "\"");
         o.DrawMode = v == "3d" ? kDrawMode3D : kDrawMode2D;
       }},
      {"surface",
       [&](const std::string& v) {
         if (v == "mesh")
           o.SurfaceMode = kSurfaceMesh;
         else if (v == "fill")
           o.SurfaceMode = kSurfaceFilled;
         else if (v == "points")
           o.SurfaceMode = kSurfaceMarkers;
         else
           throw TUsageError("--surface: expected mesh, fill or points, not \"" + v + "\"");
       }},
      {"turn", real(o.Turn, "turn")},
      {"tilt", real(o.Tilt, "tilt")},
      {"distance", real(o.Distance, "distance")},
      {"height-scale", real(o.HeightScale, "height-scale")},
      {"line-width", [&](const std::string& v) { o.LineWidth = ParseWidth("line-width", v, 20); }},
      {"axis-width", [&](const std::string& v) { o.AxisWidth = ParseWidth("axis-width", v, 5); }},
      {"format",
       [&](const std::string& v) {
         o.Format = FormatByName(v);
         if (!o.Format) throw TUsageError("--format: expected png, bmp or jpeg, not \"" + v + "\"");
       }},
      {"low", color(o.Low)},
      {"high", color(o.High)},
      {"background", color(o.Background)},
      {"axis-color", color(o.AxisColor)},
      {"settings", [&](const std::string& v) { o.Settings = v; }},
  };
  const std::map<std::string, bool*> flags = {{"spectrum", &o.Spectrum}, {"no-axes", &o.NoAxes},
                                              {"coarse", &o.Coarse},     {"info", &o.Info},
                                              {"help", &o.Help},         {"version", &o.Version}};
  bool onlyFiles = false;
  for (size_t k = 0; k < args.size(); ++k) {
    std::string a = args[k];
    if (onlyFiles || a.empty() || a[0] != '-' || a == "-") {
      if (!o.Input.empty())
        throw TUsageError("only one data file can be drawn, not \"" + a + "\" too");
      o.Input = a;
      continue;
    }
    if (a == "--") {
      onlyFiles = true;
      continue;
    }
    std::string name, value;
    bool hasValue = false;
    if (a == "-h") {
      name = "help";
    } else if (a.rfind("-o", 0) == 0 && a.rfind("--", 0) != 0) {
      name = "output";
      if (a.size() > 2) value = a.substr(2), hasValue = true;
    } else if (a.rfind("--", 0) == 0) {
      name = a.substr(2);
      if (const size_t eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name = name.substr(0, eq);
        hasValue = true;
      }
    } else {
      throw TUsageError("unknown option \"" + a + "\"");
    }
    if (auto f = flags.find(name); f != flags.end()) {
      if (hasValue) throw TUsageError("--" + name + " takes no value");
      *f->second = true;
    } else if (auto v = valued.find(name); v != valued.end()) {
      if (!hasValue) {
        if (k + 1 >= args.size()) throw TUsageError("--" + name + " needs a value");
        value = args[++k];
      }
      v->second(value);
    } else {
      throw TUsageError("unknown option \"" + a + "\"");
    }
  }
  if (!o.Help && !o.Info && !o.Version && o.Output.empty())
    throw TUsageError("no output picture given (-o PATH)");
  return o;
}
