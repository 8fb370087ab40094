#include "weather/conditions.h"
#include "weather/markers.h"
#include "weather/scrape.h"

#include "text/search.h"
#include "ui/picture.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifndef WEATHER_PICTURE_DIR
#error "WEATHER_PICTURE_DIR must name the folder holding the weather pictures"
#endif

namespace {

using weather::WeatherPicture;

// A day's page as the weather site serves it, in GBK: 北京天气预报, 多云转晴,
// 最低：19℃, 最高：28℃, （2012年6月18日 星期一）, 今天天气较好，适宜外出。
const std::string kGbkPage =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
    "<title>\xB1\xB1\xBE\xA9\xCC\xEC\xC6\xF8\xD4\xA4\xB1\xA8</title></head><body><div class=\"today\"><ul>\n"
    "<li class=\"ord1\"><span class=\"phrase\">\xB6\xE0\xD4\xC6\xD7\xAA\xC7\xE7</span></li><li class=\"ord2\">"
    "<span><b>\xD7\xEE\xB5\xCD\xA3\xBA</b>19<i>\xA1\xE6</i></span></li>\n"
    "<li class=\"ord3\"><span><b>\xD7\xEE\xB8\xDF\xA3\xBA</b>28<i>\xA1\xE6</i></span></li></ul>\n"
    "<p class=\"date\">\xA3\xA8" "2012\xC4\xEA" "6\xD4\xC2" "18\xC8\xD5 \xD0\xC7\xC6\xDA\xD2\xBB\xA3\xA9</p>"
    "<p class=\"tips\">\xBD\xF1\xCC\xEC\xCC\xEC\xC6\xF8\xBD\xCF\xBA\xC3\xA3\xAC\xCA\xCA\xD2\xCB\xCD\xE2\xB3\xF6\xA1\xA3</p>\n"
    "</div></body></html>\n";
const std::string kCloudyThenClear = "\xB6\xE0\xD4\xC6\xD7\xAA\xC7\xE7";                // 多云转晴
const std::string kDate = "2012\xC4\xEA" "6\xD4\xC2" "18\xC8\xD5 \xD0\xC7\xC6\xDA\xD2\xBB";  // 2012年6月18日 星期一

// The same page in UTF-8.
const std::string kUtf8Page =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "<title>\xE5\x8C\x97\xE4\xBA\xAC\xE5\xA4\xA9\xE6\xB0\x94\xE9\xA2\x84\xE6\x8A\xA5</title></head><body><div class=\"today\"><ul>\n"
    "<li class=\"ord1\"><span class=\"phrase\">\xE5\xA4\x9A\xE4\xBA\x91\xE8\xBD\xAC\xE6\x99\xB4</span></li><li class=\"ord2\">"
    "<span><b>\xE6\x9C\x80\xE4\xBD\x8E\xEF\xBC\x9A</b>19<i>\xE2\x84\x83</i></span></li>\n"
    "<li class=\"ord3\"><span><b>\xE6\x9C\x80\xE9\xAB\x98\xEF\xBC\x9A</b>28<i>\xE2\x84\x83</i></span></li></ul>\n"
    "<p class=\"date\">\xEF\xBC\x88" "2012\xE5\xB9\xB4" "6\xE6\x9C\x88" "18\xE6\x97\xA5 \xE6\x98\x9F\xE6\x9C\x9F\xE4\xB8\x80\xEF\xBC\x89</p>"
    "<p class=\"tips\">\xE4\xBB\x8A\xE5\xA4\xA9</p>\n"
    "</div></body></html>\n";
const std::string kUtf8CloudyThenClear = "\xE5\xA4\x9A\xE4\xBA\x91\xE8\xBD\xAC\xE6\x99\xB4";  // 多云转晴

std::string replaced(std::string s, std::string_view from, std::string_view to) {
  const std::size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

std::string withNulBefore(const std::string& page, std::string_view marker) {
  std::string s = page;
  s.insert(s.find(marker), 1, '\0');
  return s;
}

TEST(Markers, HaveTheirByteLengths) {
  // Lengths pin down the escapes: a greedy "\x.." swallowing a digit shows here.
  EXPECT_EQ(weather::kConditionStart.size(), 21u);
  EXPECT_EQ(weather::kConditionEnd.size(), 29u);
  EXPECT_EQ(weather::kDateStart.size(), 18u);
  EXPECT_EQ(weather::kDateEnd.size(), 22u);
  EXPECT_EQ(weather::kHighStart.size(), 13u);
  EXPECT_EQ(weather::kHighEnd.size(), 16u);
}

TEST(ScrapeWeather, CutsEachItemFromThePage) {
  struct Case {
    std::string page;
    weather::WeatherItems expected;
    const char* why;
  };
  const std::string capitals =
      replaced(replaced(kGbkPage, "<span class=\"phrase\">", "<SPAN CLASS=\"PHRASE\">"),
               "</span></li><li class=\"ord2\">", "</SPAN></LI><LI CLASS=\"ORD2\">");
  // 阴 in UTF-8 is three bytes: its last byte then leads a character with the
  // "<" of the end marker, which the search passes over.
  const std::string utf8Overcast = replaced(kUtf8Page, kUtf8CloudyThenClear, "\xE9\x98\xB4");
  const Case cases[] = {
      {kGbkPage, {kCloudyThenClear, kDate, "28"}, "a GBK page"},
      {capitals, {kCloudyThenClear, kDate, "28"}, "condition markers in capitals"},
      {replaced(kGbkPage, ">" + kCloudyThenClear + "<", "><"), {"", kDate, "28"}, "empty condition"},
      {kUtf8Page, {kUtf8CloudyThenClear, "", ""}, "UTF-8: only the ASCII condition markers match"},
      {utf8Overcast, {"", "", ""}, "UTF-8: an odd byte count hides the end marker"},
      {replaced(kGbkPage, "\xA3\xA9</p>", "</p>"), {kCloudyThenClear, "", "28"}, "date end marker missing"},
      {replaced(kGbkPage, "<b>\xD7\xEE\xB8\xDF", "<b>"), {kCloudyThenClear, kDate, ""}, "high start marker missing"},
      {kGbkPage + std::string(1, '\0') + "<p class=\"date\">", {kCloudyThenClear, kDate, "28"}, "NUL after the markers"},
      {withNulBefore(kGbkPage, "<span class=\"phrase\">"), {"", "", ""}, "NUL before the markers"},
      {withNulBefore(kGbkPage, "<p class=\"date\">"), {kCloudyThenClear, "", "28"}, "NUL between the items"},
      {"", {"", "", ""}, "nothing fetched"},
  };
  for (const auto& c : cases) {
    const weather::WeatherItems items = weather::scrapeWeather(c.page);
    EXPECT_EQ(items.condition, c.expected.condition) << c.why;
    EXPECT_EQ(items.date, c.expected.date) << c.why;
    EXPECT_EQ(items.high, c.expected.high) << c.why;
  }
}

TEST(ScrapeWeather, FetchedBytesWithANulAreScrapedUpToIt) {
  std::vector<std::uint8_t> body(kGbkPage.begin(), kGbkPage.end());
  body.insert(body.begin() + static_cast<long>(kGbkPage.find("<p class=\"date\">")), 0);
  const weather::WeatherItems items = weather::scrapeWeather(text::textUpToNul(body));
  EXPECT_EQ(items.condition, kCloudyThenClear);
  EXPECT_EQ(items.date, "");
  EXPECT_EQ(items.high, "28");
}

// Another site's layout: 晴 on 12月11日, high 8.
const std::string kOtherLayout =
    "<div class=\"now\"><em>\xC7\xE7</em></div><time>12\xD4\xC2" "11\xC8\xD5</time>"
    "<ul><li class=\"max\"> 8 </li></ul>";
const weather::WeatherMarkers kOtherMarkers = {
    {"<em>", "</em>"}, {"<time>", "</time>"}, {"<li class=\"max\"> ", " </li>"}};

TEST(WeatherMarkers, EachEmptyMarkerIsTheFixedOne) {
  const weather::WeatherMarkers fixed = weather::fixedMarkers();
  EXPECT_EQ(fixed.condition.start, weather::kConditionStart);
  EXPECT_EQ(fixed.condition.end, weather::kConditionEnd);
  EXPECT_EQ(fixed.date.start, weather::kDateStart);
  EXPECT_EQ(fixed.date.end, weather::kDateEnd);
  EXPECT_EQ(fixed.high.start, weather::kHighStart);
  EXPECT_EQ(fixed.high.end, weather::kHighEnd);

  const weather::WeatherMarkers none = weather::markersOrFixed({});
  for (auto [mine, theirs] : {std::pair{&none.condition, &fixed.condition}, {&none.date, &fixed.date},
                              {&none.high, &fixed.high}}) {
    EXPECT_EQ(mine->start, theirs->start);
    EXPECT_EQ(mine->end, theirs->end);
  }

  weather::WeatherMarkers some;
  some.condition.end = "</em>";
  some.high.start = "<i>";
  const weather::WeatherMarkers mixed = weather::markersOrFixed(some);
  EXPECT_EQ(mixed.condition.start, weather::kConditionStart);
  EXPECT_EQ(mixed.condition.end, "</em>");
  EXPECT_EQ(mixed.date.start, weather::kDateStart);
  EXPECT_EQ(mixed.date.end, weather::kDateEnd);
  EXPECT_EQ(mixed.high.start, "<i>");
  EXPECT_EQ(mixed.high.end, weather::kHighEnd);
}

TEST(WeatherMarkers, ReadAPageOfAnotherLayout) {
  const std::string sunny = "\xC7\xE7";                     // 晴
  const std::string date = "12\xD4\xC2" "11\xC8\xD5";  // 12月11日
  // The fixed markers find nothing on it.
  const weather::WeatherItems fixed = weather::scrapeWeather(kOtherLayout);
  EXPECT_EQ(fixed.condition, "");
  EXPECT_EQ(fixed.date, "");
  EXPECT_EQ(fixed.high, "");

  const weather::WeatherItems items = weather::scrapeWeather(kOtherLayout, weather::markersOrFixed(kOtherMarkers));
  EXPECT_EQ(items.condition, sunny);
  EXPECT_EQ(items.date, date);
  EXPECT_EQ(items.high, "8") << "blanks inside a marker are part of it";

  // The same markers still fold ASCII case and step over GBK characters.
  const std::string capitals = replaced(kOtherLayout, "<em>", "<EM>");
  EXPECT_EQ(weather::scrapeWeather(capitals, kOtherMarkers).condition, sunny);

  // Only the high moved: the other two items keep their fixed markers.
  weather::WeatherMarkers highOnly;
  highOnly.high = {"<td class=\"hi\">", "</td>"};
  const std::string moved = replaced(kGbkPage, "<li class=\"ord3\">", "<td class=\"hi\">31</td><li class=\"ord3\">");
  const weather::WeatherItems partial = weather::scrapeWeather(moved, weather::markersOrFixed(highOnly));
  EXPECT_EQ(partial.condition, kCloudyThenClear);
  EXPECT_EQ(partial.date, kDate);
  EXPECT_EQ(partial.high, "31");
}

TEST(DateCaption, JoinsDateHighestHighAndDegrees) {
  const weather::WeatherItems items = weather::scrapeWeather(kGbkPage);
  EXPECT_EQ(weather::dateCaption(items.date, items.high),
            kDate + " \xD7\xEE\xB8\xDF 28\xA1\xE6");  // " 最高 28℃"
  EXPECT_EQ(weather::dateCaption("", ""), "\x20\xD7\xEE\xB8\xDF\x20\xA1\xE6");
  EXPECT_EQ(weather::dateCaption("6/18", ""), "6/18 \xD7\xEE\xB8\xDF \xA1\xE6");
  EXPECT_EQ(weather::dateCaption("", "-3"), " \xD7\xEE\xB8\xDF -3\xA1\xE6");
}

TEST(ConditionTable, NamesInOrderWithTheirPictures) {
  const std::pair<std::string_view, WeatherPicture> expected[] = {
      {"\xC7\xE7", WeatherPicture::Sun},                                        // 晴
      {"\xD2\xF5", WeatherPicture::Overcast},                                   // 阴
      {"\xB6\xE0\xD4\xC6\xD7\xAA\xD2\xF5", WeatherPicture::SunCloud},           // 多云转阴
      {"\xB6\xE0\xD4\xC6\xD7\xAA\xC7\xE7", WeatherPicture::SunCloud},           // 多云转晴
      {"\xD0\xA1\xD3\xEA", WeatherPicture::LightRain},                          // 小雨
      {"\xB4\xF3\xD3\xEA", WeatherPicture::HeavyRain},                          // 大雨
      {"\xD2\xF5\xD7\xAA\xC7\xE7", WeatherPicture::Clouds},                     // 阴转晴
      {"\xB6\xE0\xD4\xC6", WeatherPicture::SunCloud},                           // 多云
      {"\xD0\xA1\xD3\xEA\xD7\xAA\xD2\xF5", WeatherPicture::RainCloud},          // 小雨转阴
      {"\xD6\xD0\xD3\xEA\xD7\xAA\xB6\xE0\xD4\xC6", WeatherPicture::HeavyRain},  // 中雨转多云
      {"\xD5\xF3\xD3\xEA", WeatherPicture::Showers},                            // 阵雨
  };
  const auto names = weather::conditionNames();
  ASSERT_EQ(names.size(), std::size(expected));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i].caption, expected[i].first) << "row " << i + 1;
    EXPECT_EQ(names[i].picture, expected[i].second) << "row " << i + 1;
    EXPECT_EQ(weather::pictureForCondition(expected[i].first), expected[i].second) << "row " << i + 1;
  }
}

TEST(ConditionTable, OnlyWholeCaptionsMatch) {
  const std::pair<std::string, std::optional<WeatherPicture>> cases[] = {
      {"\xB6\xE0\xD4\xC6", WeatherPicture::SunCloud},                          // 多云, a prefix of two others
      {"\xD2\xF5", WeatherPicture::Overcast},                                  // 阴, a prefix of 阴转晴
      {"\xD0\xA1\xD3\xEA", WeatherPicture::LightRain},                         // 小雨, a prefix of 小雨转阴
      {"\xD6\xD0\xD3\xEA", std::nullopt},                                      // 中雨, only the start of a name
      {"\xB6\xE0\xD4\xC6\xD7\xAA", std::nullopt},                              // 多云转
      {"\xC7\xE7 ", std::nullopt},                                             // 晴 and a space: no trimming
      {" \xC7\xE7", std::nullopt},
      {"\xC7\xE7\xC7\xE7", std::nullopt},                                      // 晴晴
      {std::string("\xC7\xE7\0", 3), std::nullopt},                            // a stray NUL is a byte too
      {"\xE6\x99\xB4", std::nullopt},                                          // 晴 in UTF-8
      {"", std::nullopt},
  };
  for (const auto& [caption, picture] : cases) {
    EXPECT_EQ(weather::pictureForCondition(caption), picture) << caption.size() << " bytes";
  }
}

TEST(ConditionTable, EveryPictureIsUsed) {
  for (const weather::PictureFile& file : weather::pictureFiles()) {
    bool used = false;
    for (const auto& name : weather::conditionNames()) used = used || name.picture == file.picture;
    EXPECT_TRUE(used) << file.fileName;
  }
}

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

struct Chunk {
  std::string type;
  std::size_t dataAt;
  std::uint32_t length;
};

// The chunks in file order; an empty list when the file does not parse.
std::vector<Chunk> chunksOf(const std::vector<std::uint8_t>& png) {
  static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || !std::equal(std::begin(signature), std::end(signature), png.begin())) return {};
  std::vector<Chunk> chunks;
  for (std::size_t at = 8; at < png.size();) {
    if (png.size() - at < 12) return {};
    const std::uint32_t length = bigEndian(png, at);
    if (length > png.size() - at - 12) return {};
    chunks.push_back({std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8),
                      at + 8, length});
    at += 12 + length;
  }
  return chunks;
}

struct Content {
  bool cloud;
  bool sun;
  int drops;
};

// Features of a drawing, by the colours its elements are drawn in.
Content contentOf(const ui::Picture& p) {
  Content found{false, false, 0};
  std::vector<bool> blue(p.pixels.size()), seen(p.pixels.size());
  for (std::size_t i = 0; i < p.pixels.size(); ++i) {
    const int r = p.pixels[i] >> 16 & 0xFF, g = p.pixels[i] >> 8 & 0xFF, b = p.pixels[i] & 0xFF;
    if (r == 125 && g == 125 && b == 125) found.cloud = true;  // the outline
    if (r >= 240 && b <= 60 && g >= 120 && g <= 235) found.sun = true;
    blue[i] = b - r >= 60;
  }
  // Each drop is one patch of blue, its highlight included.
  for (std::size_t i = 0; i < blue.size(); ++i) {
    if (!blue[i] || seen[i]) continue;
    ++found.drops;
    std::vector<std::size_t> todo{i};
    seen[i] = true;
    while (!todo.empty()) {
      const std::size_t at = todo.back();
      todo.pop_back();
      const int x = static_cast<int>(at % p.width), y = static_cast<int>(at / p.width);
      const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
      for (const auto& [nx, ny] : next) {
        if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height) continue;
        const std::size_t n = static_cast<std::size_t>(ny) * p.width + nx;
        if (blue[n] && !seen[n]) seen[n] = true, todo.push_back(n);
      }
    }
  }
  return found;
}

TEST(WeatherPictures, AreOpaqueRgbPngsOfTheirSizeShowingTheirWeather) {
  const std::pair<WeatherPicture, Content> cases[] = {
      {WeatherPicture::Sun, {false, true, 0}},      {WeatherPicture::Overcast, {true, false, 0}},
      {WeatherPicture::SunCloud, {true, true, 0}},  {WeatherPicture::LightRain, {true, false, 2}},
      {WeatherPicture::HeavyRain, {true, false, 3}}, {WeatherPicture::Clouds, {true, false, 0}},
      {WeatherPicture::RainCloud, {true, false, 2}}, {WeatherPicture::Showers, {true, true, 3}},
  };
  ASSERT_EQ(weather::pictureFiles().size(), std::size(cases));
  for (const auto& [picture, content] : cases) {
    const weather::PictureFile& file = weather::pictureFile(picture);
    SCOPED_TRACE(std::string(file.fileName));
    EXPECT_EQ(file.picture, picture);
    const std::vector<std::uint8_t> png = readFile(std::string(WEATHER_PICTURE_DIR "/") + std::string(file.fileName));
    ASSERT_FALSE(png.empty());

    const std::vector<Chunk> chunks = chunksOf(png);
    std::vector<std::string> kinds;
    for (const Chunk& c : chunks) {
      if (kinds.empty() || kinds.back() != c.type || c.type != "IDAT") kinds.push_back(c.type);
    }
    ASSERT_EQ(kinds, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    const Chunk& ihdr = chunks.front();
    ASSERT_EQ(ihdr.length, 13u);
    EXPECT_EQ(bigEndian(png, ihdr.dataAt), static_cast<std::uint32_t>(file.width));
    EXPECT_EQ(bigEndian(png, ihdr.dataAt + 4), static_cast<std::uint32_t>(file.height));
    EXPECT_EQ(png[ihdr.dataAt + 8], 8) << "bit depth";
    EXPECT_EQ(png[ihdr.dataAt + 9], 2) << "colour type RGB";
    EXPECT_EQ(png[ihdr.dataAt + 12], 0) << "not interlaced";

    // libpng checks every CRC and the compressed data on the way.
    const auto decoded = ui::decodePicture(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, file.width);
    EXPECT_EQ(decoded->height, file.height);
    for (const auto& [x, y] : {std::pair{0, 0}, {file.width - 1, 0}, {0, file.height - 1},
                               {file.width - 1, file.height - 1}}) {
      EXPECT_EQ(decoded->at(x, y), 0xFFFFFFFFu) << "white corner " << x << "," << y;
    }
    const Content seen = contentOf(*decoded);
    EXPECT_EQ(seen.cloud, content.cloud) << "cloud";
    EXPECT_EQ(seen.sun, content.sun) << "sun";
    EXPECT_EQ(seen.drops, content.drops) << "drops";
  }
}

}  // namespace
