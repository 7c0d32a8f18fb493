// The viewer under an address-space limit (ulimit -v): a grid or a mode whose lists
// would not fit is refused with the reason before the driver, which does not survive
// a failed allocation, is asked, and the graph shown stays.
#include <sys/resource.h>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "core/MemoryRoom.h"

namespace {

class MemoryLimitTest : public PanelTest {
 protected:
  void TearDown() override {
    setrlimit(RLIMIT_AS, &unlimited_);
    PanelTest::TearDown();
  }
  // Lets the process have `more` bytes beyond what it holds now.
  void Limit(uint64_t more) {
    rlimit limit = unlimited_;
    limit.rlim_cur = CurrentMemoryRoom().Size + more;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
  }
  // An 800 x 800 grid: 640 000 points.
  QString LargeFile() {
    std::string text;
    for (int i = 0; i < 800; ++i) {
      for (int j = 0; j < 800; ++j)
        text +=
            std::to_string(i) + "," + std::to_string(j) + "," + std::to_string((i * j) % 7) + "\n";
      text += "\n";
    }
    return QString::fromStdString(dir_.File("large.txt", text));
  }
  // Runs what should be refused and returns the report it gave.
  QString Refused(const std::function<void()>& action) {
    QString report;
    auto reported = CloseNextErrorReport(&report);
    action();
    EXPECT_TRUE(reported->Answered());
    return report;
  }

  TTempDir dir_;
  const rlimit unlimited_ = [] {
    rlimit l{};
    getrlimit(RLIMIT_AS, &l);
    return l;
  }();
};

TEST_F(MemoryLimitTest, WhatWouldNotFitIsRefusedAndTheGraphStays) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer's shadow memory cannot live under an address-space limit";
#endif
  k_->LazyLists = true;  // as the viewer runs: the lists of the frame shown
  const QString large = LargeFile();
  // The sample as markers; the large grid's markers would need about 450 MB.
  Click(panel_->Bt_SurfaceMode);
  Click(panel_->Bt_SurfaceMode);
  const QImage sample = k_->CaptureFrame();
  Limit(90 << 20);
  const QString atLoad = Refused([&] { panel_->OpenFile(large); });
  EXPECT_TRUE(atLoad.startsWith("not enough memory to draw a 800 × 800 grid as markers: about "))
      << atLoad.toStdString();
  EXPECT_EQ(k_->GridHighI, 49);
  EXPECT_EQ(k_->CaptureFrame(), sample);

  // As a mesh it fits; as filled cells too, beside the mesh; markers do not.
  setrlimit(RLIMIT_AS, &unlimited_);
  Click(panel_->Bt_SurfaceMode);
  panel_->OpenFile(large);
  ASSERT_EQ(k_->GridHighI, 799);
  Limit(100 << 20);
  Click(panel_->Bt_SurfaceMode);
  ASSERT_EQ(k_->SurfaceMode, kSurfaceFilled);
  const QImage filled = k_->CaptureFrame();
  const QString atMode = Refused([&] { Click(panel_->Bt_SurfaceMode); });
  EXPECT_TRUE(atMode.contains("800 × 800 grid as markers")) << atMode.toStdString();
  EXPECT_EQ(k_->SurfaceMode, kSurfaceFilled);
  EXPECT_EQ(k_->CaptureFrame(), filled);
  k_->FormMouseWheel(120);  // the lists it replaces make room for themselves
  EXPECT_EQ(k_->SurfaceMode, kSurfaceFilled);
}

}  // namespace
