#include "render/View.h"

#include <cmath>

#include "core/Angles.h"

void SetupView2D(const TKestoState& s, TGLSink& gl) {
  const double h = s.Distance / 10;
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0.5 - h, 0.5 + h, 0.5 - h, 0.5 + h, -10, 10);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Enable(GL_DEPTH_TEST);
}

void SetupView3D(TKestoState& s, TGLSink& gl) {
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Perspective(10, 1, 0.1, 10000);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Enable(GL_DEPTH_TEST);
  const double a2 = Radians(s.Angle2);
  const double a3 = Radians(s.Angle3);
  s.EyeX = std::sin(a2) * std::sin(a3) * s.Distance;
  s.EyeY = std::sin(a2) * std::cos(a3) * s.Distance;
  s.EyeZ = std::cos(a2) * s.Distance;
  gl.LookAt(s.EyeX + 0.5, s.EyeY + 0.5, s.EyeZ, 0.5, 0.5, s.HeightScale / 2, 0, 0, 1000);
}
