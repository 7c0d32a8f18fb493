#include "app/FrameScheduler.h"

#include <QWindow>
#include <utility>

#include "app/ErrorReport.h"
#include "app/OnExit.h"

TFrameScheduler::TFrameScheduler(TTurn turn, std::function<void()> rest)
    : turn_(std::move(turn)), rest_(std::move(rest)) {
  nextTurn_.setSingleShot(true);
  nextTurn_.setInterval(0);
  connect(&nextTurn_, &QTimer::timeout, this, [this] { ReportErrors([this] { Work(); }); });
  holdLimit_.setSingleShot(true);
  connect(&holdLimit_, &QTimer::timeout, this, [this] { EndHold(); });
}

void TFrameScheduler::AskFrame(bool simple) {
  request_.Simple = simple;
  request_.Frame = true;
  Work();
}

void TFrameScheduler::AskLists(int32_t lists) {
  request_.Lists |= lists;
  Work();
}

void TFrameScheduler::AskCapture(TCaptured done) {
  if (abandoned_) return;
  captures_.push_back(std::move(done));
  request_.Capture = true;
  AskFrame(false);
}

void TFrameScheduler::FinishNow() {
  request_.Exact = true;
  const TOnExit end([this] { request_.Exact = false; });
  AskFrame(false);
}

bool TFrameScheduler::Busy() const {
  return inTurn_ || nextTurn_.isActive() || heldFor_ || !captures_.empty() || !whenIdle_.empty();
}

void TFrameScheduler::WhenIdle(std::function<void()> task) {
  if (Busy())
    whenIdle_.push_back(std::move(task));
  else
    task();
}

void TFrameScheduler::WaitForExpose(QWindow* window, int limitMs) {
  if (!window || window->isExposed() || abandoned_) return;
  if (heldFor_) heldFor_->removeEventFilter(this);
  heldFor_ = window;
  window->installEventFilter(this);
  holdLimit_.start(limitMs);
}

bool TFrameScheduler::eventFilter(QObject* watched, QEvent* event) {
  if (watched == heldFor_ && event->type() == QEvent::Expose && heldFor_->isExposed()) EndHold();
  return false;
}

void TFrameScheduler::EndHold() {
  if (!heldFor_) return;
  heldFor_->removeEventFilter(this);
  heldFor_ = nullptr;
  holdLimit_.stop();
  // After the expose itself: the window paints what it shows first.
  if (!abandoned_) nextTurn_.start();
}

void TFrameScheduler::Abandon() {
  abandoned_ = true;
  EndHold();
  captures_.clear();
  request_.Capture = false;
}

void TFrameScheduler::Work() {
  // Work already waiting for its turn takes the new request along: a handler asking
  // twice (a rebuild, then a frame) must not run two turns in a row.
  const bool exact = request_.Exact;
  if (inTurn_ || abandoned_ || (heldFor_ && !exact) ||
      (request_.LongWork && nextTurn_.isActive() && !exact))
    return;
  inTurn_ = true;
  clock_.start();
  bool done = true;
  try {
    done = turn_(request_, [this] { return request_.Exact || clock_.elapsed() < PauseEveryMs; });
  } catch (...) {
    // What was asked is given up; the window keeps the picture it shows.
    request_ = TFrameRequest{};
    request_.Exact = exact;
    captures_.clear();
    EndTurn(true);
    throw;
  }
  EndTurn(done);
  DeliverCapture();
}

void TFrameScheduler::EndTurn(bool done) {
  inTurn_ = false;
  if (!done && !abandoned_) {
    // The rest in the next turn of the event loop, after what is waiting there: a
    // timer, which the loop fires only once it has looked at everything else (a posted
    // event would run the next turn straight after this one).
    nextTurn_.start();
    return;
  }
  rest_();
  if (!whenIdle_.empty())
    QTimer::singleShot(0, this, [this] {
      for (const auto& task : std::exchange(whenIdle_, {})) task();
    });
}

void TFrameScheduler::DeliverCapture() {
  if (request_.Captured.isNull()) return;
  const QImage picture = std::exchange(request_.Captured, {});
  request_.Capture = false;
  for (const TCaptured& done : std::exchange(captures_, {})) ReportErrors([&] { done(picture); });
}
