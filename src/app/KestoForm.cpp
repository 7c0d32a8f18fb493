#include "app/KestoForm.h"

#include <GL/gl.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>
#include <QKeyEvent>
#include <QOpenGLFramebufferObject>
#include <QSaveFile>
#include <cstring>
#include <stdexcept>

#include "app/ErrorReport.h"
#include "app/GLSurface.h"
#include "core/PictureName.h"
#include "render/Frame.h"
#include "render/ReadPixels.h"

TKestoForm::TKestoForm(QWidget* owner)
    : QWidget(owner, Qt::Window), Sink(&directSink_) {
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

void TKestoForm::DrawGraph() { FrameBracket(false); }

void TKestoForm::DrawSimpleGraph() { FrameBracket(true); }

void TKestoForm::MakeList(int32_t mask) {
  NormalizeView();
  GLContext.MakeCurrent(WindowDC);
  if (GLContext.Active) BuildLists(*this, mask, *Sink);
  ReleaseCurrentContext(WindowDC);
}

QImage TKestoForm::CaptureFrame() {
  const int w = DeviceWidth(), h = DeviceHeight();
  QImage picture(w, h, QImage::Format_RGB888);
  picture.fill(Qt::black);
  if (GLContext.MakeCurrent(WindowDC)) {
    QOpenGLFramebufferObject target(w, h, QOpenGLFramebufferObject::Depth);
    if (target.bind()) {
      DrawFrame(*this, w, h, false, *Sink);
      const std::vector<uint8_t> rgb = ReadFrameRGB(w, h);
      for (int y = 0; y < h; ++y) std::memcpy(picture.scanLine(y), &rgb[size_t(y) * w * 3], size_t(w) * 3);
      target.release();
    }
  }
  ReleaseCurrentContext(WindowDC);
  return picture;
}

void TKestoForm::SaveToBitmap(const QString& fileName) {
  DrawGraph();  // the window shows the frame being kept
  const QImage picture = CaptureFrame();
  const TPictureOutput output = PictureOutputFor(fileName.toStdString());
  if (output == TPictureOutput::Clipboard) {
    QGuiApplication::clipboard()->setImage(picture);
    return;
  }
  // Written beside the target and renamed over it only when complete.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw std::runtime_error("Cannot write the picture \"" + fileName.toStdString() +
                             "\": " + file.errorString().toStdString() + ".");
  QImageWriter writer(&file, output == TPictureOutput::Jpeg ? "jpeg" : "bmp");
  if (output == TPictureOutput::Jpeg) writer.setQuality(100);
  if (!writer.write(picture) || !file.commit())
    throw std::runtime_error("Cannot write the picture \"" + fileName.toStdString() +
                             "\": " + (writer.error() != QImageWriter::UnknownError
                                            ? writer.errorString()
                                            : file.errorString())
                                           .toStdString() +
                             ".");
}

void TKestoForm::FrameBracket(bool simple) {
  if (GLContext.MakeCurrent(WindowDC)) {
    DrawFrame(*this, DeviceWidth(), DeviceHeight(), simple, *Sink);
    GLContext.Present();
  } else {
    NormalizeView();
  }
  ReleaseCurrentContext(WindowDC);
  setWindowTitle(QString::fromStdString(FrameCaption(*this, ClientWidth(), ClientHeight())));
}

int TKestoForm::DeviceWidth() const { return qRound(width() * devicePixelRatioF()); }

int TKestoForm::DeviceHeight() const { return qRound(height() * devicePixelRatioF()); }
