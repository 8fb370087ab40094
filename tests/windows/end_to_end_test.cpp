// bar.exe as a user runs it: its own process, a prepared run directory, a
// loopback weather page, then Esc.
#include <winsock2.h>
#include <windows.h>

#include <png.h>

#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "http_server.h"
#include "support.h"

namespace {

using testing_support::HttpServer;
using testing_support::childrenOfClass;
using testing_support::exeDirectory;
using testing_support::writeFile;

void savePng(const ui::Picture& p, const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(p.width);
  image.height = static_cast<png_uint_32>(p.height);
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> opaque = p.pixels;
  for (auto& px : opaque) px |= 0xFF000000u;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  png_image_write_to_stdio(&image, f, 0, opaque.data(), 0, nullptr);
  std::fclose(f);
}

TEST(EndToEnd, TheBarComesUpWithItsIconsAndWeatherAndEscEndsItWithZero) {
  const std::string run = exeDirectory() + "\\e2e";
  const std::string data = run + "\\data";
  CreateDirectoryA(run.c_str(), nullptr);
  CreateDirectoryA(data.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((exeDirectory() + "\\bar.exe").c_str(), (run + "\\bar.exe").c_str(), FALSE));
  const std::string page =
      "<span class=\"phrase\">\xD0\xA1\xD3\xEA</span></li><li class=\"ord2\">"  // 小雨
      "<p class=\"date\">\xA3\xA8" "12\xD4\xC2" "11\xC8\xD5\xA3\xA9</p><p class=\"tips\">"
      "<b>\xD7\xEE\xB8\xDF\xA3\xBA</b>6<i>\xA1\xE6</i></span>";
  HttpServer server([&](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("200 OK", page)); });
  writeFile(data + "\\tianq.txt", "[wangzhi]\r\ntianq=http://127.0.0.1:" + std::to_string(server.port()) + "/\r\n");
  const std::string icon = testing_support::helperWithIcon();
  writeFile(data + "\\quvo.ini", "[cumulative]\r\nvalue=3\r\n1=" + icon + "\r\n2=" + testing_support::helperWithoutIcon() +
                                     "\r\n3=" + icon + "\r\n");

  PROCESS_INFORMATION pi = testing_support::startProgram(run + "\\bar.exe");
  const HWND bar = testing_support::waitForBarOf(pi.dwProcessId, 20000);
  ASSERT_NE(bar, nullptr);
  RECT r{};
  for (int i = 0; i < 100; ++i, Sleep(20)) {  // the final place comes with the first activation
    GetWindowRect(bar, &r);
    if (r.top != 2) break;
  }
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 1100);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) - 77);
  EXPECT_EQ(r.right - r.left, 424);
  EXPECT_EQ(r.bottom - r.top, 37);

  const auto labels = childrenOfClass(bar, L"ui.Label");
  std::vector<std::wstring> captions;
  for (HWND l : labels) {
    wchar_t text[128] = {};
    GetWindowTextW(l, text, 128);
    captions.push_back(text);
  }
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"\x5C0F\x96E8"), captions.end()) << "小雨";
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"12\x6708" L"11\x65E5 \x6700\x9AD8 6\x2103"), captions.end());
  EXPECT_EQ(childrenOfClass(bar, L"ui.PictureBox").size(), 4u) << "three icons and the condition picture";
  EXPECT_EQ(server.requests().size(), 1u);

  Sleep(300);  // let it finish drawing
  const ui::Picture shot = testing_support::grabScreen(r);  // another process's window: from the screen
  savePng(shot, exeDirectory() + "\\end-to-end.png");
  ASSERT_EQ(shot.width, 424);
  EXPECT_EQ(testing_support::rgbAt(shot, 2 + 16, 3 + 16), 0xFF0000u) << "icon 1";
  EXPECT_EQ(testing_support::rgbAt(shot, 37 + 16, 3 + 16), 0xFFFFFFu) << "icon 2 has no picture";
  EXPECT_EQ(testing_support::rgbAt(shot, 72 + 16, 3 + 16), 0xFF0000u) << "icon 3";
  int pictured = 0;
  for (int y = 0; y < 21; ++y) {
    for (int x = 336; x < 375; ++x) pictured += testing_support::rgbAt(shot, x, y) != 0xFFFFFFu;
  }
  EXPECT_GT(pictured, 100) << "the rain picture";

  EXPECT_EQ(testing_support::closeWithEscape(bar, pi), 0u) << "Esc ends it with exit code 0";
  for (const char* f : {"\\data\\tianq.txt", "\\data\\quvo.ini"}) DeleteFileA((run + f).c_str());
  RemoveDirectoryA(data.c_str());
  DeleteFileA((run + "\\bar.exe").c_str());
  RemoveDirectoryA(run.c_str());
}

// The same page over TLS; tests/https/https_test serves it and trusts its
// certificate for the run, and names its address in BAR_HTTPS_URL.
TEST(Https, TheWeatherComesOverTls) {
  char url[512] = {};
  const DWORD length = GetEnvironmentVariableA("BAR_HTTPS_URL", url, sizeof url);
  ASSERT_TRUE(length > 0 && length < sizeof url) << "run through tests/https/https_test";
  const std::string run = exeDirectory() + "\\https";
  CreateDirectoryA(run.c_str(), nullptr);
  CreateDirectoryA((run + "\\data").c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((exeDirectory() + "\\bar.exe").c_str(), (run + "\\bar.exe").c_str(), FALSE));
  writeFile(run + "\\data\\tianq.txt", std::string("[wangzhi]\r\ntianq=") + url + "\r\n");

  PROCESS_INFORMATION pi = testing_support::startProgram(run + "\\bar.exe");
  const HWND bar = testing_support::waitForBarOf(pi.dwProcessId, 20000);
  ASSERT_NE(bar, nullptr);
  std::vector<std::wstring> captions;
  for (HWND l : testing_support::childrenOfClass(bar, L"ui.Label")) {
    wchar_t text[128] = {};
    GetWindowTextW(l, text, 128);
    captions.push_back(text);
  }
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"\x591A\x4E91\x8F6C\x6674"), captions.end()) << "多云转晴";
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"12\x6708" L"11\x65E5 \x6700\x9AD8 8\x2103"), captions.end());
  EXPECT_EQ(testing_support::closeWithEscape(bar, pi), 0u);
  DeleteFileA((run + "\\data\\tianq.txt").c_str());
  RemoveDirectoryA((run + "\\data").c_str());
  DeleteFileA((run + "\\bar.exe").c_str());
  RemoveDirectoryA(run.c_str());
}

}  // namespace
