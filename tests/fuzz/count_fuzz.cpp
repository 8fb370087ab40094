// Any text as a count: the result must be what a saturating atoi gives.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/count.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const int got = text::parseLeadingInt(text);
  // The reference: strtoll on the text up to its first NUL, clamped to int.
  const std::string upToNul = text.substr(0, text.find('\0'));
  const char* begin = upToNul.c_str();
  while (*begin == ' ' || (*begin >= '\t' && *begin <= '\r')) ++begin;
  long long expected = 0;
  if ((*begin == '+' || *begin == '-') ? (begin[1] >= '0' && begin[1] <= '9') : (*begin >= '0' && *begin <= '9')) {
    errno = 0;
    expected = std::strtoll(begin, nullptr, 10);
  }
  if (expected > INT_MAX) expected = INT_MAX;
  if (expected < INT_MIN) expected = INT_MIN;
  if (got != expected && text.find('\0') == std::string::npos) std::abort();
  return 0;
}
