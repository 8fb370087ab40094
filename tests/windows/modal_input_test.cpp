// Keys and presses taken by a menu's or a message box's own loop belong to
// that loop: Esc there closes the menu or the box, never the bar, and a press
// there reaches its window as it was, with no move of the bar.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/settings_menu.h"
#include "bar_fixture.h"
#include "support.h"
#include "text/display.h"
#include "ui/message_loop.h"

namespace {

using testing_support::MenuProbe;
using testing_support::MessageRecorder;
using testing_support::postKey;
using testing_support::pump;

bool menuOpen() {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

// Esc on the bar itself still closes it, and the loop then ends with 0.
void expectEscClosesTheBar(HWND bar) {
  postKey(bar, VK_ESCAPE);
  ui::processPendingMessages();
  pump();
  EXPECT_FALSE(IsWindow(bar)) << "Esc on the bar closes it";
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(BarTest, EscInTheOpenSettingsMenuOnlyDismissesTheMenu) {
  bar().window.show();
  testing_support::setModifiers(false, false, false);
  MessageRecorder onBar(barWindow());
  HWND focus = nullptr;
  {
    MenuProbe probe([&focus](HWND) {
      focus = GetFocus();  // the keyboard delivers the key there
      postKey(focus, VK_ESCAPE);
    });
    app::showSettingsMenu();
    ASSERT_EQ(probe.opened(), 1);
  }
  EXPECT_TRUE(focus == barWindow() || IsChild(barWindow(), focus)) << "the bar had the focus";
  EXPECT_FALSE(menuOpen()) << "Esc dismissed the menu";
  ui::processPendingMessages();
  pump(300);
  EXPECT_TRUE(IsWindow(barWindow())) << "the bar stays";
  EXPECT_EQ(onBar.count(WM_CLOSE), 0);
  EXPECT_EQ(onBar.count(WM_COMMAND), 0) << "nothing chosen";
  expectEscClosesTheBar(barWindow());
}

TEST_F(BarTest, APressOnThePictureWhileTheAboutBoxIsOpenIsDeliveredAndMovesNothing) {
  bar().window.show();
  MessageRecorder onBar(barWindow(), {WM_NCLBUTTONDOWN});
  MessageRecorder onPicture(bar().conditionPicture->hwnd());
  const HWND picture = bar().conditionPicture->hwnd();
  testing_support::MessageBoxWatcher watcher([picture](HWND) {
    PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Sleep(300);  // the box's loop takes them meanwhile
  });
  app::showAbout();
  ASSERT_TRUE(watcher.waitAnswered());
  EXPECT_EQ(onPicture.count(WM_LBUTTONDOWN), 1) << "the box's loop delivered the press as it was";
  EXPECT_EQ(onBar.count(WM_NCLBUTTONDOWN), 0) << "and no move of the bar was asked for";
}

TEST_F(BarTest, EscInTheAboutBoxOnlyClosesTheBox) {
  bar().window.show();
  testing_support::setModifiers(false, false, false);
  MessageRecorder onBar(barWindow());
  testing_support::MessageBoxWatcher watcher({}, /*escape=*/true);
  app::showAbout();  // returns once the box is closed
  ASSERT_TRUE(watcher.waitAnswered());
  EXPECT_EQ(watcher.caption(), text::gbkToWide(app::kInfoCaption));
  ui::processPendingMessages();
  pump(300);
  EXPECT_TRUE(IsWindow(barWindow())) << "the bar stays";
  EXPECT_EQ(onBar.count(WM_CLOSE), 0);
  expectEscClosesTheBar(barWindow());
}

// bar.exe as its own process, as a user meets it: right-click, Esc.
TEST(ModalInput, EscInTheMenuOfARunningBarLeavesItRunning) {
  const std::string exe = testing_support::exeDirectory() + "\\" BAR_EXE;
  PROCESS_INFORMATION pi = testing_support::startProgram(exe);
  const HWND bar = testing_support::waitForBarOf(pi.dwProcessId);
  ASSERT_NE(bar, nullptr);
  Sleep(200);  // first activation done

  auto menuOfBar = [&pi]() -> HWND {
    for (HWND m = nullptr; (m = FindWindowExW(nullptr, m, L"#32768", nullptr)) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(m, &owner);
      if (owner == pi.dwProcessId && IsWindowVisible(m)) return m;
    }
    return nullptr;
  };
  PostMessageW(bar, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(150, 10));
  PostMessageW(bar, WM_RBUTTONUP, 0, MAKELPARAM(150, 10));
  HWND menu = nullptr;
  for (int i = 0; i < 250 && !menu; ++i, Sleep(20)) menu = menuOfBar();
  ASSERT_NE(menu, nullptr) << "the Settings menu opened";

  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(pi.dwThreadId, &gui);
  postKey(gui.hwndFocus ? gui.hwndFocus : bar, VK_ESCAPE);
  for (int i = 0; i < 100 && menuOfBar(); ++i) Sleep(20);
  EXPECT_EQ(menuOfBar(), nullptr) << "Esc dismissed the menu";
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 2500), static_cast<DWORD>(WAIT_TIMEOUT)) << "the bar is still running";
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_EQ(testing_support::closeWithEscape(bar, pi), 0u) << "Esc on the bar ends it with 0";
}

}  // namespace
