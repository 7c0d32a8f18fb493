#include "gui/SysColors.h"

#include <QGuiApplication>
#include <QPalette>

#include "core/ColorScale.h"

namespace {

struct TSysColorRole {
  QPalette::ColorGroup Group;
  QPalette::ColorRole Role;
};

constexpr QPalette::ColorGroup A = QPalette::Active;
constexpr QPalette::ColorGroup I = QPalette::Inactive;
constexpr QPalette::ColorGroup D = QPalette::Disabled;

// Index by index: scroll bar, desktop, active caption, inactive caption, menu,
// window, window frame, menu text, window text, caption text, active border,
// inactive border, application workspace, highlight, highlight text, button face,
// button shadow, grey text, button text, inactive caption text, button highlight,
// 3-D dark shadow, 3-D light, tooltip text, tooltip background, (none), hot
// light, the two caption gradients, menu highlight, menu bar.
constexpr TSysColorRole kRoles[] = {
    {A, QPalette::Button},
    {A, QPalette::Dark},
    {A, QPalette::Highlight},
    {I, QPalette::Highlight},
    {A, QPalette::Window},
    {A, QPalette::Base},
    {A, QPalette::Shadow},
    {A, QPalette::WindowText},
    {A, QPalette::Text},
    {A, QPalette::HighlightedText},
    {A, QPalette::Button},
    {I, QPalette::Button},
    {A, QPalette::Dark},
    {A, QPalette::Highlight},
    {A, QPalette::HighlightedText},
    {A, QPalette::Button},
    {A, QPalette::Dark},
    {D, QPalette::Text},
    {A, QPalette::ButtonText},
    {I, QPalette::HighlightedText},
    {A, QPalette::Light},
    {A, QPalette::Shadow},
    {A, QPalette::Midlight},
    {A, QPalette::ToolTipText},
    {A, QPalette::ToolTipBase},
    {A, QPalette::NoRole},
    {A, QPalette::Link},
    {A, QPalette::Highlight},
    {I, QPalette::Highlight},
    {A, QPalette::Highlight},
    {A, QPalette::Window},
};

}  // namespace

uint32_t PaletteSysColor(int index) {
  if (index < 0 || index >= int(std::size(kRoles))) return 0;
  const TSysColorRole& r = kRoles[index];
  if (r.Role == QPalette::NoRole) return 0;
  const QColor c = QGuiApplication::palette().color(r.Group, r.Role);
  return PackColor(c.red(), c.green(), c.blue());
}
