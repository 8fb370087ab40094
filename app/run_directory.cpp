#include "app/run_directory.h"

#include "text/dbcs.h"

namespace app {

std::string runDirectoryOf(std::string_view modulePath) {
  // Paths are in the ANSI code page, where 0x5C can be the trail byte of a
  // Chinese character, so the separator is looked for on character boundaries.
  const std::size_t slash = text::lastCharIndexOf(modulePath, '\\');
  if (slash == std::string_view::npos) return std::string();
  return std::string(modulePath.substr(0, slash));
}

}  // namespace app
