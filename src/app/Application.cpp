#include "app/Application.h"

#include "app/SysColors.h"
#include "core/ColorScale.h"

void PrepareApplication() { SetSysColorSource(PaletteSysColor); }
