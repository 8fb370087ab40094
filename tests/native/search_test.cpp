#include "text/search.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::literals;

// Two-byte characters used below: 晴 C7 E7, 阴 D2 F5, 啊 B0 A1, and 81 41,
// whose trail byte is the ASCII letter A.
constexpr auto kSunny = "\xC7\xE7"sv;     // 晴
constexpr auto kOvercast = "\xD2\xF5"sv;  // 阴

std::string repeat(std::string_view s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

struct FindCase {
  std::string text;
  std::string pattern;
  int start;
  bool caseSensitive;
  int expected;
  const char* why;
};

TEST(FindText, PositionsStartsAndCase) {
  const FindCase cases[] = {
      {"abcabc", "abc", 1, true, 1, "first match"},
      {"abcabc", "abc", 2, true, 4, "match at or after start"},
      {"abcabc", "abc", 4, true, 4, "match exactly at start"},
      {"abcabc", "abc", 0, true, 1, "start 0 means 1"},
      {"abcabc", "abc", -7, true, 1, "negative start means 1"},
      {"abc", "c", 3, true, 3, "start on the last byte"},
      {"abc", "c", 4, true, -1, "start just past the end"},
      {"abc", "c", 1000, true, -1, "start far beyond"},
      {"abc", "abcd", 1, true, -1, "pattern longer than the text"},
      {"xxabc", "abc", 4, true, -1, "pattern longer than what remains"},
      {"", "a", 1, true, -1, "empty text"},
      {"xAbCx", "aBc", 1, false, 2, "letters fold without case"},
      {"xAbCx", "aBc", 1, true, -1, "and not with case"},
      {"aaaAb", "AB", 1, false, 4, "all-letter pattern, both cases in the text"},
      {"[@", "{`", 1, false, -1, "[ and { differ by 0x20 but are no letters"},
      {"{`", "[@", 1, false, -1, "nor the other way round"},
      {"a[b", "A{B", 1, false, -1, "nor inside a pattern"},
      {"x1-Y", "1-y", 1, false, 2, "digits and punctuation compare exactly"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::findText(c.text, c.pattern, c.start, c.caseSensitive), c.expected) << c.why;
  }
}

TEST(FindText, StepsOverTwoByteCharactersWhole) {
  const std::string odd = "\xB0" + repeat("\xB0\xA1", 500);  // B0 B0 | A1 B0 | A1 B0 ...
  const FindCase cases[] = {
      {std::string(kSunny) + std::string(kOvercast), "\xE7\xD2", 1, true, -1,
       "trail of 晴 and lead of 阴 straddle two characters"},
      {std::string(kSunny) + std::string(kOvercast), std::string(kOvercast), 1, true, 3,
       "the second character itself is found"},
      {"\xC7\xE7", "\xE7\xE7", 1, false, -1, "C7 and E7 differ by 0x20 but do not fold"},
      {"<\xC7\xE7>", "<\xE7\xE7>", 1, false, -1, "nor inside a pattern"},
      {"\x81" "A", "A", 1, true, -1, "an ASCII trail byte is no character"},
      {"\x81" "A", "a", 1, false, -1, "nor without case"},
      {"\x81" "AA", "A", 1, true, 3, "the A after it is"},
      {"\x81" "abab", "AB", 1, false, 4, "all-letter pattern stepping past an ASCII trail"},
      {repeat("\xB0\xA1", 1000) + "\xA1\xB0", "\xA1\xB0", 1, true, 2001,
       "a long run of characters whose trail-lead pairs look like the pattern"},
      {"x" + repeat("\xB0\xA1", 1000) + "\xA1\xB0", "\xA1\xB0", 1, true, 2002,
       "the same run after one ASCII byte"},
      {odd, "\xA1\xB0", 1, true, 3, "one extra lead byte in front shifts every boundary"},
      {"\xC7\xE7\xE7x", "\xE7x", 1, true, 3, "after 晴, E7 x is a character of its own"},
      {"\xC7\xE7\xE7x", "\xE7\xE7", 2, true, 2, "the start position counts as a boundary"},
      {"ab\xC7", "\xC7", 1, true, 3, "a lone lead byte at the end is still compared"},
      {"ab\xC7", "\xC7\xE7", 1, true, -1, "but nothing reaches past the end"},
      {"a\xC7" "b", "b", 1, true, -1, "b is the trail of the last character"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::findText(c.text, c.pattern, c.start, c.caseSensitive), c.expected) << c.why;
  }
}

TEST(FindText, TextsAndPatternsEndAtTheirFirstNul) {
  const FindCase cases[] = {
      {std::string("ab\0cd", 5), "cd", 1, true, -1, "text ends before cd"},
      {std::string("ab\0cd", 5), "b", 1, true, 2, "what precedes the NUL is searched"},
      {std::string("a\xC7\0b", 4), "b", 1, true, -1, "lead byte before the terminator ends the search"},
      {std::string("a\xC7\0b", 4), std::string("\xC7\0", 2), 1, true, 2, "pattern ends at its NUL too"},
      {"abc", std::string("b\0zz", 4), 1, true, 2, "only the pattern's bytes before NUL count"},
      {std::string("\0abc", 4), "a", 1, true, -1, "NUL first: an empty text"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::findText(c.text, c.pattern, c.start, c.caseSensitive), c.expected) << c.why;
  }
}

// An empty pattern is found where the search begins, including one past the
// last byte (as std::string_view::find does), and nowhere beyond.
TEST(FindText, EmptyPatternMatchesWhereTheSearchBegins) {
  const FindCase cases[] = {
      {"abc", "", 1, true, 1, "at the start"},
      {"abc", "", -3, true, 1, "start below 1"},
      {"abc", "", 3, false, 3, "on the last byte"},
      {"abc", "", 4, true, 4, "just past the end"},
      {"abc", "", 5, true, -1, "beyond"},
      {"", "", 1, true, 1, "empty text"},
      {"abc", std::string("\0x", 2), 2, true, 2, "a pattern that is empty up to its NUL"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::findText(c.text, c.pattern, c.start, c.caseSensitive), c.expected) << c.why;
  }
}

// The rule written out plainly: compare at each character, then step one or
// two bytes. The real search skips ahead and must agree with this everywhere.
int stepwiseFind(std::string_view t, std::string_view p, int start, bool caseSensitive) {
  t = t.substr(0, t.find('\0'));
  p = p.substr(0, p.find('\0'));
  std::size_t i = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (i > t.size()) return -1;
  if (p.empty()) return static_cast<int>(i) + 1;
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  while (i < t.size() && t.size() - i >= p.size()) {
    bool same = true;
    for (std::size_t k = 0; k < p.size() && same; ++k) {
      const auto a = static_cast<unsigned char>(t[i + k]), b = static_cast<unsigned char>(p[k]);
      same = caseSensitive ? a == b : fold(a) == fold(b);
    }
    if (same) return static_cast<int>(i) + 1;
    i += static_cast<unsigned char>(t[i]) >= 0x80 ? 2 : 1;
  }
  return -1;
}

TEST(FindText, AgreesWithPlainSteppingOnRandomMixedTexts) {
  // A small alphabet of ASCII letters and lead/trail bytes, plus a rare NUL,
  // so that look-alike matches across character boundaries are common.
  const std::string alphabet = "aAb<\x81\xB0\xA1\xC1\xE1\xC7\xE7";
  std::mt19937 rng(20240601);
  auto randomText = [&](std::size_t maxLen) {
    std::string s(std::uniform_int_distribution<std::size_t>(0, maxLen)(rng), ' ');
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() * 20);
    for (char& c : s) {
      const std::size_t i = pick(rng);
      c = i < alphabet.size() * 20 ? alphabet[i % alphabet.size()] : '\0';
    }
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string t = randomText(60);
    const std::string p = randomText(4);
    const int start = std::uniform_int_distribution<int>(-1, 62)(rng);
    for (const bool caseSensitive : {true, false}) {
      ASSERT_EQ(text::findText(t, p, start, caseSensitive), stepwiseFind(t, p, start, caseSensitive))
          << "round " << round << " start " << start << " case " << caseSensitive;
    }
  }
}

struct BetweenCase {
  std::string page;
  std::string startMarker;
  std::string endMarker;
  int startPosition;
  bool caseSensitive;
  std::string expected;
  const char* why;
};

TEST(TextBetween, CutsBetweenTheFirstStartAndTheNextEnd) {
  const BetweenCase cases[] = {
      {"x<b>hi</b>y", "<b>", "</b>", 0, false, "hi", "plain"},
      {"<B>Hi</B>", "<b>", "</b>", 0, false, "Hi", "markers in capitals, text keeps its case"},
      {"<B>Hi</B>", "<b>", "</b>", 0, true, "", "not with case sensitivity"},
      {"</b>x<b>y", "<b>", "</b>", 0, false, "", "end marker only before the start marker"},
      {"</b>x<b>y</b>", "<b>", "</b>", 0, false, "y", "an earlier end marker is ignored"},
      {"<b>a<b>b</b>c</b>", "<b>", "</b>", 0, false, "a<b>b", "second start marker inside"},
      {"x<b>", "<b>", "</b>", 0, false, "", "start marker ends the page"},
      {"x<b>", "<b>", "", 0, false, "", "even for an empty end marker"},
      {"<b></b>", "<b>", "</b>", 0, false, "", "adjacent markers"},
      {"<b>ab", "<b>", "", 0, false, "", "empty end marker right after the start marker"},
      {"abc", "", "c", 0, false, "ab", "empty start marker matches at the start"},
      {"abc", "x", "c", 0, false, "", "no start marker"},
      {"<b>abc", "<b>", "</b>", 0, false, "", "no end marker"},
      {"<b>x</b><b>y</b>", "<b>", "</b>", 1, false, "x", "start position 1"},
      {"<b>x</b><b>y</b>", "<b>", "</b>", -5, false, "x", "below 1 means 1"},
      {"<b>x</b><b>y</b>", "<b>", "</b>", 2, false, "y", "start marker searched from position 2"},
      {"q<b></b>z</b>", "<b>", "</b>", 2, false, "</b>z",
       "the end search starts at position 2 of the rest, bytes before it still belong to the result"},
      {"<b>x</b><b>y</b>", "<b>", "</b>", 10, false, "", "rest y</b> has no end marker from 10 on"},
      {"<b>x</b>", "<b>", "</b>", 100, false, "", "start position beyond the page"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::textBetween(c.page, c.startMarker, c.endMarker, c.startPosition, c.caseSensitive),
              c.expected)
        << c.why;
  }
}

TEST(TextBetween, TwoByteCharactersAndTerminators) {
  const std::string sunnyOvercast = std::string(kSunny) + std::string(kOvercast);
  const BetweenCase cases[] = {
      {"<b>" + sunnyOvercast + "</b>", "<b>", "</b>", 0, false, sunnyOvercast, "Chinese text between"},
      {sunnyOvercast + "<b>x</b>", "\xE7\xD2", "</b>", 0, false, "", "straddling start marker"},
      {"<b>" + sunnyOvercast + "x", "<b>", "\xE7\xD2" "x", 0, false, "", "straddling end marker"},
      {"<b>" + sunnyOvercast + "x", "<b>", std::string(kOvercast), 0, false, std::string(kSunny),
       "whole character as end marker"},
      // The rest is a text of its own: after "<\xC7" it begins with E7, which
      // then leads the character E7 E7, so "\xE7e" is not on a boundary there.
      {"<\xC7\xE7\xE7" "e", "<\xC7", "\xE7" "e", 0, false, "", "rest steps from its own start"},
      {"\x81<b>x</b><b>y</b>", "<b>", "</b>", 0, false, "y", "< as a trail byte is no start marker"},
      {"<b>x\x81</b>y</b>", "<b>", "</b>", 0, false, "x\x81</b>y", "< as a trail byte is no end marker"},
      {"<b>x" "\xC7", "<b>", "\xC7\xE7", 0, false, "", "lead byte before the terminator"},
      {std::string("ab\0<b>x</b>", 11), "<b>", "</b>", 0, false, "", "NUL before the markers"},
      {std::string("<b>x\0</b>", 9), "<b>", "</b>", 0, false, "", "NUL between the markers"},
      {std::string("<b>x</b>\0junk", 13), "<b>", "</b>", 0, false, "x", "NUL after the markers"},
      {"<b>x</b>", std::string("<b>\0zz", 6), std::string("</b>\0zz", 7), 0, false, "x",
       "markers end at their NUL"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::textBetween(c.page, c.startMarker, c.endMarker, c.startPosition, c.caseSensitive),
              c.expected)
        << c.why;
  }
}

TEST(TextUpToNul, StopsBeforeTheFirstZeroByte) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::string expected;
  };
  const Case cases[] = {
      {{}, ""},
      {{'a', 'b', 'c'}, "abc"},
      {{'a', 'b', 0, 'c', 'd'}, "ab"},
      {{0, 'x'}, ""},
      {{0xC7, 0xE7, 0xFF}, "\xC7\xE7\xFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(text::textUpToNul(c.bytes), c.expected);
}

}  // namespace
