// kesto-render's pictures against committed references, on data whose x and y
// ranges differ in length and offset, with the axes' origin inside the data on
// some axes and clamped to an edge on others.
//
// After a deliberate change of the pictures, look at the new ones and take them:
//   KESTO_UPDATE_REFERENCES=1 ctest --test-dir build -R ReferencePicture
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <cstdlib>

namespace {

struct TCase {
  const char* Name;
  const char* Data;      // in data/
  const char* Settings;  // the [KestoF] and [Form] keys of a settings file, or nothing
  const char* Options;
};

const TCase kCases[] = {
    {"3d-mesh", "ridge.txt", nullptr, ""},
    {"3d-fill-spectrum", "ridge.txt", nullptr, "--surface fill --spectrum --size 500x320"},
    {"3d-points-spectrum2", "ridge.txt",
     "[KestoF]\nSpec=2\nSurfaceMode=2\n[Form]\nCmbB_LineWidth=4\n", "--size 360x480"},
    {"3d-fill-spectrum2", "basin.txt", "[KestoF]\nSpec=2\nSurfaceMode=1\n", ""},
    {"3d-eye-axes", "basin.txt",
     "[KestoF]\nAngle2=70\nAngle3=300\nColor_Axis_X=255\nColor_Axis_Y=65280\n"
     "Color_Axis_Z=16711680\n[Form]\nCmbB_AxisWidth=2\n",
     "--distance 7"},
    {"3d-coarse", "basin.txt", "[KestoF]\nColor_Axis_X=255\nColor_Axis_Y=65535\n", "--coarse"},
    {"3d-no-axes", "ridge.txt", "[KestoF]\nAxisMode=-1\n", "--height-scale 1.5 --turn 40"},
    {"2d-mesh", "basin.txt", nullptr, "--view 2d"},
    {"2d-fill", "ridge.txt", nullptr,
     "--view 2d --surface fill --low #204080 --high #ffe000 --background #ffffff --size 640x400"},
    {"2d-points-spectrum", "ridge.txt", nullptr,
     "--view 2d --surface points --spectrum --line-width 6"},
    {"2d-coarse-axes3", "ridge.txt",
     "[KestoF]\nColor_Axis_X=255\nColor_Axis_Y=16776960\n[Form]\nCmbB_AxisWidth=2\n",
     "--view 2d --coarse --size 480x480"},
    {"2d-no-axes-spectrum2", "basin.txt", "[KestoF]\nSpec=2\nSurfaceMode=1\nDrawMode=0\n",
     "--no-axes --distance 8"},
    // Missing heights: the cells around each hole stay undrawn, the markers there too.
    {"2d-fill-holes", "holes.asc", nullptr, "--view 2d --surface fill --size 480x360"},
    {"3d-mesh-holes", "holes.asc", nullptr, "--spectrum --turn 30 --size 480x360"},
    {"2d-points-holes", "holes.asc", nullptr, "--view 2d --surface points --line-width 8"},
};

// Large enough for the last bit of a blend to differ between processors, far too
// small to pass a pixel of another colour.
constexpr int kTolerance = 3;

QString SourceDir() { return KESTO_REFERENCE_DIR; }
QString OutputDir() { return QString(KESTO_OUTPUT_DIR) + "/reference-pictures"; }

// The pixels that differ beyond the tolerance, white on a dimmed copy of the reference.
int Compare(const QImage& actual, const QImage& reference, QImage& difference) {
  difference = reference.convertToFormat(QImage::Format_RGB888);
  int wrong = 0;
  for (int y = 0; y < reference.height(); ++y) {
    for (int x = 0; x < reference.width(); ++x) {
      const QRgb a = actual.pixel(x, y), r = reference.pixel(x, y);
      const bool same = std::abs(qRed(a) - qRed(r)) <= kTolerance &&
                        std::abs(qGreen(a) - qGreen(r)) <= kTolerance &&
                        std::abs(qBlue(a) - qBlue(r)) <= kTolerance;
      wrong += !same;
      difference.setPixel(
          x, y, same ? qRgb(qRed(r) / 4, qGreen(r) / 4, qBlue(r) / 4) : qRgb(255, 255, 255));
    }
  }
  return wrong;
}

class ReferencePicture : public ::testing::TestWithParam<TCase> {};

TEST_P(ReferencePicture, MatchesTheCommittedPicture) {
  const TCase& c = GetParam();
  ASSERT_TRUE(QDir().mkpath(OutputDir()));
  const QString actualPath = OutputDir() + "/" + c.Name + ".png";
  QStringList args = QString(c.Options).split(' ', Qt::SkipEmptyParts);
  if (c.Settings) {
    const QString ini = OutputDir() + "/" + c.Name + ".INI";
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.Settings);
    f.close();
    args << "--settings" << ini;
  }
  args << "-o" << actualPath << SourceDir() + "/data/" + c.Data;
  QProcess render;
  render.start(KESTO_RENDER_PATH, args);
  ASSERT_TRUE(render.waitForFinished(-1));
  ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();

  const QString referencePath = SourceDir() + "/images/" + c.Name + ".png";
  if (qEnvironmentVariableIsSet("KESTO_UPDATE_REFERENCES")) {
    QFile::remove(referencePath);
    ASSERT_TRUE(QFile::copy(actualPath, referencePath));
    return;
  }
  const QImage reference(referencePath);
  ASSERT_FALSE(reference.isNull()) << "no reference " << referencePath.toStdString();
  const QImage actual(actualPath);
  ASSERT_EQ(actual.size(), reference.size());
  QImage difference;
  const int wrong = Compare(actual, reference, difference);
  if (wrong > 0) {
    const QString diffPath = OutputDir() + "/" + c.Name + "-difference.png";
    difference.save(diffPath);
    FAIL() << wrong << " pixels differ: see " << actualPath.toStdString() << " and "
           << diffPath.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferencePicture, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TCase>& info) {
                           return QString(info.param.Name).remove('-').toStdString();
                         });

}  // namespace
