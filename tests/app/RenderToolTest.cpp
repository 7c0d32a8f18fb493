#include <QFile>
#include <QProcess>

#include "PanelFixture.h"
#include "core/BinaryFiles.h"

namespace {

struct TRun {
  int Status;
  QString Out, Err;
};

TRun Render(const QStringList& args, const QByteArray& input = {}, QByteArray* output = nullptr) {
  QProcess p;
  p.start(KESTO_RENDER_PATH, args);
  p.write(input);
  p.closeWriteChannel();
  p.waitForFinished(60000);
  const QByteArray out = p.readAllStandardOutput();
  if (output) *output = out;
  return {p.exitCode(), QString::fromLocal8Bit(out),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

class RenderToolTest : public PanelTest {
 protected:
  QString Path(const char* name) { return QString::fromStdString(dir_.Path(name)); }
  // The largest difference of any colour channel between two pictures.
  static int MaxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
      }
    return worst;
  }
  TTempDir dir_;
};

// Short of memory the driver would crash: kesto-render says so before it starts.
TEST(RenderToolMemory, AGridTooLargeForTheLimitIsAMessage) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit";
#endif
  TTempDir dir;
  std::string row;
  for (int m = 0; m < 700; ++m) row += "1 ";
  std::string matrix;
  for (int k = 0; k < 700; ++k) matrix += row + "\n";
  const std::string data = dir.File("big.txt", matrix);
  for (const char* surface : {"mesh", "fill", "points"}) {
    QProcess p;
    p.start("bash", {"-c", "ulimit -v 350000 && exec \"$0\" --surface \"$1\" -o \"$2\" \"$3\"",
                     KESTO_RENDER_PATH, surface, QString::fromStdString(dir.Path("o.png")),
                     QString::fromStdString(data)});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 1) << surface;
    EXPECT_TRUE(err.startsWith("kesto-render: not enough memory to draw a 700 × 700 grid as "))
        << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.Path("o.png"))));
  }
}

TEST_F(RenderToolTest, DrawsTheFrameTheViewerDraws) {
  const TRun mesh = Render({"-o", Path("mesh.png")});
  ASSERT_EQ(mesh.Status, 0) << mesh.Err.toStdString();
  const QImage picture(Path("mesh.png"));
  ASSERT_EQ(picture.size(), QSize(640, 480));
  EXPECT_LE(MaxDifference(picture, Capture(*k_)), 2);

  k_->DrawMode = 0;
  k_->SurfaceMode = 1;
  k_->Spec = 1;
  k_->MakeList(kMaskAll);
  const TRun map =
      Render({"--view", "2d", "--surface", "fill", "--spectrum", "-o", Path("map.bmp")});
  ASSERT_EQ(map.Status, 0) << map.Err.toStdString();
  EXPECT_LE(MaxDifference(QImage(Path("map.bmp")), Capture(*k_)), 2);
}

TEST_F(RenderToolTest, StartsFromAViewerSettingsFile) {
  const std::string ini =
      dir_.File("k.INI", "[KestoF]\nClientWidth=300\nClientHeight=200\nColor_BackGround=255\n");
  const TRun run = Render({"--settings", QString::fromStdString(ini), "-o", Path("s.png")});
  ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
  const QImage picture(Path("s.png"));
  EXPECT_EQ(picture.size(), QSize(300, 200));
  EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(RenderToolTest, InfoPrintsShortestExactNumbers) {
  const std::string data = dir_.File("d.txt", "5,-3,-8\n9,4,0.1\n\n5,-3,1\n9,4,-2\n");
  const TRun run = Render({"--info", QString::fromStdString(data)});
  ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out,
            "Layout comma\nHoles 0\nGridHighI 1\nGridHighJ 1\nXMin 5\nXMax 9\nYMin -3\nYMax "
            "4\nZMin -8\nZMax 1\n"
            "OriginX 5\nOriginY 0\nOriginZ 0\n");
}

TEST_F(RenderToolTest, FailuresSayWhatAndLeaveNoPicture) {
  const TRun usage = Render({"--surface", "wire", "-o", Path("u.png")});
  EXPECT_EQ(usage.Status, 2);
  EXPECT_EQ(usage.Err.count('\n'), 1) << usage.Err.toStdString();
  EXPECT_TRUE(usage.Err.contains("--surface"));
  const std::string ragged = dir_.File("r.txt", "1,1,1\n\n1,1,1\n2,2,2\n");
  const TRun bad = Render({QString::fromStdString(ragged), "-o", Path("r.png")});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_TRUE(bad.Err.contains("r.txt")) << bad.Err.toStdString();
  EXPECT_EQ(bad.Err.count('\n'), 1);
  EXPECT_FALSE(QFile::exists(Path("r.png")));
  const TRun unwritable = Render({"-o", Path("no/folder/x.png")});
  EXPECT_EQ(unwritable.Status, 1);
  EXPECT_TRUE(unwritable.Err.contains("x.png"));
  EXPECT_EQ(Render({"-o", Path("x.gif")}).Status, 2);
  // Colour options that cannot be met are refused with the reason.
  const QString below =
      QString::fromStdString(dir_.File("b.txt", "0,0,-1\n0,1,-2\n\n1,0,-3\n1,1,-4\n"));
  for (const auto& [args, reason] : std::initializer_list<std::pair<QStringList, QString>>{
           {{"--range", "3,1"}, "--range: the colour range's low end 3 is not below its high"},
           {{"--range", "x,1"}, "--range: \"x\" is not a number"},
           {{"--range", "500,auto"}, "low end 500 is not below its high end"},
           {{"--steps", "1"}, "--steps: the colour steps must be a whole number from 2 to 256"},
           {{"--log", "--range", "-1,auto"}, "a log colour scale needs a range above 0"},
           {{"--log", below}, "a log colour scale needs a height above 0"},
           {{"--out-of-range", "#12345,#000000"}, "\"#12345\" is not a colour"},
           {{"--hillshade=1,95"}, "altitude must be from 0 to 90"}}) {
    const TRun refused = Render(args + QStringList{"-o", Path("c.png")});
    EXPECT_EQ(refused.Status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(refused.Err.contains(reason)) << refused.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("c.png")));
  }
  const TRun help = Render({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_TRUE(help.Out.contains("--height-scale"));
}

TEST_F(RenderToolTest, WorksAsALinuxCommand) {
  EXPECT_EQ(Render({"--version"}).Out, "kesto-render " KESTO_VERSION "\n");
  const QByteArray data = "0,0,1\n0,1,2\n\n1,0,3\n1,1,-4\n";
  const std::string file = dir_.File("d.txt", data.toStdString());
  ASSERT_EQ(Render({QString::fromStdString(file), "-o", Path("f.png")}).Status, 0);
  QByteArray png;
  const TRun piped = Render({"-", "-o", "-"}, data, &png);
  ASSERT_EQ(piped.Status, 0) << piped.Err.toStdString();
  EXPECT_TRUE(piped.Err.isEmpty()) << piped.Err.toStdString();
  EXPECT_EQ(QImage::fromData(png, "PNG"), QImage(Path("f.png")));
  QByteArray bmp;
  Render({"--format", "bmp", "-o", "-", QString::fromStdString(file)}, {}, &bmp);
  EXPECT_TRUE(bmp.startsWith("BM"));

  const TRun tilted = Render({"--tilt", "300", "--turn", "725", "-o", Path("t.png")});
  EXPECT_EQ(tilted.Status, 0);
  EXPECT_TRUE(tilted.Err.contains("the tilt is kept within 5..175; 175 is used"))
      << tilted.Err.toStdString();
  EXPECT_TRUE(tilted.Err.contains("the turn 725 is taken as 5 degrees"))
      << tilted.Err.toStdString();
  const TRun wide = Render({"--line-width", "30", "-o", Path("w.png")});
  EXPECT_EQ(wide.Status, 2);
  EXPECT_TRUE(wide.Err.contains("from 1 to 20")) << wide.Err.toStdString();

  const std::string words = dir_.File("w.txt", "1,2,3\n4,x,y\n");
  const TRun noted = Render({QString::fromStdString(words), "-o", Path("n.png")});
  EXPECT_EQ(noted.Status, 0);
  EXPECT_EQ(noted.Err,
            "kesto-render: warning: 2 fields are not a number and read as 0, the first "
            "on line 2: \"4,x,y\"\n");
}

// A stored turn needing more than one wrap shows as the viewer shows it after start.
TEST_F(RenderToolTest, StoredTurnsAsTheViewerShowsThem) {
  for (const char* turn : {"1085", "-800"}) {
    const std::string ini =
        dir_.File(std::string("t") + turn + ".INI", std::string("[KestoF]\nAngle3=") + turn + "\n");
    const TRun run = Render({"--settings", QString::fromStdString(ini), "-o", Path("t.png")});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    TForm1 viewer(ini);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.KestoForm));
    EXPECT_LE(MaxDifference(QImage(Path("t.png")), Capture(*viewer.KestoForm)), 2) << turn;
  }
}

}  // namespace

#ifdef KESTO_TEST_GDAL
// A GeoTIFF, a NetCDF variable and a .npy array draw the picture of their twin in text,
// pixel for pixel; the GeoTIFF's twin is the committed reference picture's data.
TEST(RenderToolBinary, EachBinaryGridDrawsItsTwinsPicture) {
  const TTempDir dir;
  const THeights terrain = TerrainHeights();
  const std::string tiff = dir.Path("terrain.tif");
  WriteGeoTiff(tiff, {SampleHeights(30, 40, 1), terrain}, {1000, 2, 0, 2050, 0, -3});
  THeights south = terrain;
  std::reverse(south.begin(), south.end());
  const std::string nc = dir.Path("terrain.nc");
  WriteNetCdf(nc, {{"other", SampleHeights(30, 40, 1)}, {"terrain", south}});
  const struct {
    std::string Binary, Twin;
    QStringList Choice;
  } cases[] = {
      {tiff, KESTO_REFERENCE_DIR "/data/terrain.txt", {"--band", "2"}},
      {nc,
       dir.File("nc.txt", TwinText(terrain, 10, 1, 78, -2)),
       {"--variable", "series", "--slice", "1"}},
      {dir.File("t.npy", NpyBytes(terrain, ">f8", true)),
       dir.File("npy.txt", TwinText(terrain, 0, 1, 0, 1)),
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Binary);
    QImage pictures[2];
    for (int k = 0; k < 2; ++k) {
      const QString out = QString::fromStdString(dir.Path("p" + std::to_string(k) + ".png"));
      QStringList args = {"--view", "2d", "--surface", "fill", "--size", "320x240", "-o", out};
      if (k == 0) args << c.Choice;
      args << QString::fromStdString(k == 0 ? c.Binary : c.Twin);
      const TRun run = Render(args);
      ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
      pictures[k] = QImage(out);
    }
    EXPECT_FALSE(pictures[0].isNull());
    EXPECT_EQ(pictures[0], pictures[1]);
  }
  const TRun listed = Render({"--list-variables", QString::fromStdString(nc)});
  EXPECT_EQ(
      listed.Out,
      "other: 40 x 30\nterrain: 40 x 30\nseries, slice 0: 40 x 30\nseries, slice 1: 40 x 30\n");
  for (const auto& [file, choice, part] :
       {std::tuple{tiff, QStringList{"--band", "2"}, "Driver GTiff\nPart band 2\n"},
        {nc, QStringList{"--variable", "series", "--slice", "1"}, "Part series, slice 1\n"}}) {
    const TRun info = Render(QStringList{"--info"} << choice << QString::fromStdString(file));
    EXPECT_TRUE(info.Out.startsWith("Layout raster\nHoles 6\n") && info.Out.contains(part))
        << info.Out.toStdString();
  }
}
#endif
