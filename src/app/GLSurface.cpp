#include "app/GLSurface.h"

#include "app/KestoForm.h"

TGLSurface::TGLSurface(TKestoForm* form) : form_(form) {}

void TGLSurface::exposeEvent(QExposeEvent*) {
  if (isExposed()) form_->FormPaint();
}

void TGLSurface::resizeEvent(QResizeEvent*) { form_->FormResize(); }
