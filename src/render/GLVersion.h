#pragma once

#include <GL/gl.h>

#include <string>

// Whether the current context offers OpenGL major.minor or later: entry points beyond
// 1.1 are used only where it does.
bool ContextHasVersion(int major, int minor);

// The current context's renderer as the driver names it; empty when it names none.
std::string ContextRenderer();
// The current context's first error since the last look, GL_NO_ERROR for none.
GLenum ContextError();
