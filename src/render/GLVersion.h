#pragma once

// Whether the current context offers OpenGL major.minor or later: entry points beyond
// 1.1 are used only where it does.
bool ContextHasVersion(int major, int minor);
