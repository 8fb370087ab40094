// Fuzzes findText and textBetween with arbitrary pages, markers and flags.
// Input: flags byte (bit 0 case sensitive), start position byte (signed),
// start marker length, end marker length, then the markers and the page.
#include "text/search.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

std::string_view upToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

bool sameBytes(std::string_view a, std::string_view b, bool caseSensitive) {
  if (a.size() != b.size()) return false;
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (caseSensitive ? x != y : fold(x) != fold(y)) return false;
  }
  return true;
}

// The search rule stepped out one character at a time, as the oracle for the
// skipping search.
int stepwiseFind(std::string_view t, std::string_view p, int start, bool caseSensitive) {
  t = upToNul(t);
  p = upToNul(p);
  std::size_t i = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (i > t.size()) return -1;
  if (p.empty()) return static_cast<int>(i) + 1;
  for (; i < t.size() && t.size() - i >= p.size(); i += static_cast<unsigned char>(t[i]) >= 0x80 ? 2 : 1) {
    if (sameBytes(t.substr(i, p.size()), p, caseSensitive)) return static_cast<int>(i) + 1;
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const bool caseSensitive = data[0] & 1;
  // Mostly small positions, now and then far beyond any page.
  const int start = (data[0] & 2) ? static_cast<std::int8_t>(data[1]) : data[1] * 1000;
  std::size_t startLen = data[2] % 40, endLen = data[3] % 40;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
  startLen = std::min(startLen, rest.size());
  endLen = std::min(endLen, rest.size() - startLen);
  const std::string_view startMarker = rest.substr(0, startLen);
  const std::string_view endMarker = rest.substr(startLen, endLen);
  const std::string_view page = rest.substr(startLen + endLen);
  const std::string_view text = upToNul(page);

  for (const std::string_view pattern : {startMarker, endMarker}) {
    const int at = text::findText(page, pattern, start, caseSensitive);
    require(at == stepwiseFind(page, pattern, start, caseSensitive));
    if (at != -1) {
      const std::string_view p = upToNul(pattern);
      require(at >= 1 && at >= start && static_cast<std::size_t>(at) - 1 + p.size() <= text.size());
      require(sameBytes(text.substr(static_cast<std::size_t>(at) - 1, p.size()), p, caseSensitive));
    }
  }

  const std::string between = text::textBetween(page, startMarker, endMarker, start, caseSensitive);
  const int p = stepwiseFind(page, startMarker, start, caseSensitive);
  if (p == -1) {
    require(between.empty());
  } else {
    // What comes back is the page right after the first start marker, up to
    // an end marker that follows it directly.
    const std::size_t from = static_cast<std::size_t>(p) - 1 + upToNul(startMarker).size();
    require(from <= text.size() && between.size() <= text.size() - from);
    require(text.substr(from, between.size()) == between);
    const int q = stepwiseFind(text.substr(from), endMarker, start, caseSensitive);
    require(q == -1 ? between.empty() : between.size() == static_cast<std::size_t>(q) - 1);
  }

  const std::string bytes = text::textUpToNul({data, size});
  require(bytes.find('\0') == std::string::npos && bytes.size() <= size &&
          std::string_view(reinterpret_cast<const char*>(data), bytes.size()) == bytes);
  return 0;
}
