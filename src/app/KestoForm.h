#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <cstdint>

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

  // A fresh full frame at the client size, drawn off screen, so that the picture
  // does not depend on where the window is or whether it is shown.
  QImage CaptureFrame();
  // Writes the frame as a JPEG (.jpg, .jpeg in any case), as a BMP (any other
  // name) or, for an empty name, puts it on the clipboard; throws when the file
  // cannot be written, leaving any earlier file of that name as it was.
  void SaveToBitmap(const QString& fileName);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FrameBracket(bool simple);
  int DeviceWidth() const;
  int DeviceHeight() const;

  TGLDirectSink directSink_;
  QWidget* container_;
};
