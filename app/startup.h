// The bar's own handlers of its window coming up.
#pragma once

namespace app {

// Runs once, after the main window and its controls exist, before it is shown.
void onWindowCreated();
// Runs once, the first time the main window becomes active.
void onFirstActivated();

}  // namespace app
