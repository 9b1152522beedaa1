// Linked into every test and benchmark program (not into the support library, where nothing
// would pull it in): installs the shell's touch points before main, as start-up does.
#include "app/touch_points.h"

namespace {

[[maybe_unused]] const bool installed = (InstallShellTouchPoints(), true);

}  // namespace
