#include "render/GLVersion.h"

#include <GL/gl.h>

#include <cstdio>

bool ContextHasVersion(int major, int minor) {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int hasMajor = 0, hasMinor = 0;
  if (!text || std::sscanf(text, "%d.%d", &hasMajor, &hasMinor) != 2) return false;
  return hasMajor > major || (hasMajor == major && hasMinor >= minor);
}

std::string ContextRenderer() {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return text ? text : "";
}

GLenum ContextError() { return glGetError(); }
