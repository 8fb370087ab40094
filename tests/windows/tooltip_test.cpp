// The program's name on hover: what each icon's tip says, and that the tip
// shows and goes without getting in the way of anything the icons do.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/main_window.h"
#include "app/shared_state.h"
#include "app/startup.h"
#include "launcher/sound.h"
#include "support.h"
#include "ui/message_loop.h"

namespace {

using testing_support::dataDirectory;
using testing_support::exeDirectory;
using testing_support::fileExists;
using testing_support::helperDescribed;
using testing_support::helperWithIcon;
using testing_support::helperWithoutIcon;
using testing_support::listFilePath;
using testing_support::pumpUntil;
using testing_support::writeFile;

// The described helper's Chinese description, trimmed: 测试助手 ☃ (the
// snowman is in no ANSI code page of ours).
const std::wstring kChineseDescription = L"\x6D4B\x8BD5\x52A9\x624B \x2603";
// A folder and a program named in GBK: 工具\记事本.exe.
const std::string kGbkFolder = "\xB9\xA4\xBE\xDF";
const std::string kGbkProgram = "\xBC\xC7\xCA\xC2\xB1\xBE.exe";
const std::wstring kGbkTitle = L"\x8BB0\x4E8B\x672C";

std::string work() { return exeDirectory() + "\\tiptest"; }

void removeFiles() {
  for (const std::string& f : {listFilePath(), dataDirectory() + "\\1.wav", work() + "\\" + kGbkFolder + "\\" + kGbkProgram,
                               work() + "\\copy.exe", work() + "\\copy.exe.ran", helperDescribed() + ".ran"}) {
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(f.c_str());
  }
  RemoveDirectoryA((work() + "\\" + kGbkFolder).c_str());
  RemoveDirectoryA(work().c_str());
  RemoveDirectoryA(dataDirectory().c_str());
}

std::string listOf(const std::vector<std::string>& paths, int count) {
  std::string s = "[cumulative]\r\nvalue=" + std::to_string(count) + "\r\n";
  for (std::size_t i = 0; i < paths.size(); ++i) s += std::to_string(i + 1) + "=" + paths[i] + "\r\n";
  return s;
}

class TooltipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::fixRunDirectory();
    removeFiles();
    CreateDirectoryA(dataDirectory().c_str(), nullptr);
    CreateDirectoryA(work().c_str(), nullptr);
    app::state() = app::SharedState{};
    app::initSharedState();
  }
  void start(const std::string& list) {
    writeFile(listFilePath(), list);
    ASSERT_TRUE(app::createMainWindow());
    app::onWindowCreated();
  }
  void TearDown() override {
    if (app::barExists()) app::destroyMainWindow();
    app::releaseSharedState();
    removeFiles();
  }
  static ui::PictureBox& icon(int n) { return *app::state().iconSlots[static_cast<std::size_t>(n - 1)]; }
  static std::wstring tipOf(int n) { return app::bar().window.tooltip(icon(n)); }
  static HWND tip() { return app::bar().window.tooltipWindow(); }
  static bool tipShows() { return tip() && IsWindowVisible(tip()); }
  // The tool the tip shows now and its text; null when none shows.
  static std::pair<HWND, std::wstring> currentTool() {
    std::vector<wchar_t> text(1024, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text.data();
    if (!SendMessageW(tip(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
    return {reinterpret_cast<HWND>(tool.uId), text.data()};
  }
  // The real cursor goes to the middle of the icon, and the icon hears of it.
  static void restOn(int n) {
    RECT r{};
    GetWindowRect(icon(n).hwnd(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(icon(n).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(16, 16));
    ui::processPendingMessages();
  }
  // The cursor goes to the bar's empty middle.
  static void leaveIcons() {
    RECT r{};
    GetWindowRect(app::bar().window.hwnd(), &r);
    SetCursorPos(r.left + 200, r.top + 18);
    PostMessageW(app::bar().window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 18));
    ui::processPendingMessages();
  }
};

TEST_F(TooltipTest, EachIconIsNamedByItsDescriptionOrElseItsFileTitle) {
  ASSERT_EQ(GetUserDefaultUILanguage(), 0x0804) << "the tests run with a Chinese (PRC) user language";
  const std::string gbkFolder = work() + "\\" + kGbkFolder;
  ASSERT_TRUE(CreateDirectoryA(gbkFolder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileA(helperWithoutIcon().c_str(), (gbkFolder + "\\" + kGbkProgram).c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(helperDescribed().c_str(), (work() + "\\copy.exe").c_str(), FALSE));
  const struct {
    std::string path;
    std::wstring tip;
    const char* why;
  } cases[] = {
      {helperDescribed(), kChineseDescription, "the description in the user's language, not the first listed"},
      {helperWithIcon(), L"with_icon", "no version resource: the file title"},
      {helperWithoutIcon(), L"without_icon", "no resources at all"},
      {gbkFolder + "\\" + kGbkProgram, kGbkTitle, "a GBK path reads right in UTF-16"},
      {work() + "\\gone.exe", L"gone", "a program that is not there keeps its name"},
      {"", L"", "an empty path has no tip"},
      {work() + "\\copy.exe", kChineseDescription, "read when the icon is made (the file goes next)"},
  };
  std::vector<std::string> paths;
  for (const auto& c : cases) paths.push_back(c.path);
  // One more counted than listed: entry 8 has no key at all.
  start(listOf(paths, static_cast<int>(paths.size()) + 1));
  ASSERT_TRUE(DeleteFileA((work() + "\\copy.exe").c_str()));
  ASSERT_EQ(app::state().iconNumbers.size(), paths.size() + 1);
  for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(tipOf(static_cast<int>(i) + 1), cases[i].tip) << cases[i].why;
  EXPECT_EQ(tipOf(static_cast<int>(paths.size()) + 1), L"") << "a missing key has no tip";

  ASSERT_TRUE(IsWindow(tip()));
  EXPECT_TRUE(GetWindowLongW(tip(), GWL_STYLE) & TTS_NOPREFIX) << "the & of a name stays";
}

TEST_F(TooltipTest, ShowsAfterRestingGoesOnLeavingAndTakesNothingAway) {
  writeFile(dataDirectory() + "\\1.wav", std::string());  // no sound: playback is counted all the same
  start(listOf({helperDescribed(), "", helperWithIcon()}, 3));
  app::bar().window.show();
  testing_support::pump(200);
  const HWND active = GetActiveWindow();
  const HWND focus = GetFocus();
  EXPECT_FALSE(tipShows());

  restOn(1);
  EXPECT_EQ(icon(1).borderStyle(), 5) << "the frame moves at once";
  ASSERT_TRUE(pumpUntil(tipShows, 5000)) << "the tip shows after the platform's delay";
  EXPECT_EQ(currentTool(), std::make_pair(icon(1).hwnd(), kChineseDescription));
  EXPECT_EQ(GetActiveWindow(), active) << "the tip takes no activation";
  EXPECT_EQ(GetFocus(), focus) << "nor the focus";
  RECT r{};
  GetWindowRect(tip(), &r);
  EXPECT_NE(WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), tip()) << "clicks go through the tip";

  {
    testing_support::MenuProbe probe;  // reads the menu and closes it
    PostMessageW(app::bar().window.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 18));
    ui::processPendingMessages();
    testing_support::pump(100);
    EXPECT_EQ(probe.opened(), 1) << "the Settings menu opens while the tip shows";
  }

  // The frame follows every movement while the tip shows.
  PostMessageW(icon(3).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(16, 16));
  ui::processPendingMessages();
  EXPECT_EQ(icon(3).borderStyle(), 5);
  EXPECT_EQ(icon(1).borderStyle(), 0);

  leaveIcons();
  EXPECT_TRUE(pumpUntil([] { return !tipShows(); }, 3000)) << "leaving the icon takes the tip away";
  EXPECT_EQ(currentTool().first, nullptr);

  restOn(2);  // the icon with an empty path
  testing_support::pump(1500);
  EXPECT_FALSE(tipShows()) << "no tip for an empty path";
  EXPECT_EQ(icon(2).borderStyle(), 5);

  // A press on the icon moves the bar, and the tip goes: it would stay
  // behind where the bar was. A timer inside the move loop looks, then lets go.
  restOn(1);
  ASSERT_TRUE(pumpUntil(tipShows, 5000));
  static int shownWhileMoving;
  shownWhileMoving = -1;
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) {
    if (shownWhileMoving < 0) shownWhileMoving = tipShows();
    PostMessageW(app::bar().window.hwnd(), WM_LBUTTONUP, 0, 0);
  });
  PostMessageW(icon(1).hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(16, 16));
  ui::processPendingMessages();
  testing_support::pump(400);
  KillTimer(nullptr, timer);
  EXPECT_EQ(shownWhileMoving, 0) << "the tip went when the move began";

  // A double-click while the tip shows still starts the program.
  restOn(1);
  ASSERT_TRUE(pumpUntil(tipShows, 5000));
  PostMessageW(icon(1).hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(16, 16));
  ui::processPendingMessages();
  EXPECT_TRUE(pumpUntil([] { return fileExists(helperDescribed() + ".ran"); }, 10000)) << "the program was started";
}

}  // namespace
