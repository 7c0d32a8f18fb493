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

#include "ReferenceCases.h"

namespace {

QString SourceDir() { return KESTO_REFERENCE_DIR; }
QString OutputDir() { return QString(KESTO_OUTPUT_DIR) + "/reference-pictures"; }

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

// The colour bar of the viridis picture (480 x 360: x 120..359, rows 349..355) shows the
// map's colours as its authors publish them at the ends and in the middle.
TEST(ReferenceColours, TheViridisBarHasThePublishedColours) {
  const QImage picture(SourceDir() + "/images/2d-fill-viridis.png");
  for (const auto& [x, rgb] : {std::pair{120, 0x440154}, {240, 0x21918c}, {359, 0xfde725}}) {
    const QRgb p = picture.pixel(x, 352);
    EXPECT_EQ(p & 0xFFFFFF, QRgb(rgb)) << x;
  }
}

}  // namespace
