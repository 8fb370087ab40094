// One bar per run directory: two bars on one list file would number their
// drops alike and overwrite each other's entries.
#pragma once
#include "ui/unique.h"

namespace app {

// False when a bar of the same run directory is already running. Otherwise
// `claim` holds this bar's claim until it is released (it stays empty where
// the platform gives none, which does not keep the bar from starting).
bool claimRunDirectory(ui::UniqueHandle& claim);

// Brings the window of the bar already running from this run directory to
// the front, where the platform lets this process do so.
void bringRunningBarForward();

}  // namespace app
