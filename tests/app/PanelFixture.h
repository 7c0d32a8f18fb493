#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <map>
#include <memory>

#include "Capture.h"
#include "app/ControlPanel.h"
#include "core/TempFiles.h"
#include "render/Frame.h"
#include "render/RecordingSink.h"

// Counts how often a widget was shown.
class TShowCounter : public QObject {
 public:
  int Shown = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    Shown += e->type() == QEvent::Show;
    return false;
  }
};

// The program as it starts: the panel with its graph window shown and every list
// built; every GL call of the graph window is recorded on its way to OpenGL.
class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_ = std::make_unique<TForm1>(settings_.Path("kesto.INI"));
    k_ = panel_->KestoForm;
    k_->LazyLists = false;  // every MakeList compiles, so that tests can count builds
    k_->MakeList(kMaskAll);
    panel_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_.get()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(k_));
    direct_ = k_->Renderer.Sink;
    rec_ = std::make_unique<TRecordingSink>(direct_);
    k_->Renderer.Sink = rec_.get();
    k_->Label1->installEventFilter(&busy_);
  }
  void TearDown() override {
    if (!panel_) return;  // a test that ends its own panel
    k_->Renderer.Sink = direct_;
    panel_.reset();
  }

  // Forgets what was recorded so far.
  void Reset() {
    rec_->Clear();
    busy_.Shown = 0;
    shownBefore_ = k_->FramesShown;
  }
  // A click, and what it started (a load, an animation, the graph window's work)
  // finished.
  void Click(QPushButton* b) {
    Reset();
    QTest::mouseClick(b, Qt::LeftButton);
    WaitIdle();
  }
  void WaitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!panel_->Busy(), 120000); }
  // How often each list was compiled since the last click.
  std::map<GLuint, int> Rebuilt() const {
    std::map<GLuint, int> n;
    for (GLuint list : rec_->Compiled()) ++n[list];
    return n;
  }
  // Frames drawn, and frames put on the window (drawn or shown again), since Reset.
  int Drawn() const { return TRecordingSink::Count(rec_->Calls, TGLOp::ClearColor); }
  int Shown() const { return k_->FramesShown - shownBefore_; }

  TTempDir settings_;
  std::unique_ptr<TForm1> panel_;
  TKestoForm* k_ = nullptr;
  TGLSink* direct_ = nullptr;
  std::unique_ptr<TRecordingSink> rec_;
  TShowCounter busy_;  // the "Please wait..." label
  int shownBefore_ = 0;
};
