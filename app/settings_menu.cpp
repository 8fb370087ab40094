#include "app/settings_menu.h"

#include <windows.h>

#include "app/main_window.h"
#include "app/shared_state.h"
#include "ui/message_loop.h"

namespace app {

std::vector<ui::MenuItem> makeSettingsMenu() {
  ui::MenuItem settings;
  settings.caption = kSettingsCaption;
  settings.visible = false;  // so the bar shows no menu bar
  settings.items = {
      {kLockCaption, true, true, false, toggleLock, {}},
      {ui::kSeparatorCaption, true, true, false, nullptr, {}},
      {kClearCaption, true, true, false, onClearIcons, {}},
      {kAboutCaption, true, true, false, showAbout, {}},
  };
  return {settings};
}

namespace {
ui::MenuItem& lockItem() { return settingsItems()[0]; }
}  // namespace

std::vector<ui::MenuItem>& settingsItems() { return bar().menu[0].items; }

void showSettingsMenu() {
  const ui::UniqueMenu popup = ui::buildPopup(settingsItems());
  if (!popup) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const HWND owner = bar().window.hwnd();
  // A topmost window's popup only closes on an outside click when its owner
  // is in the foreground.
  SetForegroundWindow(owner);
  TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x + 3, cursor.y + 3, 0,
                 owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

void toggleLock() {
  SharedState& s = state();
  if (!s.positionLocked) {
    lockItem().caption = kUnlockCaption;
    bar().window.setDragByBody(false);
    s.positionLocked = 1;
  } else {
    s.positionLocked = 0;
    lockItem().caption = kLockCaption;
    bar().window.setDragByBody(true);
  }
}

void onClearIcons() {}

void showAbout() {
  // System-modal without owner: above every window, and the bar keeps working.
  ui::showMessageBox(kAboutText, kInfoCaption, MB_OK | MB_SYSTEMMODAL, nullptr);
}

}  // namespace app
