#pragma once

#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "core/ViewState.h"
#include "render/GLSink.h"
#include "render/GLWindowContext.h"

class TGLSurface;

// The graph window: owns the OpenGL context, the grid, every viewing and colouring
// parameter and the display lists.
class TKestoForm : public QWidget, public TKestoState {
 public:
  explicit TKestoForm(QWidget* owner = nullptr);

  QLabel* Label1;
  TGLWindowContext GLContext;
  TGLSurface* WindowDC;
  // Where list builds and frames send their GL calls; a test may wrap it.
  TGLSink* Sink;

  void FormPaint();
  void FormResize();
  void DrawGraph();
  void DrawSimpleGraph();
  void MakeList(int32_t mask);

  int ClientWidth() const { return width(); }
  int ClientHeight() const { return height(); }
  void SetClientSize(int width, int height) { resize(width, height); }

  // Draws a full frame and returns it as RGB bytes, top row first, at the client
  // size in device pixels.
  std::vector<uint8_t> CaptureFrame(int* width, int* height);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FrameBracket(bool simple, std::vector<uint8_t>* capture);
  int DeviceWidth() const;
  int DeviceHeight() const;

  TGLDirectSink directSink_;
  QWidget* container_;
};
