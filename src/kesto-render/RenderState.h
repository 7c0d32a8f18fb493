#pragma once

#include <string>

#include "core/ViewState.h"
#include "kesto-render/RenderOptions.h"

// Why kesto-render stops: the message and the status it exits with.
struct TRenderFailure {
  int Status;
  std::string Message;
};

// One line on standard error.
void RenderNote(const std::string& text);

// The viewer's state for these options: s holds the defaults and the grid; the
// settings file comes next, then the options themselves. width and height: the
// picture's size. System colours are looked up.
void ApplyRenderOptions(const TRenderOptions& o, TKestoState& s, int& width, int& height);
