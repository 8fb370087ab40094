#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/main_window.h"
#include "app/shared_state.h"
#include "app/startup.h"
#include "http_server.h"
#include "support.h"
#include "weather/banner.h"
#include "weather/conditions.h"
#include "weather/fetch.h"
#include "weather/markers.h"

namespace {

using testing_support::HttpServer;
using testing_support::exeDirectory;
using testing_support::readFile;
using testing_support::writeFile;

std::string dataDir() { return exeDirectory() + "\\data"; }

constexpr char kSunny[] = "\xC7\xE7";  // 晴
const std::string kDate = "12\xD4\xC2" "11\xC8\xD5";  // 12月11日

// A page in GBK with the three items where the weather site puts them.
std::string gbkPage(const std::string& condition = kSunny) {
  return "<html><body><ul><li><span class=\"phrase\">" + condition +
         "</span></li><li class=\"ord2\">x</li></ul><p class=\"date\">\xA3\xA8" + kDate +
         "\xA3\xA9</p><p class=\"tips\">tip</p><span><b>\xD7\xEE\xB8\xDF\xA3\xBA</b>8<i>\xA1\xE6</i></span></body></html>";
}

class WeatherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::fixRunDirectory();
    DeleteFileA((dataDir() + "\\tianq.txt").c_str());
    RemoveDirectoryA(dataDir().c_str());
    CreateDirectoryA(dataDir().c_str(), nullptr);
  }
  void TearDown() override {
    if (app::barExists()) app::destroyMainWindow();
    app::releaseSharedState();
    DeleteFileA((dataDir() + "\\tianq.txt").c_str());
    RemoveDirectoryA(dataDir().c_str());
  }
  void configure(const std::string& value) { writeFile(dataDir() + "\\tianq.txt", "[wangzhi]\r\ntianq=" + value + "\r\n"); }
  // The bar's whole start-up; returns how long onWindowCreated took.
  double startBar() {
    app::initSharedState();
    EXPECT_TRUE(app::createMainWindow());
    const auto begin = std::chrono::steady_clock::now();
    app::onWindowCreated();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  }
  // Says how long the hidden bar waited for a server, in the output and the test's record.
  void recordWait(const char* what, double seconds) {
    std::printf("%s: the bar was ready after %.1f s\n", what, seconds);
    RecordProperty(what, std::to_string(seconds));
  }
  std::string condition() { return app::bar().conditionLabel->caption(); }
  std::string dateCaption() { return app::bar().dateLabel->caption(); }
};

const std::string kEmptyDateCaption = " \xD7\xEE\xB8\xDF \xA1\xE6";  // " 最高 ℃"

TEST_F(WeatherTest, AGbkPageFillsTheBannerAndTheRequestIsExactlyTheOneWeSend) {
  HttpServer server([](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("200 OK", gbkPage())); });
  configure("http://127.0.0.1:" + std::to_string(server.port()) + "/weather/today.shtml?city=1#now");
  startBar();
  EXPECT_EQ(condition(), kSunny);
  EXPECT_EQ(app::state().weatherDate, kDate);
  EXPECT_EQ(app::state().highTemperature, "8");
  EXPECT_EQ(dateCaption(), kDate + " \xD7\xEE\xB8\xDF 8\xA1\xE6");
  EXPECT_EQ(app::state().weatherPage, gbkPage());
  EXPECT_TRUE(app::bar().conditionPicture->hasPicture());
  const ui::Picture shot = testing_support::printWindow(app::bar().conditionPicture->hwnd());
  int coloured = 0;
  for (std::uint32_t px : shot.pixels) coloured += (px & 0xFFFFFF) != 0xFFFFFF;
  EXPECT_GT(coloured, 39 * 23 / 4) << "the sun fills the box";

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& r = requests[0];
  EXPECT_EQ(r.rfind("GET /weather/today.shtml?city=1 HTTP/1.0\r\n", 0), 0u) << r;
  EXPECT_NE(r.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"), std::string::npos) << r;
  EXPECT_NE(r.find("\r\nAccept: */*\r\n"), std::string::npos) << r;
  EXPECT_EQ(r.find("Pragma"), std::string::npos) << r;
  EXPECT_EQ(r.find("Referer"), std::string::npos) << r;
  EXPECT_EQ(r.find("#now"), std::string::npos) << "the fragment is not sent";
}

TEST_F(WeatherTest, ErrorBodiesPartialBodiesAndRedirectsAreScrapedLikePages) {
  const std::string page = gbkPage();
  const std::string cut = page.substr(0, page.find("<p class"));  // only the condition arrives
  const struct {
    const char* what;
    HttpServer::Answer answer;
    std::string condition;
    std::string date;
  } cases[] = {
      {"404 with a page", [&](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("404 Not Found", page)); },
       kSunny, kDate},
      {"cut off", [&](const std::string&, SOCKET c) {
         HttpServer::send(c, "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + cut);
       }, kSunny, ""},
      {"redirect", [&](const std::string& r, SOCKET c) {
         if (r.rfind("GET /moved", 0) == 0) HttpServer::send(c, HttpServer::response("302 Found", "", "Location: /real\r\n"));
         else HttpServer::send(c, HttpServer::response("200 OK", page));
       }, kSunny, kDate},
      {"utf-8 page", [](const std::string&, SOCKET c) {
         HttpServer::send(c, HttpServer::response("200 OK",
             "<span class=\"phrase\">\xE6\x99\xB4\xE5\xA4\xA9</span></li><li class=\"ord2\"><p class=\"date\">\xEF\xBC\x88" "12\xE6\x9C\x88\xEF\xBC\x89</p><p class=\"tips\">"));
       }, "\xE6\x99\xB4\xE5\xA4\xA9", ""},  // 晴天 as raw UTF-8 bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HttpServer server(c.answer);
    configure("http://127.0.0.1:" + std::to_string(server.port()) + "/moved");
    startBar();
    EXPECT_EQ(condition(), c.condition);
    EXPECT_EQ(app::state().weatherDate, c.date);
    if (c.condition != kSunny) {
      EXPECT_FALSE(app::bar().conditionPicture->hasPicture()) << "raw bytes match no picture";
    }
    app::destroyMainWindow();
    app::releaseSharedState();
  }
}

TEST_F(WeatherTest, NoServerOrNoAddressStillStartsWithTheFixedDateCaption) {
  const std::string none = "http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/";
  for (const std::string& address : {none, std::string("ftp://127.0.0.1/x"), std::string("not a url"), std::string("")}) {
    SCOPED_TRACE(address);
    configure(address);
    EXPECT_LT(startBar(), 10.0);
    EXPECT_EQ(condition(), "");
    EXPECT_EQ(dateCaption(), kEmptyDateCaption);
    EXPECT_TRUE(app::state().weatherPage.empty());
    EXPECT_FALSE(app::bar().conditionPicture->hasPicture());
    app::destroyMainWindow();
    app::releaseSharedState();
  }
  DeleteFileA((dataDir() + "\\tianq.txt").c_str());
  startBar();
  EXPECT_EQ(dateCaption(), kEmptyDateCaption) << "no configuration file";
}

TEST_F(WeatherTest, AServerThatNeverAnswersHoldsStartUpOnlyForABoundedTime) {
  HttpServer server([&server](const std::string&, SOCKET) {
    while (!server.stopping()) Sleep(50);  // accepts, reads, never answers
  });
  configure("http://127.0.0.1:" + std::to_string(server.port()) + "/");
  const double seconds = startBar();
  recordWait("never answers", seconds);
  EXPECT_LT(seconds, 15.0);
  EXPECT_EQ(dateCaption(), kEmptyDateCaption);
}

TEST_F(WeatherTest, ADrippingServerIsCutOffAtTheDeadline) {
  HttpServer server([&server](const std::string&, SOCKET c) {
    HttpServer::send(c, "HTTP/1.0 200 OK\r\n\r\n" + gbkPage());
    for (int i = 0; i < 300 && !server.stopping(); ++i) {  // one byte every 100 ms, for half a minute
      HttpServer::send(c, "x");
      Sleep(100);
    }
  });
  configure("http://127.0.0.1:" + std::to_string(server.port()) + "/");
  const double seconds = startBar();
  recordWait("body drip", seconds);
  EXPECT_LT(seconds, 15.0) << "start-up is bounded";
  EXPECT_GT(seconds, 10.0) << "the deadline, not a read time-out, ended it";
  EXPECT_EQ(condition(), kSunny) << "what came before the deadline is the page";
}

// Status line and headers one byte every 200 ms: more than a minute in all.
void dripHeaders(const HttpServer& server, SOCKET c) {
  std::string head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n";
  while (head.size() < 320) head += "X-Padding: " + std::string(40, 'p') + "\r\n";
  head += "\r\n" + gbkPage();
  for (char byte : head) {
    if (server.stopping()) return;
    HttpServer::send(c, std::string(1, byte));
    Sleep(200);
  }
}

// Whatever the server does in whichever phase, the hidden bar is shown
// within the one deadline of the whole fetch.
TEST_F(WeatherTest, SlowHeadersAndRedirectsAreHeldToTheSameDeadline) {
  const struct {
    const char* what;
    std::function<void(const HttpServer&, const std::string&, SOCKET)> answer;
  } cases[] = {
      {"headers drip", [](const HttpServer& s, const std::string&, SOCKET c) { dripHeaders(s, c); }},
      {"headers drip after a 302", [](const HttpServer& s, const std::string& r, SOCKET c) {
         if (r.rfind("GET /moved", 0) == 0) HttpServer::send(c, HttpServer::response("302 Found", "", "Location: /real\r\n"));
         else dripHeaders(s, c);
       }},
      {"a redirect to itself", [](const HttpServer&, const std::string&, SOCKET c) {
         HttpServer::send(c, HttpServer::response("302 Found", "", "Location: /moved\r\n"));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HttpServer server([&](const std::string& r, SOCKET s) { c.answer(server, r, s); });
    configure("http://127.0.0.1:" + std::to_string(server.port()) + "/moved");
    const double seconds = startBar();
    recordWait(c.what, seconds);
    EXPECT_LT(seconds, 15.0) << "start-up is bounded";
    EXPECT_EQ(condition(), "") << "no body came";
    app::destroyMainWindow();
    app::releaseSharedState();
  }
}

TEST_F(WeatherTest, AServerErrorPageIsScrapedAndShowsNothingWithoutMarkers) {
  HttpServer server([](const std::string&, SOCKET c) {
    HttpServer::send(c, HttpServer::response("500 Internal Server Error", "<html>Internal error</html>"));
  });
  configure("http://127.0.0.1:" + std::to_string(server.port()) + "/");
  startBar();
  EXPECT_EQ(app::state().weatherPage, "<html>Internal error</html>");
  EXPECT_EQ(condition(), "");
  EXPECT_EQ(dateCaption(), kEmptyDateCaption);
}

TEST_F(WeatherTest, AnOversizedBodyIsCutAtTheCap) {
  std::string big = gbkPage() + std::string(20u << 20, 'x');  // 20 MiB
  HttpServer server([&](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("200 OK", big)); });
  configure("http://127.0.0.1:" + std::to_string(server.port()) + "/");
  startBar();
  EXPECT_EQ(app::state().weatherPage.size(), weather::kMaxPageBytes);
  EXPECT_EQ(condition(), kSunny);
}

TEST_F(WeatherTest, TheAddressIsReadTrimmedAndUnquoted) {
  const struct {
    std::string file;
    std::string address;
  } cases[] = {
      {"[wangzhi]\r\ntianq=  http://a.invalid/x  \r\n", "http://a.invalid/x"},
      {"[wangzhi]\r\ntianq=\"http://a.invalid/q\"\r\n", "http://a.invalid/q"},
      {"[WANGZHI]\r\nTIANQ=http://a.invalid/case\r\n", "http://a.invalid/case"},
      {"[other]\r\ntianq=http://a.invalid/no\r\n", ""},
      {"[wangzhi]\r\ntianq=\r\n", ""},
  };
  for (const auto& c : cases) {
    writeFile(dataDir() + "\\tianq.txt", c.file);
    EXPECT_EQ(weather::weatherAddress(), c.address) << c.file;
  }
}

// Another site's layout, GBK: an earlier <time> that is no date, the date
// behind two blanks, the high after 最高气温 and before °.
const std::string kOtherLayout =
    "<html><body><p><time>08:00</time></p><div class=\"sky\"><em>\xC7\xE7</em></div>\r\n"
    "  <time>" + kDate + "</time><table><tr><td>\xD7\xEE\xB8\xDF\xC6\xF8\xCE\xC2</td><td>8\xA1\xE3</td></tr>"
    "</table></body></html>";
const std::string kOtherMarkers =
    "zhuangkuang1=<div class=\"sky\"><em>\r\n"
    "zhuangkuang2=  </em>  \r\n"                      // blanks around a value go
    "riqi1=\"  <time>\"\r\n"                          // quoted: the blanks stay
    "riqi2=</time>\r\n"
    "zuigao1=<td>\xD7\xEE\xB8\xDF\xC6\xF8\xCE\xC2</td><td>\r\n"  // 最高气温
    "zuigao2=\xA1\xE3</td>\r\n";                        // °

// Key names in capitals; the values as they are.
std::string capitalKeys(const std::string& lines) {
  std::string out;
  bool inKey = true;
  for (char ch : lines) {
    if (ch == '=') inKey = false;
    if (ch == '\n') inKey = true;
    out += inKey ? static_cast<char>(toupper(static_cast<unsigned char>(ch))) : ch;
  }
  return out;
}

TEST_F(WeatherTest, MarkersInTheFileReadAPageOfAnotherLayout) {
  HttpServer server([](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("200 OK", kOtherLayout)); });
  const std::string address = "tianq=http://127.0.0.1:" + std::to_string(server.port()) + "/other.html\r\n";
  const struct {
    const char* what;
    std::string file;
    std::string condition;
    std::string date;
    std::string high;
  } cases[] = {
      {"the six keys", "[wangzhi]\r\n" + address + kOtherMarkers, kSunny, kDate, "8"},
      {"the keys in capitals", "[wangzhi]\r\n" + address + capitalKeys(kOtherMarkers), kSunny, kDate, "8"},
      {"only the address", "[wangzhi]\r\n" + address, "", "", ""},
      {"the keys empty", "[wangzhi]\r\n" + address + "zhuangkuang1=\r\nzhuangkuang2=\r\nriqi1=\r\nriqi2=\"\"\r\nzuigao1=\r\nzuigao2=  \r\n",
       "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile(dataDir() + "\\tianq.txt", c.file);
    startBar();
    EXPECT_EQ(app::state().weatherPage, kOtherLayout);
    EXPECT_EQ(condition(), c.condition);
    EXPECT_EQ(app::state().weatherDate, c.date);
    EXPECT_EQ(app::state().highTemperature, c.high);
    EXPECT_EQ(dateCaption(), c.date + " \xD7\xEE\xB8\xDF " + c.high + "\xA1\xE6");
    EXPECT_EQ(app::bar().conditionPicture->hasPicture(), c.condition == kSunny);
    app::destroyMainWindow();
    app::releaseSharedState();
  }
}

TEST_F(WeatherTest, AFileWithOnlyTheAddressShowsTheSamplePageAsBefore) {
  const std::string page = readFile(DEMO_WEATHER_PAGE);
  ASSERT_FALSE(page.empty()) << DEMO_WEATHER_PAGE;
  HttpServer server([&page](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("200 OK", page)); });
  configure("http://127.0.0.1:" + std::to_string(server.port()) + "/weather.shtml");
  startBar();
  EXPECT_EQ(condition(), "\xB6\xE0\xD4\xC6\xD7\xAA\xC7\xE7");  // 多云转晴
  EXPECT_EQ(app::state().weatherDate, kDate);
  EXPECT_EQ(app::state().highTemperature, "8");
  EXPECT_EQ(dateCaption(), kDate + " \xD7\xEE\xB8\xDF 8\xA1\xE6");
  EXPECT_TRUE(app::bar().conditionPicture->hasPicture());
  const ui::Picture shown = testing_support::printWindow(app::bar().conditionPicture->hwnd());
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string request = server.requests()[0];
  app::destroyMainWindow();
  app::releaseSharedState();

  // Keys that name the fixed markers change nothing, down to the request.
  writeFile(dataDir() + "\\tianq.txt",
            "[wangzhi]\r\ntianq=http://127.0.0.1:" + std::to_string(server.port()) + "/weather.shtml\r\n"
            "zhuangkuang1=<span class=\"phrase\">\r\nzuigao2=<i>\xA1\xE6</i></span>\r\n");
  startBar();
  EXPECT_EQ(condition(), "\xB6\xE0\xD4\xC6\xD7\xAA\xC7\xE7");
  EXPECT_EQ(dateCaption(), kDate + " \xD7\xEE\xB8\xDF 8\xA1\xE6");
  EXPECT_EQ(testing_support::printWindow(app::bar().conditionPicture->hwnd()).pixels, shown.pixels);
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[1], request);
}

TEST_F(WeatherTest, EveryConditionNameShowsItsEmbeddedPicture) {
  app::initSharedState();
  ASSERT_TRUE(app::createMainWindow());
  for (const weather::PictureFile& file : weather::pictureFiles()) {
    EXPECT_FALSE(weather::pictureBytes(file.picture).empty()) << file.resourceName;
  }
  for (const weather::ConditionName& name : weather::conditionNames()) {
    app::bar().conditionPicture->clearPicture();
    app::bar().conditionLabel->setCaption(std::string(name.caption));
    weather::showConditionPicture();
    EXPECT_TRUE(app::bar().conditionPicture->hasPicture()) << name.caption;
  }
  app::bar().conditionPicture->clearPicture();
  app::bar().conditionLabel->setCaption(std::string(kSunny) + " ");
  weather::showConditionPicture();
  EXPECT_FALSE(app::bar().conditionPicture->hasPicture()) << "whole-text equality only";
}

}  // namespace
