#pragma once

#include <QWindow>

class TKestoForm;

// The native surface inside the graph window that OpenGL draws to; it hands its
// paint and resize events to the graph window's handlers.
class TGLSurface : public QWindow {
 public:
  explicit TGLSurface(TKestoForm* form);

 protected:
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TKestoForm* form_;
};
