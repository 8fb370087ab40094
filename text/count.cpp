#include "text/count.h"

#include <climits>

namespace text {

int parseLeadingInt(std::string_view s) {
  std::size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
  while (i < s.size() && blank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long value = 0;  // kept within [0, INT_MAX + 1]
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-value);  // -(INT_MAX + 1) is INT_MIN
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace text
