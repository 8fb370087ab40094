// Launcher icons on the bar: copies of the hidden template 被复制, one per
// entry, tagged with the entry's number.
#pragma once
#include <string>

namespace launcher {

// Makes the icon of entry n (1 to 16) for the program at `path`.
void createIconSlot(int n, const std::string& path, bool fromDrop);
// The bar grows 35 pixels on its right; the weather group follows.
void widenBar();
// Rebuilds the icons from the list file at start-up.
void loadStoredEntries();

}  // namespace launcher
