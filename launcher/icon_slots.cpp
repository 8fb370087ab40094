#include "launcher/icon_slots.h"

#include <windows.h>

#include "app/main_window.h"
#include "app/shared_state.h"
#include "app/startup.h"
#include "launcher/geometry.h"
#include "launcher/icon_images.h"
#include "launcher/list_file.h"
#include "launcher/version_info.h"

namespace launcher {

void createIconSlot(int n, const std::string& path, bool fromDrop) {
  app::SharedState& s = app::state();
  const bool added = addFileIcon(s.iconImages.get(), path);
  ui::PictureBox& icon = app::bar().iconTemplate->copy();
  s.iconSlots[static_cast<std::size_t>(n - 1)] = &icon;
  icon.setVisible(true);
  const IconPlace place = iconPlace(n);
  icon.moveTo(place.left, place.top);
  icon.setTag(std::to_string(n));
  // Read once here: hovering only shows what the tip already holds.
  app::bar().window.setTooltip(icon, programName(path));
  if (fromDrop) SendMessageA(icon.hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  if (added) {
    icon.setPicture(pictureAt(s.iconImages.get(), s.nextImageIndex));
    ++s.nextImageIndex;
  } else {
    icon.clearPicture();
  }
  s.iconNumbers.push_back(n);
}

void widenBar() {
  ui::MainWindow& window = app::bar().window;
  window.setWidth(window.width() + kWideningStep);
  app::placeRightGroup();
}

void loadStoredEntries() {
  app::SharedState& s = app::state();
  const int count = readEntryCount();
  for (int i = 1; i <= count; ++i) {
    ++s.iconCount;
    if (s.iconCount > kMaxEntries) return;
    if (s.iconCount > kEntriesBeforeWidening) widenBar();
    const std::string path = readEntryPath(s.iconCount);
    createIconSlot(s.iconCount, path, false);
  }
}

}  // namespace launcher
