#include "kesto-render/RenderState.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "core/NumberField.h"
#include "core/SettingsFile.h"
#include "core/StoredSettings.h"

void RenderNote(const std::string& text) {
  std::fprintf(stderr, "kesto-render: %s\n", text.c_str());
}

namespace {

// A value outside what the viewer can hold is kept at the nearest end, and said so; a
// turn is taken round by whole turns, as a stored turn is.
double Kept(const TDisplayOption& p, double v) {
  if (p.Type != TOptionType::Number) return v;
  const double kept = p.Keep == TKeep::Wrap ? TurnInRange(v) : KeepInRange(p, v);
  if (kept == v) return v;
  std::string what = p.Name;
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
  for (size_t k = 0; k < kDisplayOptions.size(); ++k) {
    const TDisplayOption& row = kDisplayOptions[k];
    if (!o.Display[k]) continue;
    const std::vector<double>& values = *o.Display[k];
    try {
      if (row.Given)
        row.Given(s, values);
      else
        SetOptionValue(row, s, Kept(row, values.at(0)));
    } catch (const std::invalid_argument& e) {
      throw TRenderFailure{2, "--" + std::string(row.Name) + ": " + e.what()};
    }
  }
  // The builders run on a thread of their own, away from the toolkit's palette: the
  // system colours are looked up here.
  for (int32_t* c :
       {&s.ColorMin, &s.ColorHigh, &s.ColorBackGround, &s.ColorAxisX, &s.ColorAxisY, &s.ColorAxisZ})
    *c = int32_t(ResolveColor(*c));
}
