#include "launcher/dropped.h"

#include "text/search.h"

namespace launcher {

std::string shortcutFileName(std::string_view dropped) {
  if (text::findText(dropped, ".lnk", 1, false) > 0) return std::string(dropped);
  return std::string(dropped) + ".lnk";
}

std::optional<std::string> programPath(std::string_view target) {
  constexpr std::string_view kExe = ".exe";
  for (int from = 1;;) {
    const int at = text::findText(target, kExe, from, false);
    if (at < 0) return std::nullopt;
    const std::size_t end = static_cast<std::size_t>(at - 1) + kExe.size();
    if (end == target.size() || target[end] == ' ') return std::string(target.substr(0, end));
    from = at + 1;  // '.' is one byte, so the next position is a character boundary
  }
}

}  // namespace launcher
