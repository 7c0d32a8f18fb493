#include "app/KestoForm.h"

#include <GL/gl.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeyEvent>

#include "app/ErrorReport.h"
#include "app/GLSurface.h"
#include "app/PictureFile.h"
#include "core/PictureName.h"
#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/ReadPixels.h"

TKestoForm::TKestoForm(QWidget* owner) : QWidget(owner, Qt::Window), Sink(&directSink_) {
  setWindowTitle("KestoForm");
  move(154, 0);
  resize(640, 480);

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

  GLContext.InitContext(WindowDC);
  if (GLContext.Active) {
    if (const GLubyte* renderer = glGetString(GL_RENDERER))
      RendererName = reinterpret_cast<const char*>(renderer);
  }
}

void TKestoForm::resizeEvent(QResizeEvent*) {
  container_->setGeometry(rect());
  Label1->setGeometry(rect());
  Label1->raise();
}

void TKestoForm::keyPressEvent(QKeyEvent* event) {
  ReportErrors([&] { FormKeyDown(event->key(), event->modifiers()); });
}

void TKestoForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
  if (button == Qt::LeftButton && DrawMode == 1) {
    MouseState = 1;
  } else if (button == Qt::RightButton) {
    MouseState = 2;
  } else {
    return;
  }
  MouseX = x;
  MouseY = y;
}

void TKestoForm::FormMouseMove(int x, int y) {
  if (MouseState == 1) {
    Angle3 += (x - MouseX) / 2.0;
    Angle2 -= (y - MouseY) / 2.0;
    MouseX = x;
    MouseY = y;
    DragRedraw();
  }
  if (MouseState == 2) {
    Distance -= (y - MouseY) / 100.0;
    MouseX = x;
    MouseY = y;
    DragRedraw();
  }
}

void TKestoForm::DragRedraw() {
  if (int64_t(GridHighI) * GridHighJ > 10000)
    DrawSimpleGraph();
  else
    DrawGraph();
}

void TKestoForm::FormMouseUp() {
  MouseState = 0;
  DrawGraph();
}

void TKestoForm::FormMouseWheel(int wheelDelta) {
  HeightScale += wheelDelta / 1000.0;
  MakeList(kMaskAll);
  DrawGraph();
}

void TKestoForm::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  const bool keypad = shift & Qt::KeypadModifier;
  shift &= ~Qt::KeypadModifier;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) FocusControlPanel();
  if (key == Qt::Key_2 && !keypad) {
    DrawMode = 0;
  } else if (key == Qt::Key_3 && !keypad) {
    DrawMode = 1;
  } else if (key == Qt::Key_C && shift == Qt::ControlModifier) {
    SaveToBitmap("");
  } else if (key == Qt::Key_M) {
    FocusControlPanel();
  }
  DrawGraph();
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

void TKestoForm::DrawGraph() { FrameBracket(false, nullptr); }

void TKestoForm::DrawSimpleGraph() { FrameBracket(true, nullptr); }

void TKestoForm::MakeList(int32_t mask) {
  NormalizeView();
  GLContext.MakeCurrent(WindowDC);
  if (LazyLists)
    staleLists_ |= mask & kMaskAll;
  else if (GLContext.Active) {
    CompileLists(mask);
    staleLists_ &= ~mask;
  }
  EndBracket();
}

void TKestoForm::EndBracket() {
  if (GLContext.Active)
    if (const GLenum error = glGetError(); error != GL_NO_ERROR) LastGLError = error;
  ReleaseCurrentContext(WindowDC);
}

void TKestoForm::CompileLists(int32_t mask) {
  TGLArraySink arrays(*Sink);
  BuildLists(*this, mask, arrays);
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
  std::vector<uint8_t> rgb(size_t(DeviceWidth()) * DeviceHeight() * 3, 0);
  FrameBracket(false, &rgb);
  if (!wasVisible) hide();
  return FrameImage(rgb.data(), DeviceWidth(), DeviceHeight());
}

void TKestoForm::SaveToBitmap(const QString& fileName) {
  const QImage picture = CaptureFrame();
  switch (PictureOutputFor(fileName.toStdString())) {
    case TPictureOutput::Clipboard:
      QGuiApplication::clipboard()->setImage(picture);
      break;
    case TPictureOutput::Jpeg:
      WritePicture(picture, fileName, "jpeg", 100);
      break;
    case TPictureOutput::Bitmap:
      WritePicture(picture, fileName, "bmp");
      break;
  }
}

void TKestoForm::FrameBracket(bool simple, std::vector<uint8_t>* capture) {
  if (GLContext.MakeCurrent(WindowDC)) {
    NormalizeView();
    if (const int32_t due = staleLists_ & ListsForFrame(*this, simple)) {
      CompileLists(due);
      staleLists_ &= ~due;
    }
    DrawFrame(*this, DeviceWidth(), DeviceHeight(), simple, *Sink);
    if (capture) *capture = ReadFrameRGB(DeviceWidth(), DeviceHeight());
    GLContext.Present();
  } else {
    NormalizeView();
  }
  EndBracket();
  setWindowTitle(QString::fromStdString(FrameCaption(*this, ClientWidth(), ClientHeight())));
}

int TKestoForm::DeviceWidth() const { return qRound(width() * devicePixelRatioF()); }

int TKestoForm::DeviceHeight() const { return qRound(height() * devicePixelRatioF()); }
