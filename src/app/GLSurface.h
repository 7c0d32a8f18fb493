#pragma once

#include <QWindow>

class TKestoForm;

// The native surface inside the graph window that OpenGL draws to; it hands its
// paint, resize, mouse, wheel, key and drag-and-drop events to the graph window's
// handlers.
class TGLSurface : public QWindow {
 public:
  explicit TGLSurface(TKestoForm* form);

 protected:
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  TKestoForm* form_;
};
