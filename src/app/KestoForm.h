#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/FrameScheduler.h"
#include "app/GLWindowContext.h"
#include "app/ListHelper.h"
#include "core/SurfacePick.h"
#include "core/ViewState.h"
#include "render/FrameRenderer.h"

class TColorsDialog;
class TGLSurface;
class QWindow;

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
  // The "Colours" dialog, made when key R first asks for it.
  TColorsDialog* ColorsDialog = nullptr;
  void ShowColorsDialog();
  // The colouring's name for a moment after a key changed it.
  QLabel* ColoringLabel;
  void ShowColoringNote(const QString& text);
  // What the last load read, or why a watched file was refused: until the next load.
  QLabel* LoadLabel;
  void ShowLoadNote(const QString& text);
  // How far a load or an exact frame has got, in the lower right corner once it has
  // taken ProgressAfterMs; never part of the picture. None: that work has ended.
  QProgressBar* ProgressBar;
  int ProgressAfterMs = 500;
  enum class TWork { Load, Frame };
  void ShowProgress(TWork work, std::optional<double> done);
  const QString& LoadNote() const { return loadNote_; }
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
  // When the work of this window runs: in turns of the event loop, or at once.
  TFrameScheduler Scheduler;
  // Frames on the window drawn from a small stand-in of a large grid (PreviewState)
  // while the exact frame was being drawn.
  int PreviewsShown = 0;

  void FormPaint();
  void FormResize();
  void DrawGraph();
  void DrawSimpleGraph();
  void MakeList(int32_t mask);
  // The program is ending: work in progress stops at its next turn and no more starts.
  void Abandon();

  // Only the preview, for the steps of the animation.
  void DrawPreviewGraph();

  // Left drag turns and tilts the 3-D view, right drag moves nearer or farther,
  // the wheel raises or flattens the heights; keys 2 and 3 pick the view, Ctrl+C
  // copies the picture, F5 loads the file again, Esc ends a load, P steps through
  // the colourings and Shift+P reverses the current one, Enter and M hand the keyboard
  // to the control panel.
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

  // Asks for a fresh full frame at the client size, as the window shows it: done gets
  // it once it is drawn, the window served meanwhile. A hidden window is shown for it
  // and hidden again. What done throws is reported.
  void CaptureFrame(TFrameScheduler::TCaptured done);
  // Writes the next full frame as a JPEG (.jpg, .jpeg in any case), as a BMP (any
  // other name) or, for an empty name, puts it on the clipboard; a file that cannot
  // be written is reported, leaving any earlier file of that name as it was.
  void SaveToBitmap(const QString& fileName);

  // The panel's: a file dragged over or dropped on the window, and F5.
  std::function<void(QDragMoveEvent*)> DragFile;
  std::function<void(QDropEvent*)> DropFile;
  std::function<void()> ReloadFile;
  // The panel's: Esc ends a load still reading.
  std::function<void()> StopLoad;
  // The panel's: keys P and Shift+P changed the colouring.
  std::function<void()> ColoringChanged;

  // A complete frame before it returns, drawn without a look at the event loop and
  // without a preview: a step of the animation.
  void FinishGraph();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // One turn of the scheduler's: a preview, or lists compiled and a frame drawn until
  // goOn says stop; true when nothing is left to do.
  bool Turn(TFrameRequest& r, const TGoOn& goOn);
  bool DrawTurn(TFrameRequest& r, const TGoOn& goOn);
  // A window shown for a capture is hidden again once the frame is read or given up.
  void EndCapture();
  void ShowCaption();
  // Keeps the error OpenGL reported since the last look, if any.
  void NoteGLError();
  bool PreviewDue(const TFrameKey& key) const;
  void ShowPreview(const TFrameKey& key, const TGoOn& goOn);
  // The second context for compiling, where it is wanted.
  TPieceHelper* Helper();
  TFrameKey CurrentKey(bool simple) const;
  void DragRedraw();
  struct TKeyBinding;
  static const std::vector<TKeyBinding>& KeyBindings();
  // The help F1 shows: the mouse, then the keys of KeyBindings.
  static QString KeysHelp();
  void ChangeColoring(bool reverse);
  void ShowValueAt(int x, int y);
  void CopyValueAt(int x, int y);
  void ShowHelp();
  void FocusControlPanel();
  int DeviceWidth() const;
  int DeviceHeight() const;

  QWidget* container_;
  bool hideAfterCapture_ = false;
  TListHelper helper_;
  int redraws_ = 0;  // frames drawn again in a row because the window was not ready
  std::optional<TSurfacePicker> picker_;           // made for the grid on the first look-up
  QString loadNote_;                               // the load label's text, whole
  QTimer coloringShown_;                           // hides the colouring's name
  std::array<std::optional<double>, 2> progress_;  // of a load and of a frame
  QElapsedTimer progressClock_;                    // since either began
};
