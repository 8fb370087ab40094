#include "text/count.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(ParseLeadingInt, ReadsLikeAtoiAndSaturatesInsteadOfOverflowing) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"0", 0},
      {"2", 2},
      {" 2", 2},
      {"\t\r\n 17", 17},
      {"+9", 9},
      {"-4", -4},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"- 3", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999", INT_MAX},  // twenty digits
      {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN},
      {"00000000000000000000016", 16},
  };
  for (const auto& c : cases) EXPECT_EQ(text::parseLeadingInt(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
