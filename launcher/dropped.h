// What a drop hands the launcher, taken apart without any window: the name
// the shell link is loaded from, and the program path kept from its target.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The dropped name as a shortcut: unchanged when it mentions ".lnk" in any
// ASCII case, else with ".lnk" appended (so a plain app.exe is looked up as
// app.exe.lnk and normally not found).
std::string shortcutFileName(std::string_view dropped);

// The program a shortcut target names: the target up to and including the
// first ".exe" (any ASCII case, as Windows file names are) that ends a name,
// that is, stands at the end of the target or before a blank. Nothing when no
// ".exe" ends a name. "C:\Tools\app.exe -x" gives "C:\Tools\app.exe";
// "D:\my.exercises\run.exe" is kept whole.
std::optional<std::string> programPath(std::string_view target);

}  // namespace launcher
