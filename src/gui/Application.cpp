#include "gui/Application.h"

#include <malloc.h>

#include <csignal>

#include "core/ColorScale.h"
#include "gui/SysColors.h"

void PrepareApplication() {
  SetSysColorSource(PaletteSysColor);
  // Past a file-size limit a write fails with its reason, which we report, instead of
  // the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  // Compiling and drawing large lists frees and takes back the same memory many times
  // over; handing it back to the system each time (and faulting it in again) costs a
  // fifth of the time. A load hands back what the replaced grid held on its own.
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  // Each thread that allocates may get an arena of its own, 64 MiB of address space
  // at a time: the driver's threads would take more of a memory limit (ulimit -v)
  // than the drawing does, and how much would depend on their timing.
  mallopt(M_ARENA_MAX, 2);
}
