#include "launcher/drop.h"

#include <windows.h>

#include "app/main_window.h"
#include "app/settings_menu.h"
#include "app/shared_state.h"
#include "launcher/dropped.h"
#include "launcher/geometry.h"
#include "launcher/icon_slots.h"
#include "launcher/list_file.h"
#include "launcher/shortcut.h"
#include "ui/message_loop.h"

namespace launcher {

void addDroppedProgram(const std::string& dropped) {
  app::SharedState& s = app::state();
  app::bar().iconTemplate->clearPicture();
  const std::optional<std::string> path = programPath(shortcutTarget(dropped));
  if (!path) return;
  ++s.iconCount;  // stays raised when the bar is full
  if (s.iconCount > kMaxEntries) {
    ui::showMessageBox(kBarFullText, app::kInfoCaption, MB_OK | MB_SYSTEMMODAL, nullptr);
    return;
  }
  if (s.iconCount > kEntriesBeforeWidening) widenBar();
  createIconSlot(s.iconCount, *path, true);
  appendEntry(s.iconCount, *path);
}

}  // namespace launcher
