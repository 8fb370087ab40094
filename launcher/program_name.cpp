#include "launcher/program_name.h"

#include <algorithm>

namespace launcher {
namespace {
constexpr std::uint16_t kNeutral = 0x0000;
constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::uint16_t kUnicode = 1200;
constexpr std::uint16_t kWestern = 1252;

std::uint16_t primaryLanguage(std::uint16_t language) { return language & 0x3FF; }
}  // namespace

std::vector<Translation> translationsToTry(std::span<const Translation> listed, std::uint16_t userLanguage) {
  if (listed.empty()) {
    return {{kUsEnglish, kUnicode}, {kUsEnglish, kWestern}, {kNeutral, kUnicode}, {kNeutral, kWestern}};
  }
  auto rank = [userLanguage](const Translation& t) {
    if (t.language == userLanguage) return 0;
    if (primaryLanguage(t.language) == primaryLanguage(userLanguage) && primaryLanguage(t.language) != 0) return 1;
    if (t.language == kNeutral) return 2;
    if (t.language == kUsEnglish) return 3;
    return 4;
  };
  std::vector<Translation> order(listed.begin(), listed.end());
  std::stable_sort(order.begin(), order.end(),
                   [&rank](const Translation& a, const Translation& b) { return rank(a) < rank(b); });
  return order;
}

std::wstring fileTitle(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/:");
  std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind(L'.');
  // A name that is only an extension (".exe") keeps it: it has nothing else.
  if (dot != std::wstring_view::npos && dot > 0) name = name.substr(0, dot);
  return std::wstring(name);
}

std::wstring trimmed(std::wstring_view s) {
  constexpr std::wstring_view kBlanks = L" \t\r\n";
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = s.find_last_not_of(kBlanks);
  return std::wstring(s.substr(first, last - first + 1));
}

}  // namespace launcher
