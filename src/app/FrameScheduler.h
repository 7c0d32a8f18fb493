#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "render/FrameRenderer.h"

class QWindow;

// What the graph window is asked for, the latest state winning.
struct TFrameRequest {
  bool Frame = false;     // a frame is still to be drawn
  bool Simple = false;    // the kind of frame asked for last
  int32_t Lists = 0;      // lists still to be compiled, beyond the frame's
  bool Capture = false;   // the next frame is full and read back, for those waiting
  bool Exact = false;     // finished now, not in turns
  bool LongWork = false;  // the work waiting takes a new request along (set by the turn)
  QImage Captured;        // the frame read back
};

// When the graph window's work runs. Requests only say what is wanted; the work goes
// in turns of a few tens of milliseconds, each its own turn of the event loop, the
// next going on where the last stopped. FinishNow does it all before it returns.
class TFrameScheduler : public QObject {
 public:
  // turn does what it can of the request while goOn allows; true once it is all done.
  // rest runs once the work is done or given up.
  using TTurn = std::function<bool(TFrameRequest&, const TGoOn&)>;
  TFrameScheduler(TTurn turn, std::function<void()> rest);

  // How long one turn goes on before the event loop has its turn, in milliseconds.
  int PauseEveryMs = 30;

  void AskFrame(bool simple);
  void AskLists(int32_t lists);
  // done gets the next full frame once it is drawn; what it throws is reported.
  using TCaptured = std::function<void(const QImage&)>;
  void AskCapture(TCaptured done);
  // The frame asked for, complete before this returns (a step of the animation).
  void FinishNow();
  // A preview shown in its place: the frame is no longer wanted.
  void ForgetFrame() { request_.Frame = false; }
  // Runs what is asked, unless work already waiting for its turn takes it along.
  void Work();

  // Whether work is still to be done, and what to run from the event loop once it is
  // (at once when none is).
  bool Busy() const;
  bool InTurn() const { return inTurn_; }
  void WhenIdle(std::function<void()> task);
  // Turns wait until window (the busy label, say) is on screen, at most limitMs: what
  // it shows is painted before the work takes the thread.
  void WaitForExpose(QWindow* window, int limitMs);

  // The program is ending: work in progress stops at its next turn and no more starts.
  void Abandon();
  bool Abandoned() const { return abandoned_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void EndTurn(bool done);
  void EndHold();
  void DeliverCapture();

  TTurn turn_;
  std::function<void()> rest_;
  TFrameRequest request_;
  std::vector<TCaptured> captures_;
  bool inTurn_ = false;
  bool abandoned_ = false;
  QTimer nextTurn_;  // a turn waits in the event loop
  QElapsedTimer clock_;
  std::vector<std::function<void()>> whenIdle_;
  QWindow* heldFor_ = nullptr;  // the window turns wait for
  QTimer holdLimit_;
};
