// The bar's own handlers of its window coming up, and the rule that keeps
// the weather group at the bar's right end.
#pragma once

namespace app {

inline constexpr unsigned char kBarOpacity = 190;

// Runs once, after the main window and its controls exist, before it is shown.
void onWindowCreated();
// Runs once, the first time the main window becomes active.
void onFirstActivated();
// Re-places 图片框1, 天气状况 and 日期标签 against the bar's current width.
void placeRightGroup();

}  // namespace app
