#include "ui/menu.h"

#include "text/display.h"

namespace ui {

UniqueMenu buildPopup(const std::vector<MenuItem>& items) {
  UniqueMenu popup(CreatePopupMenu());
  if (!popup) return popup;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    if (!item.visible) continue;
    if (item.caption == kSeparatorCaption) {
      AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring caption = text::gbkToWide(item.caption);
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checked) flags |= MF_CHECKED;
    AppendMenuW(popup.get(), flags, i + 1, caption.c_str());
  }
  return popup;
}

bool runMenuCommand(const std::vector<MenuItem>& items, UINT command) {
  if (command == 0 || command > items.size()) return false;
  const MenuItem& item = items[command - 1];
  if (!item.selected) return false;
  // The handler may change the table; it runs from a copy.
  const std::function<void()> handler = item.selected;
  handler();
  return true;
}

}  // namespace ui
