#pragma once
#include <string>

namespace launcher {

// The target of the shortcut `fileName` names ("<path>" or "<path> <arguments>"),
// or an empty text when it cannot be loaded as a shortcut.
std::string shortcutTarget(const std::string& fileName);

}  // namespace launcher
