#include "launcher/icon_events.h"

#include <windows.h>
#include <shellapi.h>

#include "app/shared_state.h"
#include "launcher/list_file.h"
#include "launcher/sound.h"
#include "text/count.h"
#include "ui/message_loop.h"

namespace launcher {
namespace {
constexpr int kHoverBorder = 5;
constexpr int kNoBorder = 0;
}  // namespace

void launchIconProgram(ui::Control& icon, const ui::MouseEvent&) {
  const int n = text::parseLeadingInt(icon.tag());
  // Read now: a path edited in the file while the bar runs is the one started.
  const std::string path = readEntryPath(n);
  ShellExecuteA(nullptr, "open", path.c_str(), nullptr, "", SW_SHOWNORMAL);
}

void highlightHoveredIcon(ui::Control& icon, const ui::MouseEvent&) {
  app::SharedState& s = app::state();
  const std::size_t count = s.iconNumbers.size();
  for (std::size_t i = 1; i <= count; ++i) {
    // Other handlers, this one among them, may run nested here.
    if (GetInputState()) ui::processPendingMessages();
    const int hovered = text::parseLeadingInt(icon.tag());
    ui::PictureBox* slot = s.iconSlots[i - 1];
    if (static_cast<int>(i) == hovered) {
      slot->setBorderStyle(kHoverBorder);
      playHoverSound();
    } else {
      slot->setBorderStyle(kNoBorder);
    }
  }
}

void ignoreIconRightButton(ui::Control&, const ui::MouseEvent&) {}

}  // namespace launcher
