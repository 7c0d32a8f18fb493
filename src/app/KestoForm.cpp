#include "app/KestoForm.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <string_view>

#include "app/ColorsDialog.h"
#include "app/ErrorReport.h"
#include "app/GLSurface.h"
#include "app/OnExit.h"
#include "app/Overlays.h"
#include "core/ColorRange.h"
#include "core/PictureName.h"
#include "core/ViewCamera.h"
#include "gui/PictureFile.h"
#include "render/GLVersion.h"
#include "render/ReadPixels.h"

namespace {

// How near the pointer a marker's point must be, in pixels.
constexpr double kMarkerReach = 6;

}  // namespace

TKestoForm::TKestoForm(QWidget* owner)
    : QWidget(owner, Qt::Window),
      Scheduler([this](TFrameRequest& r, const TGoOn& goOn) { return Turn(r, goOn); },
                [this] {
                  ReleaseCurrentContext(WindowDC);
                  Renderer.Step = "";
                }) {
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
  HelpLabel = OverlayLabel(this, 13, "", Qt::AlignLeft | Qt::AlignTop);
  HelpLabel->setText(KeysHelp());
  LoadLabel = OverlayLabel(this, 11, "", Qt::AlignLeft | Qt::AlignVCenter);
  ColoringLabel = OverlayLabel(this, 12, "", Qt::AlignLeft | Qt::AlignVCenter);
  coloringShown_.setSingleShot(true);
  coloringShown_.setInterval(1500);
  connect(&coloringShown_, &QTimer::timeout, ColoringLabel, &QWidget::hide);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setRange(0, 1000);
  ProgressBar->setTextVisible(false);
  ProgressBar->setAttribute(Qt::WA_NativeWindow);  // stacked above the GL surface
  ProgressBar->hide();

  GLContext.InitContext(WindowDC);
  if (GLContext.Active) RendererName = ContextRenderer();
  helper_.ShareWith(GLContext.RC.get());
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
  ProgressBar->setGeometry(width() - 168, height() - 14, 160, 6);
  Label1->raise();
  ProgressBar->raise();
}

void TKestoForm::ShowProgress(TWork work, std::optional<double> done) {
  progress_[size_t(work)] = done;
  const std::optional<double> shown = progress_[0] ? progress_[0] : progress_[1];
  if (!shown) {
    progressClock_.invalidate();
    ProgressBar->hide();
    return;
  }
  if (!progressClock_.isValid()) progressClock_.start();
  if (progressClock_.elapsed() < ProgressAfterMs) return;
  ProgressBar->setValue(int(std::clamp(*shown, 0.0, 1.0) * 1000));
  if (ProgressBar->isHidden()) {
    ProgressBar->show();
    ProgressBar->raise();
  }
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

// The graph window's keys, in the order the help lists them. A key's modifiers must be
// exactly those given (any: whatever is held); a key whose help is empty shares the
// help line of the one before it, and one without a name is left out of the help.
struct TKestoForm::TKeyBinding {
  int Key;
  std::optional<Qt::KeyboardModifiers> Modifiers;
  const char* Name;
  const char* Help;
  void (*Action)(TKestoForm&);
  bool Keypad = true;  // whether the keypad's key of the same name counts too
};

const std::vector<TKestoForm::TKeyBinding>& TKestoForm::KeyBindings() {
  using K = TKestoForm;
  static const std::vector<TKeyBinding> keys = {
      {Qt::Key_2, {}, "2", "flat map, 3-D graph", [](K& k) { k.DrawMode = kDrawMode2D; }, false},
      {Qt::Key_3, {}, "3", "", [](K& k) { k.DrawMode = kDrawMode3D; }, false},
      {Qt::Key_L, Qt::NoModifier, "L", "numbers on the axes and the colour bar",
       [](K& k) { k.Labels = !k.Labels; }},
      {Qt::Key_I, Qt::NoModifier, "I", "contour lines: none, on the graph, on its base too",
       [](K& k) { k.Contours = (k.Contours + 1) % 3; }},
      {Qt::Key_P, Qt::NoModifier, "P",
       "next colouring: blend, spectrum, viridis, cividis,\n"
       "magma, inferno, plasma, grey",
       [](K& k) {
         k.ChangeColoring(false);
         k.ShowColoringNote(QString::fromStdString(ColoringName(k)));
       }},
      {Qt::Key_P, Qt::ShiftModifier, "Shift+P", "reverse the colouring",
       [](K& k) {
         k.ChangeColoring(true);
         k.ShowColoringNote(QString::fromStdString(ColoringName(k)));
       }},
      {Qt::Key_H, Qt::NoModifier, "H", "hillshade: light on the heights, or none",
       [](K& k) {
         k.Hillshade = k.Hillshade == 0 ? 1 : 0;
         k.ShowColoringNote(k.Hillshade ? "hillshade on" : "hillshade off");
       }},
      {Qt::Key_R, Qt::NoModifier, "R",
       "colours: their range, scale, steps, heights beyond\n"
       "the range and the hillshade's light",
       [](K& k) { k.ShowColorsDialog(); }},
      {Qt::Key_R, Qt::ShiftModifier, "Shift+R",
       "colour range, scale, steps and hillshade back to their defaults",
       [](K& k) {
         ResetColorOptions(k);
         if (k.ColorsDialog) k.ColorsDialog->Fill();
         k.ShowColoringNote("colours as at first");
       }},
      {Qt::Key_C, Qt::ControlModifier, "Ctrl+C", "copy the picture",
       [](K& k) { k.SaveToBitmap(""); }},
      {Qt::Key_F5,
       {},
       "F5",
       "load the file again",
       [](K& k) {
         if (k.ReloadFile) k.ReloadFile();
       }},
      {Qt::Key_Escape,
       {},
       "Esc",
       "stop a load, keeping the graph shown",
       [](K& k) {
         if (k.StopLoad) k.StopLoad();
       }},
      {Qt::Key_Return, {}, "Enter", "to the control panel", [](K& k) { k.FocusControlPanel(); }},
      {Qt::Key_Enter, {}, nullptr, "", [](K& k) { k.FocusControlPanel(); }},
      {Qt::Key_M, {}, "M", "", [](K& k) { k.FocusControlPanel(); }},
      {Qt::Key_F1, {}, "F1", "this help; any key or click hides it", [](K& k) { k.ShowHelp(); }},
      {Qt::Key_Question, {}, "?", "", [](K& k) { k.ShowHelp(); }},
  };
  return keys;
}

QString TKestoForm::KeysHelp() {
  QStringList lines;
  QString names;
  QString help;
  const auto flush = [&] {
    if (names.isEmpty()) return;
    QStringList parts = help.split('\n');
    lines << "  " + names.leftJustified(15) + parts.takeFirst();
    for (const QString& more : parts) lines << QString(17, ' ') + more;
  };
  for (const TKeyBinding& b : KeyBindings()) {
    if (*b.Help) {
      flush();
      names.clear();
      help = b.Help;
    }
    if (b.Name) names += (names.isEmpty() ? "" : ", ") + QString(b.Name);
  }
  flush();
  return kMouseHelp + QString("Keys\n") + lines.join('\n');
}

void TKestoForm::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  // The help goes with any key, which does nothing else.
  if (HelpLabel->isVisible()) {
    HelpLabel->hide();
    return;
  }
  const bool keypad = shift & Qt::KeypadModifier;
  shift &= ~Qt::KeypadModifier;
  for (const TKeyBinding& b : KeyBindings())
    if (b.Key == key && b.Modifiers.value_or(shift) == shift && (b.Keypad || !keypad)) {
      b.Action(*this);
      break;
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

void TKestoForm::ShowColorsDialog() {
  if (!ColorsDialog) ColorsDialog = new TColorsDialog(this, *this, [this] { DrawGraph(); });
  ColorsDialog->Fill();
  ColorsDialog->show();
  ColorsDialog->raise();
  ColorsDialog->activateWindow();
}

void TKestoForm::ShowColoringNote(const QString& text) {
  // Where the value readout goes: the two never show at once, a key press hides it.
  ValueLabel->hide();
  ShowInTopCorner(ColoringLabel, text, mapFromGlobal(QCursor::pos()));
  coloringShown_.start();
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

void TKestoForm::DrawGraph() {
  NormalizeView();
  Scheduler.AskFrame(false);
}

void TKestoForm::DrawSimpleGraph() {
  NormalizeView();
  Scheduler.AskFrame(true);
}

namespace {

// The driver sees a window's new size once a frame has been shown in it.
constexpr int kRedrawsForANewSize = 2;

}  // namespace

void TKestoForm::Abandon() {
  Scheduler.Abandon();
  ShowProgress(TWork::Frame, std::nullopt);
  EndCapture();
}

void TKestoForm::MakeList(int32_t mask) {
  NormalizeView();
  // The grid may be another one now: the point shown may be gone.
  if (mask & kMaskGraphs) {
    picker_.reset();
    ValueLabel->hide();
  }
  Renderer.MarkStale(mask);
  Scheduler.AskLists(LazyLists ? 0 : mask);
}

void TKestoForm::FinishGraph() {
  NormalizeView();
  Scheduler.FinishNow();
}

bool TKestoForm::Turn(TFrameRequest& r, const TGoOn& goOn) {
  const TOnExit look([this] { NoteGLError(); });
  bool done = true;
  try {
    if (GLContext.MakeCurrent(WindowDC)) {
      done = DrawTurn(r, goOn);
    } else {
      // Nothing to draw with: the caption says so, and the picture is black.
      if (std::exchange(r.Frame, false)) ShowCaption();
      if (r.Capture) {
        r.Captured = QImage(DeviceWidth(), DeviceHeight(), QImage::Format_RGB888);
        r.Captured.fill(Qt::black);
      }
    }
  } catch (...) {
    EndCapture();
    ShowProgress(TWork::Frame, std::nullopt);
    throw;
  }
  if (!r.Captured.isNull()) EndCapture();
  // A preview is no part of the exact frame's way.
  if (done)
    ShowProgress(TWork::Frame, std::nullopt);
  else if (std::string_view(Renderer.Step) != "preview")
    ShowProgress(TWork::Frame, Renderer.Progress());
  return done;
}

void TKestoForm::EndCapture() {
  if (std::exchange(hideAfterCapture_, false)) hide();
}

bool TKestoForm::DrawTurn(TFrameRequest& r, const TGoOn& goOn) {
  // Until it ends, the turn is a part of long work.
  r.LongWork = true;
  NormalizeView();
  // A capture is always of a full frame; otherwise the kind asked for last wins.
  const bool exact = r.Capture || r.Exact;
  const bool simple = !exact && r.Simple;
  const TFrameKey key = CurrentKey(simple);
  const bool framePending = r.Frame || r.Capture;
  // On a large grid the preview comes first, in turns of its own.
  if (!exact && !simple && (framePending || Renderer.Stale() & ListsForFrame(*this, false)) &&
      PreviewDue(key)) {
    ShowPreview(key, goOn);
    return false;
  }
  const int32_t lists = r.Lists | ListsForFrame(*this, framePending && simple);
  if (!Renderer.Compile(*this, lists, goOn, Helper())) return false;
  r.Lists = 0;
  if (!framePending) {
    r.LongWork = false;
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
  if (r.Capture) {
    const std::vector<uint8_t> rgb = ReadFrameRGB(key.Width, key.Height);
    r.Captured = FrameImage(rgb.data(), key.Width, key.Height);
  }
  GLContext.Present();
  ++FramesShown;
  ShowCaption();
  r.LongWork = false;  // drawing again for a window not yet ready is no long work
  r.Frame = again;
  return !again;
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
  if (Scheduler.Abandoned() || Scheduler.InTurn()) return;
  // The preview stands for the frame: the exact one is asked for at the end.
  Scheduler.ForgetFrame();
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

void TKestoForm::CaptureFrame(TFrameScheduler::TCaptured done) {
  if (Scheduler.Abandoned()) return;
  // The frame is read from the window's own buffer, exactly as it is shown (an
  // off-screen buffer would rasterise smooth lines a little differently), so a
  // hidden window is shown for the capture and hidden again.
  if (!isVisible()) {
    show();
    hideAfterCapture_ = true;
    Scheduler.WaitForExpose(WindowDC, 2000);
  }
  NormalizeView();
  Scheduler.AskCapture(std::move(done));
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
