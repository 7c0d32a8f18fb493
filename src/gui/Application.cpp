#include "gui/Application.h"

#include "core/ColorScale.h"
#include "gui/SysColors.h"

void PrepareApplication() { SetSysColorSource(PaletteSysColor); }
