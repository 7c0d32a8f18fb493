#include "app/GLSurface.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "app/ErrorReport.h"
#include "app/KestoForm.h"

TGLSurface::TGLSurface(TKestoForm* form) : form_(form) {}

void TGLSurface::exposeEvent(QExposeEvent*) {
  if (isExposed()) ReportErrors([this] { form_->FormPaint(); });
}

void TGLSurface::resizeEvent(QResizeEvent*) {
  ReportErrors([this] { form_->FormResize(); });
}

void TGLSurface::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ReportErrors([&] { form_->FormMouseDown(e->button(), p.x(), p.y()); });
}

void TGLSurface::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ReportErrors([&] { form_->FormMouseMove(p.x(), p.y()); });
}

void TGLSurface::mouseReleaseEvent(QMouseEvent*) {
  ReportErrors([&] { form_->FormMouseUp(); });
}

void TGLSurface::wheelEvent(QWheelEvent* e) {
  ReportErrors([&] { form_->FormMouseWheel(e->angleDelta().y()); });
  e->ignore();  // not marked as handled
}

void TGLSurface::keyPressEvent(QKeyEvent* e) {
  ReportErrors([&] { form_->FormKeyDown(e->key(), e->modifiers()); });
}

bool TGLSurface::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
      QCoreApplication::sendEvent(form_, e);
      return true;
    case QEvent::Leave:
      form_->FormMouseLeave();
      return QWindow::event(e);
    default:
      return QWindow::event(e);
  }
}
