#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/GLWindowContext.h"
#include "app/ListHelper.h"
#include "core/SurfacePick.h"
#include "core/ViewState.h"
#include "render/FrameRenderer.h"

class TGLSurface;

// The graph window: owns the OpenGL context, the grid, every viewing and colouring
// parameter and the display lists.
class TKestoForm : public QWidget, public TKestoState {
 public:
  explicit TKestoForm(QWidget* owner = nullptr);
  ~TKestoForm() override;
  TKestoForm(const TKestoForm&) = delete;
  TKestoForm& operator=(const TKestoForm&) = delete;

  QLabel* Label1;
  // Over the picture, never part of it: the grid point under the pointer, and the keys
  // and gestures (F1 or ?).
  QLabel* ValueLabel;
  QLabel* HelpLabel;
  TGLWindowContext GLContext;
  TGLSurface* WindowDC;
  // The lists, the kept frame and the frames of this window.
  TFrameRenderer Renderer;
  // MakeList compiles at once only the lists the next frame replays and leaves the
  // others until a frame first needs them, so a large grid costs one list, not ten.
  // Off: MakeList compiles every list of its mask at once.
  bool LazyLists = true;
  // A large list is compiled in two contexts at once, the window's and a helper's that
  // shares its lists, where the window system allows it. Off: the window's alone.
  bool TwoContexts = true;
  // Pieces of lists the helper's context has compiled so far.
  int64_t HelperPieces() const { return helper_.Compiled(); }
  // The last error OpenGL reported at the end of a list build or a frame.
  GLenum LastGLError = GL_NO_ERROR;
  // Frames put on the window, drawn or shown again unchanged.
  int FramesShown = 0;
  // How long a large rebuild or frame goes on between two looks at the pending window
  // messages, in milliseconds.
  int PauseEveryMs = 30;
  // Frames on the window drawn from a small stand-in of a large grid (PreviewState)
  // while the exact frame was being drawn.
  int PreviewsShown = 0;

  void FormPaint();
  void FormResize();
  void DrawGraph();
  void DrawSimpleGraph();
  void MakeList(int32_t mask);
  // Only the preview, for the steps of the animation.
  void DrawPreviewGraph();

  // Left drag turns and tilts the 3-D view, right drag moves nearer or farther,
  // the wheel raises or flattens the heights; keys 2 and 3 pick the view, Ctrl+C
  // copies the picture, F5 loads the file again, P steps through the colourings and
  // Shift+P reverses the current one, Enter and M hand the keyboard to the control
  // panel.
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp();
  void FormMouseLeave();
  void FormMouseWheel(int wheelDelta);
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);

  // The grid point under window point (x, y) as the frame shows it: the nearest corner
  // of the first cell met from the eye, or the nearest marker within a few pixels.
  std::optional<TGridIndex> PointAt(int x, int y);

  int ClientWidth() const { return width(); }
  int ClientHeight() const { return height(); }
  void SetClientSize(int width, int height) { resize(width, height); }

  // A fresh full frame at the client size, as the window shows it.
  QImage CaptureFrame();
  // Writes the frame as a JPEG (.jpg, .jpeg in any case), as a BMP (any other
  // name) or, for an empty name, puts it on the clipboard; throws when the file
  // cannot be written, leaving any earlier file of that name as it was.
  void SaveToBitmap(const QString& fileName);

  // The panel's: a file dragged over or dropped on the window, and F5.
  std::function<void(QDragMoveEvent*)> DragFile;
  std::function<void(QDropEvent*)> DropFile;
  std::function<void()> ReloadFile;
  // The panel's: keys P and Shift+P changed the colouring.
  std::function<void()> ColoringChanged;

  // Whether long work (a compile, a frame in pieces) is in progress, and what to run
  // from the event loop once it has ended (at once when none is).
  bool Busy() const { return depth_ > 0; }
  void WhenIdle(std::function<void()> task);

  // The program is ending: work in progress stops at its next pause and no more starts.
  void Abandon() { abandoned_ = true; }
  bool Abandoned() const { return abandoned_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Long work (compiling a large list, replaying one) goes in pieces; between two
  // pieces pending window messages are handled. Handlers that run then and need a
  // rebuild or a frame only record the need, so that one piece of work is in progress
  // at a time; the work below them sees the change and starts its step again.
  class TWork;
  void Draw(bool simple, QImage* capture);
  // One try at a complete frame of the current state on the window; false when other
  // work or a change meanwhile means starting again. again: draw once more later.
  bool DrawOnce(QImage* capture, bool& again);
  bool PreviewDue(const TFrameKey& key) const;
  void ShowPreview(const TFrameKey& key);
  bool Pause(uint64_t seen);
  // Go on with the work begun when works_ was seen while nothing else ran meanwhile.
  TGoOn GoOn(uint64_t seen);
  // The second context for compiling, where it is wanted.
  TPieceHelper* Helper();
  TFrameKey CurrentKey(bool simple) const;
  void RequestFrameLater();
  void EndBracket();
  void DragRedraw();
  void ChangeColoring(bool reverse);
  void ShowValueAt(int x, int y);
  void CopyValueAt(int x, int y);
  void ShowHelp();
  void FocusControlPanel();
  int DeviceWidth() const;
  int DeviceHeight() const;

  QWidget* container_;
  int depth_ = 0;             // pieces of work on the stack
  uint64_t works_ = 0;        // pieces of work started so far
  bool wantSimple_ = false;   // the kind of frame last asked for
  bool frameWanted_ = false;  // asked for while other work was in progress
  bool abandoned_ = false;
  std::vector<std::function<void()>> whenIdle_;
  TListHelper helper_;
  int redraws_ = 0;  // frames drawn again in a row because the window was not ready
  QElapsedTimer sincePause_;
  std::optional<TSurfacePicker> picker_;  // made for the grid on the first look-up
};
