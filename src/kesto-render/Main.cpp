// kesto-render: the viewer's picture of a data file, drawn without a display.
#include <unistd.h>
#include <QGuiApplication>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/DataFile.h"
#include "core/FloatEnvironment.h"
#include "core/StoredSettings.h"
#include "gui/Application.h"
#include "gui/PictureFile.h"
#include "kesto-render/HeadlessGL.h"
#include "kesto-render/MemoryCheck.h"
#include "kesto-render/RenderOptions.h"
#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/ReadPixels.h"

namespace {

struct TFailure {
  int Status;
  std::string Message;
};

std::string Shortest(double v) {
  char text[64];
  const auto r = std::to_chars(text, text + sizeof text, v);
  return std::string(text, r.ptr);
}

// What the file was found to be (nothing for the sample surface), then the grid.
void PrintInfo(const TKestoState& s, const TDataFileNotes* file) {
  if (file) {
    std::printf("Layout %s\n", LayoutName(file->Layout));
    if (!file->ColumnNames.empty())
      std::printf("Columns %s %s %s\n", file->ColumnNames[0].c_str(), file->ColumnNames[1].c_str(),
                  file->ColumnNames[2].c_str());
    std::printf("Holes %lld\n", static_cast<long long>(file->Holes));
  }
  std::printf("GridHighI %d\nGridHighJ %d\n", s.GridHighI, s.GridHighJ);
  const std::pair<const char*, double> values[] = {
      {"XMin", s.XMin},       {"XMax", s.XMax},       {"YMin", s.YMin},
      {"YMax", s.YMax},       {"ZMin", s.ZMin},       {"ZMax", s.ZMax},
      {"OriginX", s.OriginX}, {"OriginY", s.OriginY}, {"OriginZ", s.OriginZ}};
  for (const auto& [name, value] : values) std::printf("%s %s\n", name, Shortest(value).c_str());
}

void Note(const std::string& text) { std::fprintf(stderr, "kesto-render: %s\n", text.c_str()); }

// A value outside what the viewer can hold is kept at the nearest end, and said so.
double Kept(const char* what, double v, double low, double high) {
  if (v >= low && v <= high) return v;
  const double kept = v < low ? low : high;
  Note(std::string("the ") + what + " is kept within " + Shortest(low) + ".." + Shortest(high) +
       "; " + Shortest(kept) + " is used");
  return kept;
}

TPictureFormat PictureFormat(const TRenderOptions& o) {
  if (o.Format) return *o.Format;
  if (o.Output == "-") return TPictureFormat::Png;
  if (const auto format = FormatByExtension(o.Output)) return *format;
  throw TFailure{2, "the picture \"" + o.Output + "\" must end in .png, .bmp, .jpg or .jpeg"};
}

// The view and picture size a viewer settings file gives.
void ApplySettingsFile(const std::string& path, TKestoState& s, int& width, int& height) {
  if (::access(path.c_str(), R_OK) != 0)
    throw TFailure{1, "cannot read the settings file \"" + path + "\": " + std::strerror(errno)};
  const TSettingsFile ini(path);
  if (!ini.Problem().empty()) throw TFailure{1, ini.Problem()};
  const TStoredSettings st = ReadStoredSettings(ini);
  width = st.ClientWidth;
  height = st.ClientHeight;
  ApplyStoredView(st, s);
  // A stored index that names no item leaves the width as it is, as in the viewer.
  s.LineWidth = LineWidthOfItem(st.LineWidthItem).value_or(s.LineWidth);
  s.AxisWidth = AxisWidthOfItem(st.AxisWidthItem).value_or(s.AxisWidth);
}

// The viewer's state for these options: its defaults, then the settings file, then
// the options themselves.
void ApplyOptions(const TRenderOptions& o, TKestoState& s, int& width, int& height) {
  if (!o.Settings.empty()) ApplySettingsFile(o.Settings, s, width, height);
  if (o.Width) width = *o.Width, height = *o.Height;
  if (width < 1 || height < 1 || width > kMaxClientSize || height > kMaxClientSize)
    throw TFailure{1, "the picture size " + std::to_string(width) + "x" + std::to_string(height) +
                          " from the settings file is not from 1x1 to " +
                          std::to_string(kMaxClientSize) + "x" + std::to_string(kMaxClientSize)};
  if (o.DrawMode) s.DrawMode = *o.DrawMode;
  if (o.SurfaceMode) s.SurfaceMode = *o.SurfaceMode;
  if (o.Spectrum) s.Spec = 1;
  if (o.NoAxes) s.AxisMode = kAxesOff;
  if (o.Turn) {
    s.Angle3 = TurnInRange(*o.Turn);
    if (s.Angle3 != *o.Turn)
      Note("the turn " + Shortest(*o.Turn) + " is taken as " + Shortest(s.Angle3) + " degrees");
  }
  if (o.Tilt) s.Angle2 = Kept("tilt", *o.Tilt, 5, 175);
  if (o.Distance) s.Distance = Kept("distance", *o.Distance, 1, 100);
  if (o.HeightScale) s.HeightScale = Kept("height scale", *o.HeightScale, 0, 2);
  if (o.LineWidth) s.LineWidth = *o.LineWidth;
  if (o.AxisWidth) s.AxisWidth = *o.AxisWidth;
  if (o.Low) s.ColorMin = *o.Low;
  if (o.High) s.ColorHigh = *o.High;
  if (o.Background) s.ColorBackGround = *o.Background;
  if (o.AxisColor) s.ColorAxisX = s.ColorAxisY = s.ColorAxisZ = *o.AxisColor;
  // The builders run on a thread of their own, away from the toolkit's palette: the
  // system colours are looked up here.
  for (int32_t* c :
       {&s.ColorMin, &s.ColorHigh, &s.ColorBackGround, &s.ColorAxisX, &s.ColorAxisY, &s.ColorAxisZ})
    *c = int32_t(ResolveColor(*c));
}

// The grid of the data file (or standard input), with a warning for fields read as 0.
void ReadInput(const std::string& input, TKestoState& s, TDataFileNotes& notes) {
  try {
    static_cast<TGridData&>(s) =
        input == "-" ? ReadDataStream(STDIN_FILENO, "standard input", {}, '\0', &notes)
                     : ReadDataFile(input, {}, '\0', &notes);
  } catch (const TDataFileError& e) {
    throw TFailure{1, e.what()};
  }
  if (notes.NotNumbers > 0)
    Note("warning: " + std::to_string(notes.NotNumbers) +
         (notes.NotNumbers == 1 ? " field is" : " fields are") +
         " not a number and read as 0, the first on line " + std::to_string(notes.FirstLine) +
         ": " + notes.FirstText);
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TRenderOptions o;
  try {
    o = ParseRenderOptions(args);
  } catch (const TUsageError& e) {
    throw TFailure{2, std::string(e.what()) + " (see kesto-render --help)"};
  }
  if (o.Help) {
    std::fputs(kRenderUsage, stdout);
    return 0;
  }
  if (o.Version) {
    std::puts("kesto-render " KESTO_VERSION);
    return 0;
  }
  // A name that names no format is refused before any work.
  const bool drawing = !o.Output.empty();
  const TPictureFormat format = drawing ? PictureFormat(o) : TPictureFormat::Png;

  TKestoState s;
  TDataFileNotes notes;
  if (!o.Input.empty()) ReadInput(o.Input, s, notes);
  int width = 640, height = 480;
  ApplyOptions(o, s, width, height);
  s.NormalizeView();
  if (o.Info) PrintInfo(s, o.Input.empty() ? nullptr : &notes);
  if (!drawing) return 0;

  if (const std::string shortfall = MemoryShortfall(s, CurrentMemoryRoom()); !shortfall.empty())
    throw TFailure{1, shortfall};
  THeadlessGL gl;
  if (!gl.Create(width, height))
    throw TFailure{1, std::string("no off-screen OpenGL: ") + gl.Error()};
  TGLDirectSink direct;
  {
    TGLArraySink arrays(direct);
    BuildLists(s, ListsForFrame(s, false) & kList3DMarkers, arrays);
  }
  TGLReplaySink replay(s, direct);
  DrawFrame(s, width, height, false, replay);
  // The quick frame keeps the smoothing that the full frames before it set up.
  if (o.Coarse) DrawFrame(s, width, height, true, replay);
  const std::vector<uint8_t> rgb = ReadFrameRGB(width, height);
  const QImage picture = FrameImage(rgb.data(), width, height);
  try {
    if (o.Output == "-") {
      const QByteArray bytes = EncodePicture(picture, format);
      if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
          std::fflush(stdout) != 0)
        throw TFailure{
            1, std::string("cannot write the picture to standard output: ") + std::strerror(errno)};
    } else {
      WritePicture(picture, QString::fromStdString(o.Output), format);
    }
  } catch (const std::exception& e) {
    throw TFailure{1, e.what()};
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetFloatingPointEnvironment();
  // Never a window: the offscreen platform gives the palette and the image writers.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Our errors are one line each; the toolkit's own notes would only add noise.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  PrepareApplication();
  try {
    return Run(argc, argv);
  } catch (const TFailure& f) {
    std::fprintf(stderr, "kesto-render: %s\n", f.Message.c_str());
    return f.Status;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "kesto-render: the grid is too large for the memory available\n");
    return 1;
  } catch (const std::system_error& e) {
    // A thread that cannot start: its stack found no room under the limits.
    std::fprintf(stderr, "kesto-render: not enough memory to draw the grid: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kesto-render: %s\n", e.what());
    return 1;
  }
}
