#include "app/KestoForm.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <bit>

#include "app/ErrorReport.h"
#include "app/GLSurface.h"
#include "app/Overlays.h"
#include "core/PictureName.h"
#include "core/PreviewGrid.h"
#include "core/ViewCamera.h"
#include "gui/PictureFile.h"
#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/GLVersion.h"
#include "render/ListMemory.h"
#include "render/ReadPixels.h"

namespace {

// How near the pointer a marker's point must be, in pixels.
constexpr double kMarkerReach = 6;

}  // namespace

TKestoForm::TKestoForm(QWidget* owner) : QWidget(owner, Qt::Window), Sink(&directSink_) {
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

  GLContext.InitContext(WindowDC);
  if (GLContext.Active) RendererName = ContextRenderer();
}

TKestoForm::~TKestoForm() {
  // The kept frame's buffer is shared with the helper's context, which outlives ours.
  if (GLContext.MakeCurrent(WindowDC)) {
    store_.Release();
    ReleaseCurrentContext(WindowDC);
  }
}

void TKestoForm::resizeEvent(QResizeEvent*) {
  container_->setGeometry(rect());
  Label1->setGeometry(rect());
  Label1->raise();
  ValueLabel->hide();
  HelpLabel->hide();
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

void TKestoForm::DrawGraph() { Draw(false, nullptr); }

void TKestoForm::DrawSimpleGraph() { Draw(true, nullptr); }

namespace {

// The driver sees a window's new size once a frame has been shown in it.
constexpr int kRedrawsForANewSize = 2;

int BitOf(int32_t list) { return std::countr_zero(uint32_t(list)); }

}  // namespace

// A piece of work on the stack. The first one starts the clock for the pauses.
class TKestoForm::TWork {
 public:
  explicit TWork(TKestoForm& form) : form_(form) {
    ++form_.works_;
    if (form_.depth_++ == 0) form_.sincePause_.start();
  }
  ~TWork() {
    if (form_.depth_ == 1) form_.WorkStep = "";
    if (--form_.depth_ == 0 && !form_.whenIdle_.empty())
      QTimer::singleShot(0, &form_, [&form = form_] {
        for (const auto& task : std::exchange(form.whenIdle_, {})) task();
      });
  }
  TWork(const TWork&) = delete;
  TWork& operator=(const TWork&) = delete;

 private:
  TKestoForm& form_;
};

void TKestoForm::WhenIdle(std::function<void()> task) {
  if (depth_ == 0)
    task();
  else
    whenIdle_.push_back(std::move(task));
}

void TKestoForm::MakeList(int32_t mask) {
  NormalizeView();
  // The grid may be another one now: the point shown may be gone.
  if (mask & kMaskGraphs) {
    picker_.reset();
    ValueLabel->hide();
  }
  for (int32_t list : ListsInBuildOrder(mask)) {
    versions_[BitOf(list)] = nextVersion_++;
    staleLists_ |= list;
  }
  if (depth_ > 0 || abandoned_) return;  // the work in progress sees the stale lists
  TWork work(*this);
  if (GLContext.MakeCurrent(WindowDC)) {
    if (staleLists_ & ListsForFrame(*this, false))
      if (const TFrameKey key = CurrentKey(false); PreviewDue(key)) {
        ShowPreview(key);
        Pause(works_);  // the work below starts again where a change calls for it
      }
    while (!abandoned_ && !CompileDue(LazyLists ? ListsForFrame(*this, false) : mask, works_)) {
    }
  }
  EndBracket();
  if (frameWanted_) RequestFrameLater();
}

void TKestoForm::Draw(bool simple, QImage* capture) {
  NormalizeView();
  if (abandoned_) return;
  wantSimple_ = simple;
  if (depth_ > 0 && !capture) {
    frameWanted_ = true;  // the work in progress draws it
    return;
  }
  TWork work(*this);
  bool again = false;
  while (!abandoned_ && !DrawOnce(capture, again)) {
  }
  if (depth_ == 1) frameWanted_ = false;
  EndBracket();
  if (again) RequestFrameLater();
  if (!abandoned_)
    setWindowTitle(QString::fromStdString(FrameCaption(*this, ClientWidth(), ClientHeight())));
}

bool TKestoForm::DrawOnce(QImage* capture, bool& again) {
  const uint64_t seen = works_;
  if (!GLContext.MakeCurrent(WindowDC)) {
    NormalizeView();
    return true;
  }
  NormalizeView();
  // A capture is always of a full frame; otherwise the kind asked for last wins.
  const bool simple = capture ? false : wantSimple_;
  const TFrameKey key = CurrentKey(simple);
  if (!capture && !simple && PreviewDue(key)) {
    ShowPreview(key);
    if (!Pause(seen)) return false;
  }
  if (!CompileDue(ListsForFrame(*this, simple), seen)) return false;
  if (!(shown_ == key && store_.Restore(key.Width, key.Height))) {
    if (!DrawPieces(simple, key, seen)) return false;
    shownDrawMode_ = DrawMode;
    shownSurfaceMode_ = SurfaceMode;
    // Only a frame drawn into a window on screen, at its full size, is a picture
    // worth keeping. Just after the window has changed, the driver may not have
    // seen its new size yet: such a frame is drawn again a moment later.
    const bool onScreen = WindowDC->isExposed() && FrameFillsWindow(key.Width, key.Height);
    if (onScreen) store_.Keep(key.Width, key.Height);
    shown_ = onScreen ? std::optional(key) : std::nullopt;
    again = !onScreen && WindowDC->isExposed() && redraws_++ < kRedrawsForANewSize;
    if (onScreen) redraws_ = 0;
  }
  if (capture) {
    const std::vector<uint8_t> rgb = ReadFrameRGB(key.Width, key.Height);
    *capture = FrameImage(rgb.data(), key.Width, key.Height);
  }
  GLContext.Present();
  ++FramesShown;
  return true;
}

bool TKestoForm::WantsPreview() const {
  // About 0.2 s of the software rasteriser's work for a frame of that many points.
  constexpr int64_t kPreviewPoints = 200000;
  return int64_t(GridHighI + 1) * (GridHighJ + 1) > kPreviewPoints;
}

bool TKestoForm::PreviewDue(const TFrameKey& key) const {
  return WindowDC->isExposed() && shown_ != key && previewed_ != key && WantsPreview();
}

void TKestoForm::ShowPreview(const TFrameKey& key) {
  WorkStep = "preview";
  // One point for every three pixels each way: drawn in well under 0.1 s.
  TKestoState preview = PreviewState(*this, key.Width / 3, key.Height / 3);
  SnapshotSysColors();
  TGLReplaySink replay(preview, *Sink);
  DrawFrame(preview, key.Width, key.Height, false, replay);
  GLContext.Present();
  Label1->hide();  // "Please wait..." would hide the preview
  ++FramesShown;
  ++PreviewsShown;
  previewed_ = key;
}

void TKestoForm::DrawPreviewGraph() {
  NormalizeView();
  if (abandoned_ || depth_ > 0) return;
  TWork work(*this);
  if (GLContext.MakeCurrent(WindowDC)) ShowPreview(CurrentKey(false));
  EndBracket();
}

bool TKestoForm::DrawPieces(bool simple, const TFrameKey& key, uint64_t seen) {
  WorkStep = "replay";
  BeginFrame(*this, key.Width, key.Height, simple, *Sink);
  for (int32_t list : FrameLists(*this, simple)) {
    const int32_t pieces = pieces_[BitOf(list)];
    if (pieces <= 1) {
      Sink->CallList(GLuint(list));
      continue;
    }
    for (int32_t k = 0; k < pieces; ++k) {
      Sink->CallList(PieceName(list, k));
      // A frame whose picture would no longer be the current one is given up unseen.
      if (!Pause(seen) || CurrentKey(simple) != key) return false;
    }
  }
  EndFrame(*this, key.Width, key.Height, *Sink);
  return true;
}

bool TKestoForm::CompileDue(int32_t mask, uint64_t seen) {
  try {
    for (int32_t list : ListsInBuildOrder(mask & staleLists_))
      if (!CompileList(list, seen)) return false;
  } catch (const TShortOfMemory&) {
    DrawMode = shownDrawMode_;
    SurfaceMode = shownSurfaceMode_;
    throw;
  }
  return true;
}

void TKestoForm::CheckRoomForGrid(const TGridData& grid) const {
  // The grid it replaces goes back, and every list made of it.
  double freed = HeldByOthers(0) + double(Grid.capacity()) * sizeof(TGridPoint);
  for (const TGridRow& row : Grid) freed += double(row.capacity()) * sizeof(TGridPoint);
  for (int32_t list : FrameLists(*this, false)) {
    if (!(list & kMaskGraphs)) continue;
    const std::string shortfall =
        ListShortfall(list, grid.GridHighI + 1, grid.GridHighJ + 1, freed,
                      largeListMade_ ? 0 : kFirstLargeListMemory, CurrentMemoryRoom());
    if (!shortfall.empty()) throw TShortOfMemory(shortfall);
  }
}

double TKestoForm::HeldByOthers(int32_t keep) const {
  double held = 0;
  for (int32_t list = 1; list & kMaskGraphs; list *= 2)
    if (!(list & keep)) held += held_[BitOf(list)];
  return held;
}

void TKestoForm::MakeRoomFor(int32_t list, bool inPieces) {
  const int64_t columns = GridHighI + 1, rows = GridHighJ + 1;
  if (ListMemory(list, columns * rows) == 0) return;
  const TMemoryRoom room = CurrentMemoryRoom();
  const double own = held_[BitOf(list)];
  const double extra = inPieces && !largeListMade_ ? kFirstLargeListMemory : 0;
  if (ListShortfall(list, columns, rows, own, extra, room).empty()) return;
  const int32_t keep = list | ListsForFrame(*this, false) | ListsForFrame(*this, true);
  const std::string shortfall =
      ListShortfall(list, columns, rows, own + HeldByOthers(keep), extra, room);
  if (!shortfall.empty()) throw TShortOfMemory(shortfall);
  for (int32_t other = 1; other & kMaskGraphs; other *= 2)
    if (!(other & keep) && held_[BitOf(other)] > 0) ReleaseList(other);
}

void TKestoForm::ReleaseList(int32_t list) {
  const int bit = BitOf(list);
  Sink->DeleteLists(GLuint(list), 1);
  if (pieces_[bit] > 1) Sink->DeleteLists(PieceName(list, 0), pieces_[bit]);
  pieces_[bit] = 0;
  held_[bit] = 0;
  staleLists_ |= list;
}

bool TKestoForm::CompileList(int32_t list, uint64_t seen) {
  const int bit = BitOf(list);
  const uint64_t version = versions_[bit];
  const int32_t pieces = ListPieces(*this, list, PieceVertices);
  MakeRoomFor(list, pieces > 1);
  TGLArraySink arrays(*Sink);
  // The helper's thread sees system colours as they are now.
  SnapshotSysColors();
  const bool shared = TwoContexts && pieces > 1 && helper_.Ready(GLContext.RC.get());
  WorkStep = "compile";
  for (int32_t k = 0; pieces > 1 && k < pieces;) {
    k += CompilePieces(arrays, list, k, pieces, shared);
    // Marked stale again (the grid may be another one now): start it again.
    if (!Pause(seen) || versions_[bit] != version) return false;
  }
  arrays.NewList(GLuint(list));
  if (pieces > 1)
    BuildPieceCalls(list, pieces, arrays);
  else
    BuildListBody(*this, list, arrays);
  arrays.EndList();
  // The pieces of a larger grid that the list no longer calls hold memory.
  const int32_t first = pieces > 1 ? pieces : 0;
  const int32_t had = pieces_[bit] > 1 ? pieces_[bit] : 0;
  if (had > first) arrays.DeleteLists(PieceName(list, first), had - first);
  pieces_[bit] = pieces;
  // A list given back returns at most what it took beyond the grid.
  const int64_t points = int64_t(GridHighI + 1) * (GridHighJ + 1);
  held_[bit] = std::max(0.0, ListMemory(list, points) - double(points) * sizeof(TGridPoint));
  largeListMade_ |= pieces > 1;
  staleLists_ &= ~list;
  return true;
}

int32_t TKestoForm::CompilePieces(TGLSink& arrays, int32_t list, int32_t k, int32_t pieces,
                                  bool shared) {
  const bool two = shared && k + 1 < pieces;
  if (two) helper_.Compile(*this, list, k + 1, pieces);
  try {
    arrays.NewList(PieceName(list, k));
    BuildListPiece(*this, list, k, pieces, arrays);
    arrays.EndList();
  } catch (...) {
    if (two) helper_.Wait();
    throw;
  }
  if (!two) return 1;
  helper_.Wait();
  return 2;
}

bool TKestoForm::Pause(uint64_t seen) {
  if (sincePause_.elapsed() >= PauseEveryMs) {
    QCoreApplication::processEvents();
    sincePause_.start();
    if (!abandoned_) GLContext.MakeCurrent(WindowDC);
  }
  // Other work that ran meanwhile (a capture) may have drawn or compiled over ours.
  return !abandoned_ && works_ == seen;
}

TFrameKey TKestoForm::CurrentKey(bool simple) const {
  return FrameKeyFor(*this, DeviceWidth(), DeviceHeight(), simple, versions_);
}

void TKestoForm::RequestFrameLater() {
  frameWanted_ = false;
  QTimer::singleShot(
      0, this, [this] { ReportErrors([this] { wantSimple_ ? DrawSimpleGraph() : DrawGraph(); }); });
}

void TKestoForm::EndBracket() {
  if (GLContext.Active)
    if (const GLenum error = ContextError(); error != GL_NO_ERROR) LastGLError = error;
  ReleaseCurrentContext(WindowDC);
}

QImage TKestoForm::CaptureFrame() {
  // The frame is read from the window's own buffer, exactly as it is shown (an
  // off-screen buffer would rasterise smooth lines a little differently), so a
  // hidden window is shown for the capture and hidden again.
  const bool wasVisible = isVisible();
  if (!wasVisible) {
    show();
    QDeadlineTimer deadline(2000);
    while (!WindowDC->isExposed() && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  QImage picture;
  Draw(false, &picture);
  if (!wasVisible) hide();
  if (abandoned_) throw TCancelled();
  if (picture.isNull()) {  // no OpenGL: what the window shows is nothing
    picture = QImage(DeviceWidth(), DeviceHeight(), QImage::Format_RGB888);
    picture.fill(Qt::black);
  }
  return picture;
}

void TKestoForm::SaveToBitmap(const QString& fileName) {
  const QImage picture = CaptureFrame();
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

int TKestoForm::DeviceWidth() const { return qRound(width() * devicePixelRatioF()); }

int TKestoForm::DeviceHeight() const { return qRound(height() * devicePixelRatioF()); }
