// How a program's shown name is chosen: the rules, without reading any file.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// One entry of a version resource's translation list.
struct Translation {
  std::uint16_t language = 0;
  std::uint16_t codePage = 0;
  bool operator==(const Translation&) const = default;
};

// The string tables to look in, best first: the user's own language, then
// another variant of it, then language-neutral, then US English, then the
// rest as listed. Without a list, the tables resources most often carry.
std::vector<Translation> translationsToTry(std::span<const Translation> listed, std::uint16_t userLanguage);

// The file name without its folder and its last extension ("C:\a\b.c.exe" is
// "b.c"); empty when the path ends in a separator.
std::wstring fileTitle(std::wstring_view path);

// `s` without blanks, tabs and line breaks at either end.
std::wstring trimmed(std::wstring_view s);

}  // namespace launcher
