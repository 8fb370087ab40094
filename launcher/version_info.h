// The name a program is shown by on the bar, from its file.
#pragma once
#include <string>

namespace launcher {

// The FileDescription of the program's version resource, in the user's
// language where it has one; without one, the file name without folder and
// extension. Empty for an empty path. `path` is in the ANSI code page.
std::wstring programName(const std::string& path);

}  // namespace launcher
