#include <QFile>
#include <QProcess>

#include "PanelFixture.h"

namespace {

struct TRun {
  int Status;
  QString Out, Err;
};

TRun Render(const QStringList& args) {
  QProcess p;
  p.start(KESTO_RENDER_PATH, args);
  p.waitForFinished(60000);
  return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
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

TEST_F(RenderToolTest, DrawsTheFrameTheViewerDraws) {
  const TRun mesh = Render({"-o", Path("mesh.png")});
  ASSERT_EQ(mesh.Status, 0) << mesh.Err.toStdString();
  const QImage picture(Path("mesh.png"));
  ASSERT_EQ(picture.size(), QSize(640, 480));
  EXPECT_LE(MaxDifference(picture, k_->CaptureFrame()), 2);

  k_->DrawMode = 0;
  k_->SurfaceMode = 1;
  k_->Spec = 1;
  k_->MakeList(kMaskAll);
  const TRun map =
      Render({"--view", "2d", "--surface", "fill", "--spectrum", "-o", Path("map.bmp")});
  ASSERT_EQ(map.Status, 0) << map.Err.toStdString();
  EXPECT_LE(MaxDifference(QImage(Path("map.bmp")), k_->CaptureFrame()), 2);
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
            "GridHighI 1\nGridHighJ 1\nXMin 5\nXMax 9\nYMin -3\nYMax 4\nZMin -8\nZMax 1\n"
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
  const TRun help = Render({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_TRUE(help.Out.contains("--height-scale"));
}

}  // namespace
