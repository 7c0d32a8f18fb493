// kesto-render: the viewer's picture of a data file, drawn without a display.
#include <unistd.h>
#include <QGuiApplication>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/ColorRange.h"
#include "core/Contours.h"
#include "core/DataFile.h"
#include "core/DataNotes.h"
#include "core/FloatEnvironment.h"
#include "core/NumberField.h"
#include "core/RasterFile.h"
#include "gui/Application.h"
#include "gui/PictureFile.h"
#include "kesto-render/HeadlessGL.h"
#include "kesto-render/MemoryCheck.h"
#include "kesto-render/RenderOptions.h"
#include "kesto-render/RenderState.h"
#include "render/FrameRenderer.h"
#include "render/ReadPixels.h"

namespace {

// What the file was found to be (nothing for the sample surface), then the grid.
void PrintInfo(const TKestoState& s, const TDataFileNotes* file) {
  if (file) {
    std::printf("Layout %s\n", LayoutName(file->Layout));
    if (!file->ColumnNames.empty())
      std::printf("Columns %s %s %s\n", file->ColumnNames[0].c_str(), file->ColumnNames[1].c_str(),
                  file->ColumnNames[2].c_str());
    std::printf("Holes %lld\n", static_cast<long long>(file->Holes));
    for (const auto& [name, value] :
         {std::pair{"Driver", &file->Driver}, {"Crs", &file->Crs}, {"Part", &file->Part}})
      if (!value->empty()) std::printf("%s %s\n", name, value->c_str());
  }
  std::printf("GridHighI %d\nGridHighJ %d\n", s.GridHighI, s.GridHighJ);
  const std::pair<const char*, double> values[] = {
      {"XMin", s.XMin},       {"XMax", s.XMax},       {"YMin", s.YMin},
      {"YMax", s.YMax},       {"ZMin", s.ZMin},       {"ZMax", s.ZMax},
      {"OriginX", s.OriginX}, {"OriginY", s.OriginY}, {"OriginZ", s.OriginZ}};
  for (const auto& [name, value] : values)
    std::printf("%s %s\n", name, ShortestText(value).c_str());
}

TPictureFormat PictureFormat(const TRenderOptions& o) {
  if (o.Format) return *o.Format;
  if (o.Output == "-") return TPictureFormat::Png;
  if (const auto format = FormatByExtension(o.Output)) return *format;
  throw TRenderFailure{2, "the picture \"" + o.Output + "\" must end in .png, .bmp, .jpg or .jpeg"};
}

// The grid of the data file (or standard input), with a warning for fields read as 0;
// drawing: it is read to be drawn.
void ReadInput(const std::string& input, const TRasterChoice& raster, bool drawing, TKestoState& s,
               TDataFileNotes& notes) {
  try {
    // A grid too large for the memory, or to draw, is not read to its end.
    const TMemoryRoom room = CurrentMemoryRoom();
    const int64_t most =
        drawing ? MostPointsToDraw(room) : PointsThatFit(RoomLeft(room), sizeof(TGridPoint));
    static_cast<TGridData&>(s) =
        input == "-" ? ReadDataStream(STDIN_FILENO, "standard input", {}, '\0', &notes, most)
                     : ReadDataFile(input, {}, '\0', &notes, most, raster);
  } catch (const TDataFileError& e) {
    throw TRenderFailure{1, e.what()};
  }
  if (const std::string warning = NotNumbersWarning(notes); !warning.empty())
    RenderNote("warning: " + warning);
}

// The contour lines at the levels the options choose, as text, whether or not they are
// drawn.
void WriteContourFile(const TKestoState& s, const std::string& path) {
  const TContours lines = TraceContours(s.Grid, s.GridHighI, s.GridHighJ, ContourLevelsOf(s));
  std::ofstream out(path, std::ios::binary);
  if (out) WriteContours(out, lines);
  out.close();
  if (!out)
    throw TRenderFailure{
        1, "cannot write the contour lines to \"" + path + "\": " + std::strerror(errno)};
}

// The usage, the version or each band, variable or slice of a raster file: what is
// asked without drawing anything.
int AnswerAlone(const TRenderOptions& o) {
  if (o.Help) {
    std::fputs(RenderUsage().c_str(), stdout);
  } else if (o.Version) {
    std::puts("kesto-render " KESTO_VERSION);
  } else {
    try {
      for (const TRasterEntry& e : RasterEntries(o.Input)) std::printf("%s\n", e.Label.c_str());
    } catch (const TDataFileError& e) {
      throw TRenderFailure{1, e.what()};
    }
  }
  return 0;
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TRenderOptions o;
  try {
    o = ParseRenderOptions(args);
  } catch (const TUsageError& e) {
    throw TRenderFailure{2, std::string(e.what()) + " (see kesto-render --help)"};
  }
  if (o.Help || o.Version || o.ListVariables) return AnswerAlone(o);
  // A name that names no format is refused before any work.
  const bool drawing = !o.Output.empty();
  const TPictureFormat format = drawing ? PictureFormat(o) : TPictureFormat::Png;

  TKestoState s;
  TDataFileNotes notes;
  if (!o.Input.empty()) ReadInput(o.Input, o.Raster, drawing, s, notes);
  int width = 640, height = 480;
  ApplyRenderOptions(o, s, width, height);
  s.NormalizeView();
  // A colour range or log scale that this grid's heights cannot give is refused, where
  // the viewer would fall back to the heights' own.
  if (o.Display[DisplayOptionAt("range")] || o.Display[DisplayOptionAt("log")])
    if (const std::string problem = TColorRange::Problem(s); !problem.empty())
      throw TRenderFailure{2, problem};
  if (o.Info) PrintInfo(s, o.Input.empty() ? nullptr : &notes);
  // An interval too fine for this grid's heights is told, not put aside as the viewer
  // does.
  if (s.Contours != 0 || !o.ContoursOut.empty()) ContourLevels(ContourSpecOf(s), s.ZMin, s.ZMax);
  if (!o.ContoursOut.empty()) WriteContourFile(s, o.ContoursOut);
  if (!drawing) return 0;

  if (const std::string shortfall = MemoryShortfall(s, CurrentMemoryRoom()); !shortfall.empty())
    throw TRenderFailure{1, shortfall};
  THeadlessGL gl;
  if (!gl.Create(width, height))
    throw TRenderFailure{1, std::string("no off-screen OpenGL: ") + gl.Error()};
  TFrameRenderer renderer;
  renderer.DrawWithoutLists(s, width, height, false);
  // The quick frame keeps the smoothing that the full frames before it set up.
  if (o.Coarse) renderer.DrawWithoutLists(s, width, height, true);
  const std::vector<uint8_t> rgb = ReadFrameRGB(width, height);
  const QImage picture = FrameImage(rgb.data(), width, height);
  try {
    if (o.Output == "-") {
      const QByteArray bytes = EncodePicture(picture, format);
      if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
          std::fflush(stdout) != 0)
        throw TRenderFailure{
            1, std::string("cannot write the picture to standard output: ") + std::strerror(errno)};
    } else {
      WritePicture(picture, QString::fromStdString(o.Output), format);
    }
  } catch (const std::exception& e) {
    throw TRenderFailure{1, e.what()};
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
  } catch (const TRenderFailure& f) {
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
