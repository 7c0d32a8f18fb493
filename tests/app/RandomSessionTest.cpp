#include <QMessageBox>
#include <QWheelEvent>
#include <cstdio>
#include <random>

#include "Dialogs.h"
#include "PanelFixture.h"
#include "app/GLSurface.h"

namespace {

// KESTO_SEED and KESTO_STEPS choose another session than the usual one.
uint32_t FromEnvironment(const char* name, uint32_t otherwise) {
  const QByteArray value = qgetenv(name);
  bool ok = false;
  const uint32_t v = value.toUInt(&ok);
  return ok ? v : otherwise;
}

// A long session of random panel clicks, width changes, drags, wheel turns, keys,
// loads and saves, with every dialog answered or cancelled. After every step the
// view is in range, the grid consistent, OpenGL silent, and no error report has
// appeared that the step did not ask for.
class RandomSessionTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    k_->LazyLists = true;  // as users run it
    std::printf("KESTO_SEED=%u KESTO_STEPS=%u\n", seed_, steps_);
    good_ = QString::fromStdString(files_.File("good.txt", "0,0,1\n0,1,2\n\n1,0,3\n1,1,-4\n"));
    flat_ = QString::fromStdString(files_.File("flat.txt", "2,2,2\n2,3,2\n\n2,2,2\n2,3,2\n"));
    bad_ = QString::fromStdString(files_.File("bad.txt", "1,1,1\n\n1,1,1\n2,2,2\n"));
    // Any error report that shows up is closed and counted.
    watcher_.setInterval(5);
    QObject::connect(&watcher_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        reports_ << box->text();
        box->done(0);
      }
    });
    watcher_.start();
  }

  QPushButton* AnyButton() {
    TForm1& p = *panel_;
    QPushButton* buttons[] = {p.Bt_Up,           p.Bt_Down,         p.Bt_Left,
                              p.Bt_Right,        p.Bt_Rise,         p.Bt_Fall,
                              p.Bt_Near,         p.Bt_Far,          p.Bt_DrawMode,
                              p.Bt_SurfaceMode,  p.Bt_AxisMode,     p.Bt_Open,
                              p.Bt_Color_Low,    p.Bt_Color_High,   p.Bt_Color_BackGround,
                              p.Bt_Color_Axis_X, p.Bt_Color_Axis_Y, p.Bt_Color_Axis_Z,
                              p.Bt_Load,         p.Bt_Save};
    return buttons[rng_() % std::size(buttons)];
  }

  // One random step; returns how many error reports it may rightly cause. Without
  // dialogs: no panel button (a click may open one).
  int Step(bool dialogs = true) {
    TForm1& p = *panel_;
    QWindow* surface = k_->WindowDC;
    switch (dialogs ? rng_() % 8 : 2 + rng_() % 6) {
      case 0:
      case 1: {
        QPushButton* b = AnyButton();
        if (!b->isEnabled()) return 0;
        TAnswer answer;
        int expected = 0;
        if (b == p.Bt_Load) {
          const int pick = int(rng_() % 5);
          if (pick == 4) {
            answer = CancelNextDialog();
          } else {
            const QString files[] = {good_, flat_, bad_, files_.Path("missing.txt").c_str()};
            answer = ChooseFileInNextDialog(files[pick]);
            expected = pick >= 2;
          }
        } else if (b == p.Bt_Save) {
          const int pick = int(rng_() % 4);
          const char* names[] = {"pic.bmp", "pic.JPG", "no/folder/pic.bmp"};
          answer = pick == 3 ? CancelNextDialog()
                             : ChooseFileInNextDialog(files_.Path(names[pick]).c_str());
          expected = pick == 2;
        } else if (b->text().contains("Color") || b == p.Bt_Color_Low || b == p.Bt_Color_High ||
                   b == p.Bt_Color_BackGround) {
          answer =
              rng_() % 3 ? ChooseColorInNextDialog(int32_t(rng_() & 0xFFFFFF)) : CancelNextDialog();
        }
        QTest::mouseClick(b, Qt::LeftButton);
        if (answer) {
          EXPECT_TRUE(answer->Answered()) << b->text().toStdString();
        }
        return expected;
      }
      case 2:
        QTest::mouseClick(p.CB_Spec, Qt::LeftButton, {}, QPoint(5, 8));
        return 0;
      case 3: {
        QComboBox* box = rng_() % 2 ? p.CmbB_LineWidth : p.CmbB_AxisWidth;
        const int item = int(rng_() % box->count());
        box->setCurrentIndex(item);
        emit box->activated(item);
        return 0;
      }
      case 4: {
        const Qt::MouseButton button = rng_() % 2 ? Qt::LeftButton : Qt::RightButton;
        QPoint at(int(rng_() % 640), int(rng_() % 480));
        QTest::mousePress(surface, button, {}, at);
        for (int k = 0; k < 3; ++k) {
          at += QPoint(int(rng_() % 81) - 40, int(rng_() % 81) - 40);
          QTest::mouseMove(surface, at);
        }
        QTest::mouseRelease(surface, button, {}, at);
        return 0;
      }
      case 5: {
        const int delta = rng_() % 2 ? 120 : -120;
        const QPointF at(10, 10);
        QWheelEvent e(at, surface->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(surface, &e);
        return 0;
      }
      case 6: {
        const Qt::Key keys[] = {Qt::Key_2,      Qt::Key_3, Qt::Key_M,
                                Qt::Key_Return, Qt::Key_C, Qt::Key_X};
        const Qt::Key key = keys[rng_() % std::size(keys)];
        QTest::keyClick(surface, key, rng_() % 3 == 0 ? Qt::ControlModifier : Qt::NoModifier);
        return 0;
      }
      default:
        // Out of range until the next frame, which wraps the turn once.
        k_->Angle3 += double(int(rng_() % 701)) - 350;
        k_->Distance *= -1;
        return 0;
    }
  }

  void ExpectConsistent(uint32_t step) {
    k_->DrawGraph();
    const TKestoForm& k = *k_;
    ASSERT_TRUE(k.Angle2 >= 5 && k.Angle2 <= 175) << step;
    ASSERT_TRUE(k.Angle3 >= 0 && k.Angle3 <= 360) << step << " " << k.Angle3;
    ASSERT_TRUE(k.Distance >= 1 && k.Distance <= 100) << step;
    ASSERT_TRUE(k.HeightScale >= 0 && k.HeightScale <= 2) << step;
    ASSERT_TRUE(k.DrawMode == 0 || k.DrawMode == 1) << step;
    ASSERT_TRUE(k.SurfaceMode >= 0 && k.SurfaceMode <= 2) << step;
    ASSERT_TRUE(k.AxisMode == 0 || k.AxisMode == 1) << step;
    ASSERT_TRUE(GridInvariantsHold(k)) << step;
    ASSERT_EQ(k.LastGLError, GLenum(GL_NO_ERROR)) << step;
    ASSERT_TRUE(panel_->isEnabled()) << step;
  }

  uint32_t seed_ = FromEnvironment("KESTO_SEED", 20261208);
  const uint32_t steps_ = FromEnvironment("KESTO_STEPS", 3000);
  std::mt19937 rng_{seed_};
  TTempDir files_;
  QString good_, flat_, bad_;
  QTimer watcher_;
  QStringList reports_;
};

TEST_F(RandomSessionTest, ThousandsOfStepsKeepEverythingConsistent) {
  int expectedReports = 0;
  for (uint32_t step = 0; step < steps_; ++step) {
    rec_->Clear();
    expectedReports += Step();
    QTest::qWait(0);
    QTRY_VERIFY_WITH_TIMEOUT(panel_->isEnabled(), 120000);  // a load started has ended
    ExpectConsistent(step);
    if (HasFatalFailure()) return;
    ASSERT_EQ(reports_.size(), expectedReports)
        << "step " << step << ": " << reports_.join(" | ").toStdString();
  }
}

// The same session on a grid whose lists go in pieces of a few cells, with the window
// messages looked at after every piece, and a second step sent into the first pause of
// each step's work: requests nested in work, work given up for newer state, frames
// finished at once for a capture, loads during frames.
class RandomPiecesTest : public RandomSessionTest, public ::testing::WithParamInterface<uint32_t> {
 protected:
  void SetUp() override {
    RandomSessionTest::SetUp();
    seed_ = GetParam();
    rng_.seed(seed_);
    std::string grid;
    for (int i = 0; i < 40; ++i) {
      for (int j = 0; j < 40; ++j)
        grid +=
            std::to_string(i) + "," + std::to_string(j) + "," + std::to_string((i * j) % 7) + "\n";
      grid += "\n";
    }
    good_ = QString::fromStdString(files_.File("good.txt", grid));
    k_->Renderer.PieceVertices = 128;
    k_->Scheduler.PauseEveryMs = 0;
  }
};

TEST_P(RandomPiecesTest, StepsInsideLongWorkKeepEverythingConsistent) {
  int expectedReports = 0;
  for (uint32_t step = 0; step < 50; ++step) {
    rec_->Clear();
    QTimer::singleShot(0, [&] { expectedReports += Step(false); });
    expectedReports += Step();
    QTest::qWait(0);
    QTRY_VERIFY_WITH_TIMEOUT(panel_->isEnabled(), 120000);  // a load started has ended
    ExpectConsistent(step);
    if (HasFatalFailure()) return;
    ASSERT_EQ(reports_.size(), expectedReports)
        << "seed " << seed_ << " step " << step << ": " << reports_.join(" | ").toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPiecesTest, ::testing::Range(1U, 9U));

}  // namespace
