// Menus as data: a table of items turned into a popup menu when it is shown.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/unique.h"

namespace ui {

struct MenuItem {
  std::string caption;  // GBK; exactly "-" makes a separator line
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  std::function<void()> selected;
  std::vector<MenuItem> items;  // the items under this one
};

inline constexpr char kSeparatorCaption[] = "-";

// A popup of the visible items as they are now. The command of items[i] is
// i + 1, which runMenuCommand maps back.
UniqueMenu buildPopup(const std::vector<MenuItem>& items);

// Runs the handler of the item whose command is `command`; false when there is none.
bool runMenuCommand(const std::vector<MenuItem>& items, UINT command);

}  // namespace ui
