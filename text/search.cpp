#include "text/search.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

// SSE2 is always there on x86-64; elsewhere the same candidates come from a
// plain loop.
#if defined(__SSE2__) && !defined(TEXT_SEARCH_NO_SIMD)
#define TEXT_SEARCH_SIMD 1
#include <emmintrin.h>
#endif

namespace text {

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::string_view upToNul(std::string_view s) {
  if (s.empty()) return s;
  const void* nul = std::memchr(s.data(), 0, s.size());
  return nul ? s.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - s.data())) : s;
}

constexpr bool isAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
constexpr unsigned char foldAscii(unsigned char c) { return isAsciiLetter(c) ? (c | 0x20) : c; }

bool equalAt(const unsigned char* at, std::string_view pattern, bool caseSensitive) {
  if (caseSensitive) return std::memcmp(at, pattern.data(), pattern.size()) == 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (foldAscii(at[i]) != foldAscii(static_cast<unsigned char>(pattern[i]))) return false;
  }
  return true;
}

// One byte of the pattern that candidates are picked by. Folded, a letter is
// compared with 0x20 set, which lets exactly its two cases through.
struct Key {
  std::size_t offset;
  unsigned char value;
  unsigned char orMask;
  bool matches(unsigned char c) const { return (c | orMask) == value; }
};

Key keyAt(std::string_view pattern, std::size_t offset, bool caseSensitive) {
  const auto c = static_cast<unsigned char>(pattern[offset]);
  const bool fold = !caseSensitive && isAsciiLetter(c);
  return {offset, fold ? foldAscii(c) : c, static_cast<unsigned char>(fold ? 0x20 : 0)};
}

// Bit b set when both keys match for the candidate start at + b, b < count.
std::uint32_t candidatesScalar(const unsigned char* t, std::size_t at, std::size_t count, const Key& a,
                               const Key& b) {
  std::uint32_t mask = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (a.matches(t[at + i + a.offset]) && b.matches(t[at + i + b.offset])) mask |= 1u << i;
  }
  return mask;
}

#ifdef TEXT_SEARCH_SIMD
std::uint32_t candidates16(const unsigned char* t, std::size_t at, const Key& a, const Key& b) {
  auto hits = [&](const Key& k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at + k.offset));
    return _mm_cmpeq_epi8(_mm_or_si128(bytes, _mm_set1_epi8(static_cast<char>(k.orMask))),
                          _mm_set1_epi8(static_cast<char>(k.value)));
  };
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_and_si128(hits(a), hits(b))));
}
#endif

// Where the run of bytes >= 0x80 that ends right before `at` begins, looking
// no further back than `floor`; eight bytes at a time on little-endian machines.
std::size_t highRunStart(const unsigned char* t, std::size_t floor, std::size_t at) {
  if constexpr (std::endian::native == std::endian::little) {
    while (at - floor >= 8) {
      std::uint64_t word;
      std::memcpy(&word, t + at - 8, 8);
      const std::uint64_t low = ~word & 0x8080808080808080u;  // top bit of each byte below 0x80
      if (low) return at - 8 + (8 - static_cast<std::size_t>(std::countl_zero(low)) / 8);
      at -= 8;
    }
  }
  while (at > floor && t[at - 1] >= 0x80) --at;
  return at;
}

// 0-based start of the first match at or after `from`, characters stepped from
// `from` on; npos if none.
//
// Candidates are the starts where the pattern's first and last bytes match,
// sixteen at a time. Whether a candidate starts a character is decided by
// looking back only to the last byte below 0x80 (a character always starts
// right after one: that byte was a character of its own or ended one) or to
// the last known boundary. Between there and the candidate stand only bytes
// >= 0x80, lead/trail pairs, so the distance's parity tells. No byte is looked
// back over twice, which keeps the search linear.
std::size_t find(std::string_view text, std::string_view pattern, std::size_t from,
                 bool caseSensitive) {
  const std::size_t n = text.size();
  const std::size_t m = pattern.size();
  if (from > n) return npos;
  if (m == 0) return from;
  if (m > n - from) return npos;
  const std::size_t last = n - m;  // the last start a match can have
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  const Key first = keyAt(pattern, 0, caseSensitive);
  const Key final = keyAt(pattern, m - 1, caseSensitive);

  std::size_t boundary = from;  // a character start at or before every candidate to come
  // Checks the candidates in `mask`, lowest first, for starts at + bit.
  auto check = [&](std::size_t at, std::uint32_t mask) -> std::size_t {
    for (; mask; mask &= mask - 1) {
      const std::size_t c = at + static_cast<std::size_t>(std::countr_zero(mask));
      if ((c - highRunStart(t, boundary, c)) % 2 == 0) {
        if (equalAt(t + c, pattern, caseSensitive)) return c;
        boundary = c;
      } else {
        boundary = c + 1;  // c is a trail byte, so a character starts after it
      }
    }
    return npos;
  };

  std::size_t at = from;
#ifdef TEXT_SEARCH_SIMD
  // Whole blocks while the last key byte's load stays inside the text.
  for (; at + 15 <= last; at += 16) {
    if (const std::uint32_t mask = candidates16(t, at, first, final)) {
      if (const std::size_t c = check(at, mask); c != npos) return c;
    }
  }
#endif
  for (; at <= last; at += 16) {
    const std::size_t count = std::min<std::size_t>(16, last - at + 1);
    if (const std::size_t c = check(at, candidatesScalar(t, at, count, first, final)); c != npos) return c;
  }
  return npos;
}

std::size_t startIndex(int position) { return position < 1 ? 0 : static_cast<std::size_t>(position) - 1; }

}  // namespace

int findText(std::string_view text, std::string_view pattern, int start, bool caseSensitive) {
  text = upToNul(text);
  // Every position, one past the end included, has to fit in the result.
  if (text.size() > static_cast<std::size_t>(INT_MAX) - 1) text = text.substr(0, INT_MAX - 1);
  const std::size_t at = find(text, upToNul(pattern), startIndex(start), caseSensitive);
  return at == npos ? -1 : static_cast<int>(at + 1);
}

std::string textBetween(std::string_view page, std::string_view startMarker,
                        std::string_view endMarker, int startPosition, bool caseSensitive) {
  page = upToNul(page);
  startMarker = upToNul(startMarker);
  const std::size_t from = startIndex(startPosition);
  const std::size_t p = find(page, startMarker, from, caseSensitive);
  if (p == npos) return {};
  const std::string_view rest = page.substr(p + startMarker.size());
  const std::size_t q = find(rest, upToNul(endMarker), from, caseSensitive);
  if (q == npos) return {};
  return std::string(rest.substr(0, q));
}

std::string textUpToNul(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return {};
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t n =
      nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - bytes.data()) : bytes.size();
  return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

}  // namespace text
