#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "core/TempFiles.h"

namespace {

QByteArray Head(const QString& path, int n) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.read(n);
}

class PictureTest : public PanelTest {
 protected:
  QString Path(const char* name) { return QString::fromStdString(dir_.Path(name)); }
  TTempDir dir_;
};

TEST_F(PictureTest, BitmapHoldsExactlyTheFrame) {
  const QString path = Path("frame.bmp");
  Save(*k_, path);
  EXPECT_EQ(Head(path, 2), "BM");
  const QImage saved(path);
  ASSERT_EQ(saved.size(), QSize(640, 480));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB888), Capture(*k_));
}

TEST_F(PictureTest, JpegByExtensionInAnyCase) {
  for (const char* name : {"a.jpg", "b.JPEG", "c.Jpeg"}) {
    const QString path = Path(name);
    Save(*k_, path);
    EXPECT_EQ(Head(path, 3), QByteArray("\xFF\xD8\xFF")) << name;
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(640, 480));
  }
  for (const char* name : {"d.jpe", "f", "g.jpg.bak"}) {
    const QString path = Path(name);
    Save(*k_, path);
    EXPECT_EQ(Head(path, 2), "BM") << name;
  }
  for (const char* name : {"e.png", "h.PNG"}) {
    const QString path = Path(name);
    Save(*k_, path);
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB888), Capture(*k_)) << name;
    EXPECT_EQ(Head(path, 4), "\x89PNG") << name;
  }
}

TEST_F(PictureTest, EmptyNamePutsTheFrameOnTheClipboard) {
  Save(*k_, "");
  const QImage clip = QGuiApplication::clipboard()->image();
  ASSERT_EQ(clip.size(), QSize(640, 480));
  EXPECT_EQ(clip.convertToFormat(QImage::Format_RGB888), Capture(*k_));
}

TEST_F(PictureTest, HiddenWindowStaysHiddenAndInPlace) {
  k_->move(300, 200);
  QGuiApplication::sync();  // the window system has answered the move
  const QPoint where = k_->pos();
  k_->hide();
  const QString path = Path("hidden.bmp");
  Save(*k_, path);
  EXPECT_FALSE(k_->isVisible());
  EXPECT_EQ(k_->pos(), where);
  const QImage saved(path);
  EXPECT_EQ(saved.size(), QSize(640, 480));
  EXPECT_GT(qRed(saved.pixel(162, 470)), 240);  // a real frame: the colour bar
}

TEST_F(PictureTest, UnwritablePathIsReportedAndChangesNothing) {
  const QPoint where = k_->pos();
  QString report;
  auto unwritable = CloseNextErrorReport(&report);
  Save(*k_, Path("no/such/folder/x.bmp"));
  EXPECT_TRUE(unwritable->Answered() && report.contains("x.bmp")) << report.toStdString();
  EXPECT_EQ(k_->pos(), where);
  EXPECT_TRUE(k_->isVisible());
  auto chosen = ChooseFileInNextDialog(Path("missing-folder/y.bmp"));
  auto reported = CloseNextErrorReport(&report);
  Click(panel_->Bt_Save);
  EXPECT_TRUE(chosen->Answered());
  EXPECT_TRUE(reported->Answered());
  EXPECT_TRUE(report.contains("y.bmp")) << report.toStdString();
}

TEST_F(PictureTest, SaveButtonWritesTheChosenFileWithTheDefaultExtension) {
  auto chosen = ChooseFileInNextDialog(Path("picked"));
  Click(panel_->Bt_Save);
  EXPECT_EQ(Head(Path("picked.bmp"), 2), "BM");
  EXPECT_EQ(Rebuilt().size(), 0u);
}

}  // namespace
