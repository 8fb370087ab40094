// One bar per run directory: a second start of the same folder brings the
// first bar forward and ends; a bar of another folder runs beside it.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>

#include <gtest/gtest.h>

#include "http_server.h"
#include "support.h"

namespace {

using testing_support::HttpServer;
using testing_support::startProgram;
using testing_support::waitForBarOf;
using testing_support::exeDirectory;
using testing_support::writeFile;

// A run directory of its own: bar.exe, and a data folder whose weather
// address points at `server`, so every start that reads it shows as a request.
struct RunDirectory {
  std::string path;
  RunDirectory(const std::string& folder, const HttpServer& server) : path(exeDirectory() + "\\" + folder) {
    CreateDirectoryA(path.c_str(), nullptr);
    CreateDirectoryA((path + "\\data").c_str(), nullptr);
    EXPECT_TRUE(CopyFileA((exeDirectory() + "\\" BAR_EXE).c_str(), (path + "\\bar.exe").c_str(), FALSE)) << path;
    writeFile(path + "\\data\\tianq.txt", "[wangzhi]\r\ntianq=http://127.0.0.1:" + std::to_string(server.port()) + "/\r\n");
  }
  ~RunDirectory() {
    DeleteFileA((path + "\\data\\tianq.txt").c_str());
    RemoveDirectoryA((path + "\\data").c_str());
    DeleteFileA((path + "\\bar.exe").c_str());
    RemoveDirectoryA(path.c_str());
  }
};

// Starts `exe` where a bar of its folder runs: it must end at once with 0.
DWORD secondStartExitCode(const std::string& exe) {
  PROCESS_INFORMATION pi = startProgram(exe);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(pi.hProcess, 5000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  else TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

TEST(RunGuard, OneBarPerRunDirectoryAndOthersBesideIt) {
  HttpServer server([](const std::string&, SOCKET c) { HttpServer::send(c, HttpServer::response("200 OK", "page")); });
  RunDirectory one("guard one", server);
  RunDirectory other("\xD7\xC0\xC3\xE6 \xB9\xA4\xBE\xDF", server);  // 桌面 工具

  PROCESS_INFORMATION first = startProgram(one.path + "\\bar.exe");
  const HWND firstBar = waitForBarOf(first.dwProcessId);
  ASSERT_NE(firstBar, nullptr);
  ASSERT_EQ(server.requests().size(), 1u);

  // Something else in front, so the second start has a bar to bring forward.
  HWND front = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 80, 80, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(front);
  testing_support::pump(100);
  const auto second = std::chrono::steady_clock::now();
  EXPECT_EQ(secondStartExitCode(one.path + "\\bar.exe"), 0u);
  std::printf("a second start ended after %.2f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - second).count());
  // The same folder spelt in other letter case is the same folder.
  std::string shouting = exeDirectory() + "\\GUARD ONE\\BAR.EXE";
  EXPECT_EQ(secondStartExitCode(shouting), 0u);
  EXPECT_EQ(server.requests().size(), 1u) << "the second starts read no data and fetched nothing";
  EXPECT_EQ(GetForegroundWindow(), firstBar) << "the running bar was brought forward";
  DestroyWindow(front);

  PROCESS_INFORMATION beside = startProgram(other.path + "\\bar.exe");
  const HWND besideBar = waitForBarOf(beside.dwProcessId);
  ASSERT_NE(besideBar, nullptr) << "a bar of another folder starts beside the first";
  EXPECT_TRUE(IsWindowVisible(firstBar));
  EXPECT_EQ(secondStartExitCode(other.path + "\\bar.exe"), 0u) << "a folder with a blank and GBK characters";

  EXPECT_EQ(testing_support::closeWithEscape(firstBar, first), 0u);
  PROCESS_INFORMATION again = startProgram(one.path + "\\bar.exe");
  const HWND againBar = waitForBarOf(again.dwProcessId);
  ASSERT_NE(againBar, nullptr) << "after the first bar closed, a new start comes up";
  EXPECT_EQ(testing_support::closeWithEscape(againBar, again), 0u);
  EXPECT_EQ(testing_support::closeWithEscape(besideBar, beside), 0u);
}

}  // namespace
