#include "kesto-render/RenderState.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/NumberField.h"
#include "core/SettingsFile.h"
#include "core/StoredSettings.h"

void RenderNote(const std::string& text) {
  std::fprintf(stderr, "kesto-render: %s\n", text.c_str());
}

namespace {

// A value outside what the viewer can hold is kept at the nearest end, and said so; a
// turn is taken round by whole turns, as a stored turn is.
double Kept(const TViewParameter& p, double v) {
  const double kept = p.Keep == TKeep::Wrap ? TurnInRange(v) : KeepInRange(p, v);
  if (kept == v) return v;
  std::string what = p.Option;
  std::replace(what.begin(), what.end(), '-', ' ');
  if (p.Keep == TKeep::Wrap)
    RenderNote("the " + what + " " + ShortestText(v) + " is taken as " + ShortestText(kept) +
               " degrees");
  else
    RenderNote("the " + what + " is kept within " + ShortestText(p.Low) + ".." +
               ShortestText(p.High) + "; " + ShortestText(kept) + " is used");
  return kept;
}

// The view and picture size a viewer settings file gives.
void ApplySettingsFile(const std::string& path, TKestoState& s, int& width, int& height) {
  if (::access(path.c_str(), R_OK) != 0)
    throw TRenderFailure{1,
                         "cannot read the settings file \"" + path + "\": " + std::strerror(errno)};
  const TSettingsFile ini(path);
  if (!ini.Problem().empty()) throw TRenderFailure{1, ini.Problem()};
  const TStoredSettings st = ReadStoredSettings(ini);
  width = st.ClientWidth;
  height = st.ClientHeight;
  ApplyStoredView(st, s);
  // A stored index that names no item leaves the width as it is, as in the viewer.
  s.LineWidth = LineWidthOfItem(st.LineWidthItem).value_or(s.LineWidth);
  s.AxisWidth = AxisWidthOfItem(st.AxisWidthItem).value_or(s.AxisWidth);
}

}  // namespace

void ApplyRenderOptions(const TRenderOptions& o, TKestoState& s, int& width, int& height) {
  if (!o.Settings.empty()) ApplySettingsFile(o.Settings, s, width, height);
  if (o.Width) width = *o.Width, height = *o.Height;
  if (width < 1 || height < 1 || width > kMaxClientSize || height > kMaxClientSize)
    throw TRenderFailure{
        1, "the picture size " + std::to_string(width) + "x" + std::to_string(height) +
               " from the settings file is not from 1x1 to " + std::to_string(kMaxClientSize) +
               "x" + std::to_string(kMaxClientSize)};
  if (o.DrawMode) s.DrawMode = *o.DrawMode;
  if (o.SurfaceMode) s.SurfaceMode = *o.SurfaceMode;
  if (o.Spectrum) s.Spec = 1, s.Palette = kPaletteOwn;
  if (o.Coloring) s.Spec = o.Coloring->Spec, s.Palette = o.Coloring->Palette;
  if (o.Reverse) s.ReversePalette = 1;
  if (o.Labels) s.Labels = 1;
  if (o.NoAxes) s.AxisMode = kAxesOff;
  for (size_t k = 0; k < kViewParameters.size(); ++k)
    if (o.View[k]) s.*kViewParameters[k].Field = Kept(kViewParameters[k], *o.View[k]);
  if (o.LineWidth) s.LineWidth = *o.LineWidth;
  if (o.AxisWidth) s.AxisWidth = *o.AxisWidth;
  if (o.Low) s.ColorMin = *o.Low;
  if (o.High) s.ColorHigh = *o.High;
  if (o.Background) s.ColorBackGround = *o.Background;
  if (o.AxisColor) s.ColorAxisX = s.ColorAxisY = s.ColorAxisZ = *o.AxisColor;
  // The builders run on a thread of their own, away from the toolkit's palette: the
  // system colours are looked up here.
  for (int32_t* c :
       {&s.ColorMin, &s.ColorHigh, &s.ColorBackGround, &s.ColorAxisX, &s.ColorAxisY, &s.ColorAxisZ})
    *c = int32_t(ResolveColor(*c));
}
