#pragma once

#include <QImage>
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
  // MakeList only marks lists stale; a frame compiles the stale lists it replays,
  // so a large grid costs one list, not ten. Off: MakeList compiles at once.
  bool LazyLists = true;
  // The last error OpenGL reported at the end of a list build or a frame.
  GLenum LastGLError = GL_NO_ERROR;

  void FormPaint();
  void FormResize();
  void DrawGraph();
  void DrawSimpleGraph();
  void MakeList(int32_t mask);

  // Left drag turns and tilts the 3-D view, right drag moves nearer or farther,
  // the wheel raises or flattens the heights; keys 2 and 3 pick the view, Ctrl+C
  // copies the picture, Enter and M hand the keyboard to the control panel.
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp();
  void FormMouseWheel(int wheelDelta);
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);

  int ClientWidth() const { return width(); }
  int ClientHeight() const { return height(); }
  void SetClientSize(int width, int height) { resize(width, height); }

  // A fresh full frame at the client size, as the window shows it.
  QImage CaptureFrame();
  // Writes the frame as a JPEG (.jpg, .jpeg in any case), as a BMP (any other
  // name) or, for an empty name, puts it on the clipboard; throws when the file
  // cannot be written, leaving any earlier file of that name as it was.
  void SaveToBitmap(const QString& fileName);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FrameBracket(bool simple, std::vector<uint8_t>* capture);
  void CompileLists(int32_t mask);
  void EndBracket();
  void DragRedraw();
  void FocusControlPanel();
  int DeviceWidth() const;
  int DeviceHeight() const;

  TGLDirectSink directSink_;
  QWidget* container_;
  int32_t staleLists_ = 0;
};
