#include "app/KestoForm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "app/ErrorReport.h"
#include "app/GLSurface.h"
#include "app/OnExit.h"
#include "app/Overlays.h"
#include "core/PictureName.h"
#include "core/ViewCamera.h"
#include "gui/PictureFile.h"
#include "render/GLVersion.h"
#include "render/ReadPixels.h"

namespace {

// How near the pointer a marker's point must be, in pixels.
constexpr double kMarkerReach = 6;

}  // namespace

TKestoForm::TKestoForm(QWidget* owner) : QWidget(owner, Qt::Window) {
  setWindowTitle("KestoForm");
  move(kGraphWindowLeft, kGraphWindowTop);
  resize(kDefaultClientWidth, kDefaultClientHeight);

  WindowDC = new TGLSurface(this);
  container_ = QWidget::createWindowContainer(WindowDC, this);
  container_->setGeometry(rect());

  Label1 = new QLabel("Please wait...", this);
  QFont font = Label1->font();
  font.setPixelSize(24);
  Label1->setFont(font);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setAutoFillBackground(true);
  // The GL surface is a native child window; the label must be one too to be
  // stacked above it.
  Label1->setAttribute(Qt::WA_NativeWindow);
  Label1->setGeometry(rect());
  Label1->hide();
  ValueLabel = OverlayLabel(this, 12, "", Qt::AlignLeft | Qt::AlignVCenter);
  HelpLabel = OverlayLabel(this, 13, kGraphWindowHelp, Qt::AlignLeft | Qt::AlignTop);
  LoadLabel = OverlayLabel(this, 11, "", Qt::AlignLeft | Qt::AlignVCenter);

  GLContext.InitContext(WindowDC);
  if (GLContext.Active) RendererName = ContextRenderer();
  helper_.ShareWith(GLContext.RC.get());
  nextTurn_.setSingleShot(true);
  nextTurn_.setInterval(0);
  connect(&nextTurn_, &QTimer::timeout, this, [this] { ReportErrors([this] { Work(); }); });
  holdLimit_.setSingleShot(true);
  connect(&holdLimit_, &QTimer::timeout, this, [this] { EndHold(); });
}

TKestoForm::~TKestoForm() {
  // The kept frame's buffer is shared with the helper's context, which outlives ours.
  if (GLContext.MakeCurrent(WindowDC)) {
    Renderer.Release();
    ReleaseCurrentContext(WindowDC);
  }
}

void TKestoForm::resizeEvent(QResizeEvent*) {
  container_->setGeometry(rect());
  Label1->setGeometry(rect());
  ValueLabel->hide();
  HelpLabel->hide();
  if (!loadNote_.isEmpty()) ShowInBottomCorner(LoadLabel, loadNote_);
  Label1->raise();
}

void TKestoForm::ShowLoadNote(const QString& text) {
  loadNote_ = text;
  ShowInBottomCorner(LoadLabel, text);
  Label1->raise();  // "Please wait..." stays over everything
}

void TKestoForm::keyPressEvent(QKeyEvent* event) {
  ReportErrors([&] { FormKeyDown(event->key(), event->modifiers()); });
}

void TKestoForm::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TKestoForm::dragMoveEvent(QDragMoveEvent* event) {
  if (DragFile) DragFile(event);
}

void TKestoForm::dropEvent(QDropEvent* event) {
  if (DropFile) DropFile(event);
}

void TKestoForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
  ValueLabel->hide();
  HelpLabel->hide();
  if (button == Qt::MiddleButton) {
    CopyValueAt(x, y);
    return;
  }
  if (button == Qt::LeftButton && DrawMode == kDrawMode3D) {
    MouseState = kMouseTurning;
  } else if (button == Qt::RightButton) {
    MouseState = kMouseNearFar;
  } else {
    return;
  }
  MouseX = x;
  MouseY = y;
}

void TKestoForm::FormMouseMove(int x, int y) {
  // The help, while it is shown, stays alone over the picture.
  if (MouseState == kMouseIdle && !HelpLabel->isVisible()) ShowValueAt(x, y);
  if (MouseState == kMouseTurning) {
    Angle3 += (x - MouseX) / 2.0;
    Angle2 -= (y - MouseY) / 2.0;
    MouseX = x;
    MouseY = y;
    DragRedraw();
  }
  if (MouseState == kMouseNearFar) {
    Distance -= (y - MouseY) / 100.0;
    MouseX = x;
    MouseY = y;
    DragRedraw();
  }
}

void TKestoForm::FormMouseLeave() { ValueLabel->hide(); }

std::optional<TGridIndex> TKestoForm::PointAt(int x, int y) {
  // Nothing is drawn for a mode outside the known ones.
  if (DrawMode != kDrawMode2D && DrawMode != kDrawMode3D) return std::nullopt;
  if (SurfaceMode < kSurfaceMesh || SurfaceMode > kSurfaceMarkers) return std::nullopt;
  if (!picker_) picker_.emplace(*this);
  const TViewCamera camera(*this, ClientWidth(), ClientHeight());
  // The pointer is at a pixel's corner; the frame samples pixels at their middles.
  if (SurfaceMode == kSurfaceMarkers)
    return picker_->Marker(*this, camera, x + 0.5, y + 0.5, kMarkerReach);
  return picker_->CellCorner(*this, camera, x + 0.5, y + 0.5);
}

void TKestoForm::ShowValueAt(int x, int y) {
  const std::optional<TGridIndex> at = PointAt(x, y);
  if (!at) {
    ValueLabel->hide();
    return;
  }
  ShowInTopCorner(ValueLabel, QString::fromStdString(PointLabel(*this, *at)), QPoint(x, y));
}

void TKestoForm::CopyValueAt(int x, int y) {
  if (const std::optional<TGridIndex> at = PointAt(x, y)) {
    const std::string text = PointCopyText(*this, *at);
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  }
}

void TKestoForm::ShowHelp() {
  ValueLabel->hide();
  ShowInMiddle(HelpLabel);
}

void TKestoForm::DragRedraw() {
  if (int64_t(GridHighI) * GridHighJ > 10000)
    DrawSimpleGraph();
  else
    DrawGraph();
}

void TKestoForm::FormMouseUp() {
  MouseState = kMouseIdle;
  DrawGraph();
}

void TKestoForm::FormMouseWheel(int wheelDelta) {
  HeightScale += wheelDelta / 1000.0;
  MakeList(kMaskAll);
  DrawGraph();
}

void TKestoForm::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  // The help goes with any key, which does nothing else.
  if (HelpLabel->isVisible()) {
    HelpLabel->hide();
    return;
  }
  const bool keypad = shift & Qt::KeypadModifier;
  shift &= ~Qt::KeypadModifier;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) FocusControlPanel();
  if (key == Qt::Key_2 && !keypad) {
    DrawMode = kDrawMode2D;
  } else if (key == Qt::Key_3 && !keypad) {
    DrawMode = kDrawMode3D;
  } else if (key == Qt::Key_C && shift == Qt::ControlModifier) {
    SaveToBitmap("");
  } else if (key == Qt::Key_M) {
    FocusControlPanel();
  } else if (key == Qt::Key_F5 && ReloadFile) {
    ReloadFile();
  } else if (key == Qt::Key_Escape && StopLoad) {
    StopLoad();
  } else if (key == Qt::Key_P && (shift == Qt::NoModifier || shift == Qt::ShiftModifier)) {
    ChangeColoring(shift == Qt::ShiftModifier);
  } else if (key == Qt::Key_L && shift == Qt::NoModifier) {
    Labels = !Labels;
  } else if (key == Qt::Key_F1 || key == Qt::Key_Question) {
    ShowHelp();
  }
  DrawGraph();
}

void TKestoForm::ChangeColoring(bool reverse) {
  if (reverse) {
    ReversePalette = !ReversePalette;
  } else {
    const TColoring next = NextColoring(Spec, Palette);
    Spec = next.Spec;
    Palette = next.Palette;
  }
  if (ColoringChanged) ColoringChanged();
  MakeList(kMaskGraphs);
}

void TKestoForm::FocusControlPanel() {
  QWidget* panel = parentWidget();
  // While a file loads the panel is disabled and cannot take the keyboard; the
  // key still redraws.
  if (!panel || !panel->isEnabled()) return;
  panel->activateWindow();
  panel->setFocus(Qt::OtherFocusReason);
}

void TKestoForm::FormPaint() { DrawGraph(); }

void TKestoForm::FormResize() { DrawGraph(); }

void TKestoForm::DrawGraph() { Draw(false); }

void TKestoForm::DrawSimpleGraph() { Draw(true); }

namespace {

// The driver sees a window's new size once a frame has been shown in it.
constexpr int kRedrawsForANewSize = 2;

}  // namespace

void TKestoForm::WhenIdle(std::function<void()> task) {
  if (Busy())
    whenIdle_.push_back(std::move(task));
  else
    task();
}

void TKestoForm::WaitForExpose(QWindow* window, int limitMs) {
  if (!window || window->isExposed() || abandoned_) return;
  if (heldFor_) heldFor_->removeEventFilter(this);
  heldFor_ = window;
  window->installEventFilter(this);
  holdLimit_.start(limitMs);
}

bool TKestoForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == heldFor_ && event->type() == QEvent::Expose && heldFor_->isExposed()) EndHold();
  return false;
}

void TKestoForm::EndHold() {
  if (!heldFor_) return;
  heldFor_->removeEventFilter(this);
  heldFor_ = nullptr;
  holdLimit_.stop();
  // After the expose itself: the window paints what it shows first.
  if (!abandoned_) nextTurn_.start();
}

void TKestoForm::Abandon() {
  abandoned_ = true;
  EndHold();
  captures_.clear();
}

void TKestoForm::MakeList(int32_t mask) {
  NormalizeView();
  // The grid may be another one now: the point shown may be gone.
  if (mask & kMaskGraphs) {
    picker_.reset();
    ValueLabel->hide();
  }
  Renderer.MarkStale(mask);
  if (!LazyLists) listsWanted_ |= mask;
  Work();
}

void TKestoForm::Draw(bool simple) {
  NormalizeView();
  wantSimple_ = simple;
  frameWanted_ = true;
  Work();
}

void TKestoForm::FinishGraph() {
  finishing_ = true;
  Draw(false);
  finishing_ = false;
}

void TKestoForm::Work() {
  // Work already waiting for its turn takes the new request along: a handler asking
  // twice (a rebuild, then a frame) must not run two turns in a row.
  if (inTurn_ || abandoned_ || (heldFor_ && !finishing_) ||
      (longWork_ && nextTurn_.isActive() && !finishing_))
    return;
  inTurn_ = true;
  turnClock_.start();
  bool done = true;
  try {
    if (GLContext.MakeCurrent(WindowDC)) {
      done = Turn();
    } else {
      // Nothing to draw with: the caption says so, and the picture is black.
      if (std::exchange(frameWanted_, false)) ShowCaption();
      if (!captures_.empty()) {
        captured_ = QImage(DeviceWidth(), DeviceHeight(), QImage::Format_RGB888);
        captured_.fill(Qt::black);
      }
    }
  } catch (...) {
    // What was asked is given up; the window keeps the picture it shows.
    frameWanted_ = false;
    listsWanted_ = 0;
    captures_.clear();
    if (std::exchange(hideAfterCapture_, false)) hide();
    EndTurn(true);
    throw;
  }
  EndTurn(done);
  DeliverCapture();
}

void TKestoForm::DeliverCapture() {
  if (captured_.isNull()) return;
  const QImage picture = std::exchange(captured_, {});
  if (std::exchange(hideAfterCapture_, false)) hide();
  for (const TCaptured& done : std::exchange(captures_, {})) ReportErrors([&] { done(picture); });
}

bool TKestoForm::Turn() {
  // Until it ends, the turn is a part of long work.
  longWork_ = true;
  NormalizeView();
  // A capture is always of a full frame; otherwise the kind asked for last wins.
  const bool capture = !captures_.empty();
  const bool exact = capture || finishing_;
  const bool simple = !exact && wantSimple_;
  const TFrameKey key = CurrentKey(simple);
  const bool framePending = frameWanted_ || capture;
  const TGoOn goOn = [this] { return finishing_ || turnClock_.elapsed() < PauseEveryMs; };
  // On a large grid the preview comes first, in turns of its own.
  if (!exact && !simple && (framePending || Renderer.Stale() & ListsForFrame(*this, false)) &&
      PreviewDue(key)) {
    ShowPreview(key, goOn);
    return false;
  }
  const int32_t lists = listsWanted_ | ListsForFrame(*this, framePending && simple);
  if (!Renderer.Compile(*this, lists, goOn, Helper())) return false;
  listsWanted_ = 0;
  if (!framePending) {
    longWork_ = false;
    return true;
  }
  const auto drawn = Renderer.Draw(*this, key, goOn, Helper());
  if (drawn == TFrameRenderer::TDrawn::Stopped) return false;
  bool again = false;
  if (drawn == TFrameRenderer::TDrawn::Drawn) {
    // Only a frame drawn into a window on screen, at its full size, is a picture
    // worth keeping. Just after the window has changed, the window system may not
    // hold its new size yet, or the driver not have taken it: such a frame is drawn
    // again a moment later.
    const bool onScreen = WindowDC->isExposed() && WindowHasSize(WindowDC, key.Width, key.Height) &&
                          FrameFillsWindow(key.Width, key.Height);
    Renderer.Keep(key, onScreen);
    again = !onScreen && WindowDC->isExposed() && redraws_++ < kRedrawsForANewSize;
    if (onScreen) redraws_ = 0;
  }
  if (capture) {
    const std::vector<uint8_t> rgb = ReadFrameRGB(key.Width, key.Height);
    captured_ = FrameImage(rgb.data(), key.Width, key.Height);
  }
  GLContext.Present();
  ++FramesShown;
  ShowCaption();
  longWork_ = false;  // drawing again for a window not yet ready is no long work
  frameWanted_ = again;
  return !again;
}

void TKestoForm::EndTurn(bool done) {
  NoteGLError();
  inTurn_ = false;
  if (!done && !abandoned_) {
    // The context stays current until the work is done: letting it go would hand the
    // rasteriser each turn's part at once, and the next turn would wait for it.
    // The rest in the next turn of the event loop, after what is waiting there: a
    // timer, which the loop fires only once it has looked at everything else (a posted
    // event would run the next turn straight after this one).
    nextTurn_.start();
    return;
  }
  ReleaseCurrentContext(WindowDC);
  Renderer.Step = "";
  if (!whenIdle_.empty())
    QTimer::singleShot(0, this, [this] {
      for (const auto& task : std::exchange(whenIdle_, {})) task();
    });
}

void TKestoForm::NoteGLError() {
  if (GLContext.Active)
    if (const GLenum error = ContextError(); error != GL_NO_ERROR) LastGLError = error;
}

void TKestoForm::ShowCaption() {
  setWindowTitle(QString::fromStdString(FrameCaption(*this, ClientWidth(), ClientHeight())));
}

bool TKestoForm::PreviewDue(const TFrameKey& key) const {
  return WindowDC->isExposed() && Renderer.PreviewDue(*this, key);
}

void TKestoForm::ShowPreview(const TFrameKey& key, const TGoOn& goOn) {
  if (!Renderer.DrawPreview(*this, key, goOn)) return;
  GLContext.Present();
  Label1->hide();  // "Please wait..." would hide the preview
  ++FramesShown;
  ++PreviewsShown;
}

void TKestoForm::DrawPreviewGraph() {
  NormalizeView();
  if (abandoned_ || inTurn_) return;
  // The preview stands for the frame: the exact one is asked for at the end.
  frameWanted_ = false;
  const TOnExit release([this] {
    NoteGLError();
    ReleaseCurrentContext(WindowDC);
  });
  if (GLContext.MakeCurrent(WindowDC)) {
    // A preview still being drawn for an earlier view is finished first.
    const TFrameKey key = CurrentKey(false);
    do ShowPreview(key, [] { return true; });
    while (Renderer.PreviewDue(*this, key));
  }
}

TPieceHelper* TKestoForm::Helper() { return TwoContexts ? &helper_ : nullptr; }

TFrameKey TKestoForm::CurrentKey(bool simple) const {
  return Renderer.Key(*this, DeviceWidth(), DeviceHeight(), simple);
}

void TKestoForm::CaptureFrame(TCaptured done) {
  if (abandoned_) return;
  captures_.push_back(std::move(done));
  // The frame is read from the window's own buffer, exactly as it is shown (an
  // off-screen buffer would rasterise smooth lines a little differently), so a
  // hidden window is shown for the capture and hidden again.
  if (!isVisible()) {
    show();
    hideAfterCapture_ = true;
    WaitForExpose(WindowDC, 2000);
  }
  Draw(false);
}

namespace {

void WriteCapture(const QImage& picture, const QString& fileName) {
  switch (PictureOutputFor(fileName.toStdString())) {
    case TPictureOutput::Clipboard:
      QGuiApplication::clipboard()->setImage(picture);
      break;
    case TPictureOutput::Jpeg:
      WritePicture(picture, fileName, TPictureFormat::Jpeg);
      break;
    case TPictureOutput::Bitmap:
      WritePicture(picture, fileName, TPictureFormat::Bitmap);
      break;
    case TPictureOutput::Png:
      WritePicture(picture, fileName, TPictureFormat::Png);
      break;
  }
}

}  // namespace

void TKestoForm::SaveToBitmap(const QString& fileName) {
  CaptureFrame([fileName](const QImage& picture) { WriteCapture(picture, fileName); });
}

int TKestoForm::DeviceWidth() const { return qRound(width() * devicePixelRatioF()); }

int TKestoForm::DeviceHeight() const { return qRound(height() * devicePixelRatioF()); }
