#include "kesto-render/RenderOptions.h"

#include "core/ColorScale.h"
#include "core/NumberField.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <span>
#include <string_view>

// The usage before and after the rows of the display options.
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
    "      --coarse           the quick frame the viewer shows while a large grid is\n"
    "                         dragged: a mesh of about ten by ten cells\n";
constexpr const char* kUsageTail =
    "      --contours-out FILE\n"
    "                         write the contour lines as text: for each line a line\n"
    "                         \"level Z\", then \"x y z\" per point, a blank line between\n"
    "                         lines (no -o needed)\n"
    "      --band N           the N-th band of a raster file (from 1; default 1)\n"
    "      --variable NAME    the variable NAME of a NetCDF or HDF5 file\n"
    "      --slice K          the K-th slice of a variable of more dimensions (from 0;\n"
    "                         default 0)\n"
    "      --list-variables   print each 2-D band or variable of FILE with its size\n"
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
    "                         semicolon, matrix, esri, npy or raster (not for the\n"
    "                         sample surface)\n"
    "  Driver, Crs, Part      a raster's: the GDAL driver, the name of its coordinate\n"
    "                         reference system (if any), the band or variable read\n"
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

// A band or slice: a whole number from first.
int ParseIndex(const std::string& option, const std::string& text, int first) {
  int v = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, v);
  if (text.empty() || r.ec != std::errc() || r.ptr != end || v < first || v == INT32_MAX)
    throw TUsageError("--" + option + ": \"" + text + "\" is not a whole number from " +
                      std::to_string(first));
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
  std::string rows;
  for (const TDisplayOption& o : kDisplayOptions) {
    if (!o.Name) continue;
    std::string option =
        std::string("      --") + o.Name + (o.Value ? std::string(" ") + o.Value : "");
    std::string help = o.Help;
    if (o.Keep == TKeep::Clamp || o.Type == TOptionType::Width)
      help += ", " + ShortestText(o.Low) + " to " + ShortestText(o.High);
    if (o.Type == TOptionType::Number || o.Type == TOptionType::Width)
      help += " (default " + ShortestText(o.Default) + ")";
    // The meaning beside the option where it fits, else on the lines below it.
    if (option.size() < 25)
      option.resize(25, ' ');
    else
      option += "\n" + std::string(25, ' ');
    size_t line = 0;
    for (size_t end; (end = help.find('\n', line)) != std::string::npos; line = end + 1)
      option += help.substr(line, end + 1 - line) + std::string(25, ' ');
    rows += option + help.substr(line) + "\n";
  }
  return kUsageHead + rows + kUsageTail;
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

TPictureFormat ParseFormat(const std::string& v) {
  if (const auto format = FormatByName(v)) return *format;
  throw TUsageError("--format: expected png, bmp or jpeg, not \"" + v + "\"");
}

// "a, b or c".
std::string Alternatives(std::span<const char* const> items) {
  std::string text;
  for (size_t k = 0; k < items.size(); ++k)
    text += (k == 0 ? "" : k + 1 == items.size() ? " or " : ", ") + std::string(items[k]);
  return text;
}

// Low to high numbers separated by commas.
std::vector<double> ParseNumbers(const TDisplayOption& o, const std::string& v) {
  std::vector<double> numbers;
  for (size_t at = 0;;) {
    const size_t comma = std::min(v.find(',', at), v.size());
    const std::string number = v.substr(at, comma - at);
    numbers.push_back(o.Auto && number == "auto" ? std::nan("") : ParseReal(o.Name, number));
    if (comma == v.size()) break;
    at = comma + 1;
  }
  if (double(numbers.size()) < o.Low || double(numbers.size()) > o.High)
    throw TUsageError("--" + std::string(o.Name) + ": \"" + v + "\" is not " + o.Value);
  return numbers;
}

// A display option's value as the table's row reads it.
std::vector<double> ParseDisplayValue(const TDisplayOption& o, const std::string& v) {
  switch (o.Type) {
    case TOptionType::Choice:
      for (size_t k = 0; k < o.Items.size(); ++k)
        if (v == o.Items[k]) return {double(k)};
      if (const size_t comma = v.find(',');
          o.Items.back() == std::string_view("colours") && comma != std::string::npos)
        return {double(o.Items.size() - 1), double(ParseHexColor(v.substr(0, comma))),
                double(ParseHexColor(v.substr(comma + 1)))};
      throw TUsageError("--" + std::string(o.Name) + ": expected " + Alternatives(o.Items) +
                        ", not \"" + v + "\"");
    case TOptionType::Color:
      return {double(ParseHexColor(v))};
    case TOptionType::Width:
      return {ParseWidth(o.Name, v, o.High)};
    case TOptionType::Numbers:
      return ParseNumbers(o, v);
    case TOptionType::Number:
    case TOptionType::Flag:
      break;
  }
  return {ParseReal(o.Name, v)};
}

// What a flag that may take a value takes from v: a whole number above 0 ("[N]"), or
// two numbers ("[A,B]"); nothing where v is not that.
std::optional<std::vector<double>> CountValue(const TDisplayOption& row, const std::string& v) {
  if (std::string_view(row.Value) == "[N]") {
    int n = 0;
    const char* end = v.data() + v.size();
    const auto r = std::from_chars(v.data(), end, n);
    if (v.empty() || r.ec != std::errc() || r.ptr != end || n < 1) return std::nullopt;
    return std::vector<double>{double(n)};
  }
  try {
    std::vector<double> pair = ParseNumbers(row, v);
    if (pair.size() == 2) return pair;
  } catch (const TUsageError&) {
  }
  return std::nullopt;
}

// The options that take a value, each with what it does with the value.
std::map<std::string, TValue> ValuedOptions(TRenderOptions& o) {
  std::map<std::string, TValue> options = {
      {"output", [&o](const std::string& v) { o.Output = v; }},
      {"size", [&o](const std::string& v) { ParseSize(v, o); }},
      {"format", [&o](const std::string& v) { o.Format = ParseFormat(v); }},
      {"settings", [&o](const std::string& v) { o.Settings = v; }},
      {"contours-out", [&o](const std::string& v) { o.ContoursOut = v; }},
      {"band", [&o](const std::string& v) { o.Raster.Band = ParseIndex("band", v, 1); }},
      {"slice", [&o](const std::string& v) { o.Raster.Band = ParseIndex("slice", v, 0) + 1; }},
      {"variable", [&o](const std::string& v) { o.Raster.Variable = v; }},
  };
  for (size_t k = 0; k < kDisplayOptions.size(); ++k) {
    const TDisplayOption& row = kDisplayOptions[k];
    if (row.Name && row.Type != TOptionType::Flag)
      options[row.Name] = [&field = o.Display[k], &row](const std::string& v) {
        field = ParseDisplayValue(row, v);
      };
  }
  return options;
}

// The options that take no value, each with what it does.
std::map<std::string, std::function<void()>> FlagOptions(TRenderOptions& o) {
  std::map<std::string, std::function<void()>> flags = {
      {"coarse", [&o] { o.Coarse = true; }},
      {"info", [&o] { o.Info = true; }},
      {"list-variables", [&o] { o.ListVariables = true; }},
      {"help", [&o] { o.Help = true; }},
      {"version", [&o] { o.Version = true; }}};
  for (size_t k = 0; k < kDisplayOptions.size(); ++k)
    if (const TDisplayOption& row = kDisplayOptions[k]; row.Name && row.Type == TOptionType::Flag)
      flags[row.Name] = [&field = o.Display[k], &row] {
        field = row.Count ? std::vector<double>{} : std::vector<double>{row.Set};
      };
  return flags;
}

struct TOption {
  std::string Name, Value;
  bool HasValue = false;
};

// The flag's row where it may take a count after it.
const TDisplayOption* CountedFlag(const std::string& name) {
  for (const TDisplayOption& row : kDisplayOptions)
    if (row.Name && row.Count && name == row.Name) return &row;
  return nullptr;
}

// The count a flag may take: its "=N", or the next argument where that is a whole number
// (a data file named by one alone is written ./N after such a flag). Any other flag
// takes no value.
void TakeCount(const TOption& option, const std::vector<std::string>& args, size_t& k,
               TRenderOptions& o) {
  const TDisplayOption* row = CountedFlag(option.Name);
  if (!row) {
    if (option.HasValue) throw TUsageError("--" + option.Name + " takes no value");
    return;
  }
  std::optional<std::vector<double>> count;
  if (option.HasValue) {
    count = CountValue(*row, option.Value);
    if (!count)
      throw TUsageError("--" + option.Name + ": \"" + option.Value + "\" is not " +
                        (std::string_view(row->Value) == "[N]" ? "a whole number above 0"
                                                               : std::string(row->Value)));
  } else if (k + 1 < args.size()) {
    count = CountValue(*row, args[k + 1]);
    if (count) ++k;
  }
  if (count) o.Display[size_t(row - kDisplayOptions.data())] = *count;
}

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
  const std::map<std::string, std::function<void()>> flags = FlagOptions(o);
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
      flags.at(option.Name)();
      TakeCount(option, args, k, o);
    } else if (valued.count(option.Name)) {
      if (!option.HasValue && k + 1 >= args.size())
        throw TUsageError("--" + option.Name + " needs a value");
      valued.at(option.Name)(option.HasValue ? option.Value : args[++k]);
    } else {
      throw TUsageError("unknown option \"" + a + "\"");
    }
  }
  if (o.ListVariables && (o.Input.empty() || o.Input == "-"))
    throw TUsageError("--list-variables needs a data file");
  if (!o.Help && !o.Info && !o.Version && !o.ListVariables && o.Output.empty() &&
      o.ContoursOut.empty())
    throw TUsageError("no output picture given (-o PATH)");
  return o;
}
