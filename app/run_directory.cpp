#include "app/run_directory.h"

#include <cstdint>

#include "text/dbcs.h"

namespace app {

std::string runDirectoryOf(std::string_view modulePath) {
  // Paths are in the ANSI code page, where 0x5C can be the trail byte of a
  // Chinese character, so the separator is looked for on character boundaries.
  const std::size_t slash = text::lastCharIndexOf(modulePath, '\\');
  if (slash == std::string_view::npos) return std::string();
  return std::string(modulePath.substr(0, slash));
}

std::string runDirectoryGuardName(std::u16string_view canonicalDirectory) {
  // FNV-1a, 64 bits, over the UTF-16 code units: folders of one user are few,
  // and nothing here is chosen by an adversary.
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (const char16_t unit : canonicalDirectory) {
    for (const unsigned byte : {unit & 0xFFu, unsigned(unit) >> 8}) {
      hash ^= byte;
      hash *= 0x100000001B3ull;
    }
  }
  static const char kHex[] = "0123456789abcdef";
  std::string name = "Local\\LauncherBar.";
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 0xF];
  return name;
}

}  // namespace app
