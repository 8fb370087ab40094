// The Settings menu: lock the bar's position, a clear-icons entry that does
// nothing, and the About box.
#pragma once
#include <vector>

#include "ui/menu.h"

namespace app {

// The window's menu: one hidden top-level item holding the popup's items.
std::vector<ui::MenuItem> makeSettingsMenu();
// The items under the hidden top-level item of the bar's menu.
std::vector<ui::MenuItem>& settingsItems();

inline constexpr char kSettingsCaption[] = "\xC9\xE8\xD6\xC3";              // 设置
inline constexpr char kLockCaption[] = "\xCB\xF8\xB6\xA8\xCE\xBB\xD6\xC3";   // 锁定位置
inline constexpr char kUnlockCaption[] = "\xC8\xA1\xCF\xFB\xCE\xBB\xD6\xC3"; // 取消位置
inline constexpr char kClearCaption[] = "\xC7\xE5\xBF\xD5\xCD\xBC\xB1\xEA";  // 清空图标
inline constexpr char kAboutCaption[] = "\xB9\xD8\xD3\xDA";                  // 关于
inline constexpr char kAboutText[] = "\xD2\xB2\xD0\xED" "_" "\xBB\xB9\xB2\xBB\xB6\xAE";  // 也许_还不懂
inline constexpr char kInfoCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";           // 信息：

// Right-button handler of the bar's background and of the weather controls:
// pops the menu up at the cursor and returns when it has closed.
void showSettingsMenu();
void toggleLock();
void onClearIcons();
void showAbout();

}  // namespace app
