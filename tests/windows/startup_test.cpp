#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "app/settings_menu.h"
#include "app/startup.h"
#include "bar_fixture.h"
#include "support.h"
#include "text/display.h"
#include "ui/message_loop.h"

namespace {

using testing_support::MenuProbe;
using testing_support::pump;

TEST_F(BarTest, WindowCreatedLeavesOneUniformTranslucencyAndAnEmptyImageList) {
  app::onWindowCreated();
  const HWND w = barWindow();
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 190);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA)) << "white is not keyed out";

  HIMAGELIST images = app::state().iconImages.get();
  ASSERT_NE(images, nullptr);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
  EXPECT_EQ(ImageList_GetImageCount(images), 0);
}

// The screen size comes from the Xvfb that ctest starts for this test; the
// places expected on it come with it (see CMakeLists.txt).
TEST(ScreenSize, BarWaitsHiddenAtTopCentreThenShowsInItsFinalPlace) {
  const char* topCentre = std::getenv("BAR_EXPECT_TOP_CENTRE_LEFT");
  const char* finalPlace = std::getenv("BAR_EXPECT_FINAL_PLACE");
  if (!topCentre || !finalPlace) GTEST_SKIP() << "run by ctest with a screen of its own";
  int finalLeft = 0, finalTop = 0;
  ASSERT_EQ(std::sscanf(finalPlace, "%d,%d", &finalLeft, &finalTop), 2);

  app::initSharedState();
  ASSERT_TRUE(app::createMainWindow());
  ui::MainWindow& window = app::bar().window;
  app::onWindowCreated();
  EXPECT_FALSE(IsWindowVisible(window.hwnd()));
  EXPECT_EQ(window.left(), std::atoi(topCentre));
  EXPECT_EQ(window.top(), 2);

  window.show();
  testing_support::pumpUntil([&] { return window.top() != 2; }, 3000);
  EXPECT_EQ(window.left(), finalLeft);
  EXPECT_EQ(window.top(), finalTop);
  EXPECT_EQ(window.width(), 424);

  // Later activations leave the bar where the user has put it.
  window.setLeft(10);
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  SetActiveWindow(window.hwnd());
  pump(50);
  EXPECT_EQ(window.left(), 10);
  DestroyWindow(other);
  app::destroyMainWindow();
}

TEST_F(BarTest, RightGroupFollowsTheBarsRightEnd) {
  const struct {
    int width, picture, condition, date;
  } table[] = {{459, 373, 405, 326}, {494, 408, 440, 361}, {529, 443, 475, 396}, {564, 478, 510, 431},
               {599, 513, 545, 466}, {634, 548, 580, 501}, {669, 583, 615, 536}, {704, 618, 650, 571}};
  for (const auto& row : table) {
    bar().window.setWidth(row.width);
    app::placeRightGroup();
    EXPECT_EQ(bar().conditionPicture->left(), row.picture) << row.width;
    EXPECT_EQ(bar().conditionLabel->left(), row.condition) << row.width;
    EXPECT_EQ(bar().dateLabel->left(), row.date) << row.width;
    EXPECT_EQ(bar().conditionPicture->top(), 0) << "only left edges change";
    EXPECT_EQ(bar().conditionLabel->top(), 4);
    EXPECT_EQ(bar().dateLabel->top(), 21);
  }
}

std::wstring wide(const char* gbk) { return text::gbkToWide(gbk); }

TEST_F(BarTest, SettingsMenuShowsItsFourEntriesAtTheCursorPlusThree) {
  bar().window.show();
  SetCursorPos(600, 400);
  MenuProbe probe;
  app::showSettingsMenu();
  ASSERT_EQ(probe.opened(), 1);
  const auto& entries = probe.entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].caption, wide(app::kLockCaption));
  EXPECT_TRUE(entries[1].separator);
  EXPECT_EQ(entries[2].caption, wide(app::kClearCaption));
  EXPECT_EQ(entries[3].caption, wide(app::kAboutCaption));
  EXPECT_EQ(probe.rect().left, 603);
  EXPECT_EQ(probe.rect().top, 403);
  EXPECT_EQ(GetMenu(barWindow()), nullptr) << "the hidden top-level item shows no menu bar";
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, barWindow(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE)) << "closed, nothing chosen";
}

TEST_F(BarTest, RightPressOpensTheMenuOnTheBarAndTheWeatherGroupButNotOnAnIcon) {
  bar().window.show();
  ui::PictureBox& icon = bar().iconTemplate->copy();
  icon.setVisible(true);
  icon.moveTo(2, 3);
  const struct {
    HWND target;
    int menus;
  } cases[] = {{barWindow(), 1}, {bar().conditionPicture->hwnd(), 1}, {bar().conditionLabel->hwnd(), 1},
               {bar().dateLabel->hwnd(), 1}, {icon.hwnd(), 0}};
  for (const auto& c : cases) {
    MenuProbe probe;
    PostMessageW(c.target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ui::processPendingMessages();
    pump(100);
    EXPECT_EQ(probe.opened(), c.menus) << c.target;
  }
}

TEST_F(BarTest, ChoosingLockTwiceGoesLockedAndBack) {
  bar().window.show();
  ASSERT_EQ(app::state().positionLocked, 0);
  {
    MenuProbe choose(0);
    app::showSettingsMenu();
    ASSERT_EQ(choose.opened(), 1);
  }
  ui::processPendingMessages();  // the chosen item's handler runs from the loop
  EXPECT_EQ(app::state().positionLocked, 1);
  EXPECT_FALSE(bar().window.dragByBody());
  {
    MenuProbe look;
    app::showSettingsMenu();
    ASSERT_EQ(look.entries().size(), 4u);
    EXPECT_EQ(look.entries()[0].caption, wide(app::kUnlockCaption));
  }
  // Locked: a press on the body or a picture box asks for no move.
  testing_support::MessageRecorder onBar(barWindow(), {WM_NCLBUTTONDOWN});
  PostMessageW(bar().conditionPicture->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(barWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
  ui::processPendingMessages();
  EXPECT_EQ(onBar.count(WM_NCLBUTTONDOWN), 0);

  {
    MenuProbe choose(0);
    app::showSettingsMenu();
  }
  ui::processPendingMessages();
  EXPECT_EQ(app::state().positionLocked, 0);
  EXPECT_TRUE(bar().window.dragByBody());
  EXPECT_EQ(app::settingsItems()[0].caption, app::kLockCaption);
}

TEST_F(BarTest, ClearIconsChangesNothing) {
  bar().window.show();
  const int width = bar().window.width();
  const std::size_t controls = bar().window.controls().size();
  {
    MenuProbe choose(1);  // the second choosable entry
    app::showSettingsMenu();
  }
  ui::processPendingMessages();
  EXPECT_EQ(bar().window.width(), width);
  EXPECT_EQ(bar().window.controls().size(), controls);
  EXPECT_EQ(app::state().positionLocked, 0);
  EXPECT_TRUE(bar().window.dragByBody());
}

TEST_F(BarTest, AboutShowsItsTextSystemModalWithoutOwnerAndTheBarKeepsWorking) {
  bar().window.show();
  std::atomic<int> moves{0};
  bar().conditionPicture->handlers->mouseMoved = [&moves](ui::Control&, const ui::MouseEvent&) { ++moves; };
  const HWND picture = bar().conditionPicture->hwnd();
  bool enabledMeanwhile = false;
  testing_support::MessageBoxWatcher watcher([&](HWND) {
    PostMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    for (int i = 0; i < 200 && moves == 0; ++i) Sleep(10);
    enabledMeanwhile = IsWindowEnabled(app::bar().window.hwnd());
  });
  {
    MenuProbe choose(2);
    app::showSettingsMenu();
  }
  ui::processPendingMessages();  // runs showAbout, which returns once OK is pressed
  ASSERT_TRUE(watcher.waitAnswered());
  EXPECT_EQ(watcher.caption(), wide(app::kInfoCaption));
  EXPECT_EQ(watcher.text(), wide(app::kAboutText));
  EXPECT_EQ(watcher.owner(), nullptr);
  EXPECT_EQ(watcher.buttons(), 1);
  EXPECT_TRUE(watcher.exStyle() & WS_EX_TOPMOST) << "system-modal boxes stay above all windows";
  EXPECT_EQ(moves.load(), 1) << "the bar handled input while the box was open";
  EXPECT_TRUE(enabledMeanwhile);
}

}  // namespace
