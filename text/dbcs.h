// Double-byte character rules shared by every search over 8-bit text: a byte
// of 0x80 or above starts a two-byte character, which is passed over whole.
#pragma once
#include <cstddef>
#include <string_view>

namespace text {

inline bool isLeadByte(unsigned char b) { return b >= 0x80; }

// Byte length of the character starting at `pos`; a lead byte at the very end
// counts as one byte so that callers never step past the text.
inline std::size_t charLength(std::string_view s, std::size_t pos) {
  return (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// Index of the last single-byte character `c` (ASCII) in `s`, found on
// character boundaries only, or npos. A trail byte equal to `c` never matches.
inline std::size_t lastCharIndexOf(std::string_view s, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) {
    if (s[i] == c) found = i;
  }
  return found;
}

}  // namespace text
