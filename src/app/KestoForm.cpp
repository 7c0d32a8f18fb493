#include "app/KestoForm.h"

#include <GL/gl.h>

#include "app/GLSurface.h"
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

void TKestoForm::FormPaint() { DrawGraph(); }

void TKestoForm::FormResize() { DrawGraph(); }

void TKestoForm::DrawGraph() { FrameBracket(false, nullptr); }

void TKestoForm::DrawSimpleGraph() { FrameBracket(true, nullptr); }

void TKestoForm::MakeList(int32_t mask) {
  NormalizeView();
  GLContext.MakeCurrent(WindowDC);
  if (GLContext.Active) BuildLists(*this, mask, *Sink);
  ReleaseCurrentContext(WindowDC);
}

std::vector<uint8_t> TKestoForm::CaptureFrame(int* width, int* height) {
  std::vector<uint8_t> pixels;
  FrameBracket(false, &pixels);
  *width = DeviceWidth();
  *height = DeviceHeight();
  return pixels;
}

void TKestoForm::FrameBracket(bool simple, std::vector<uint8_t>* capture) {
  if (GLContext.MakeCurrent(WindowDC)) {
    DrawFrame(*this, DeviceWidth(), DeviceHeight(), simple, *Sink);
    if (capture) *capture = ReadFrameRGB(DeviceWidth(), DeviceHeight());
    GLContext.Present();
  } else {
    NormalizeView();
  }
  ReleaseCurrentContext(WindowDC);
  setWindowTitle(QString::fromStdString(FrameCaption(*this, ClientWidth(), ClientHeight())));
}

int TKestoForm::DeviceWidth() const { return qRound(width() * devicePixelRatioF()); }

int TKestoForm::DeviceHeight() const { return qRound(height() * devicePixelRatioF()); }
