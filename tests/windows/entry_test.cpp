#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/entry.h"
#include "app/shared_state.h"
#include "support.h"
#include "text/display.h"
#include "ui/message_loop.h"

namespace {

TEST(Entry, ClosingTheBarEndsWithZeroAfterTheExitRoutineRanOnce) {
  std::thread closer([] {
    HWND w = nullptr;
    for (int i = 0; i < 500 && !w; ++i, Sleep(20)) w = testing_support::barWindowOf(GetCurrentProcessId());
    if (w) PostMessageW(w, WM_CLOSE, 0, 0);
  });
  const int code = app::runBar();
  closer.join();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ui::exitRoutinesRun(), 1);
  EXPECT_EQ(app::state().iconSlots.size(), 0u) << "shared state released";
  EXPECT_EQ(app::state().iconSlots.capacity(), 0u);

  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);
  EXPECT_STREQ(cwd, testing_support::exeDirectory().c_str()) << "the run directory is made current";
  EXPECT_EQ(app::runDirectory(), testing_support::exeDirectory());
}

void countRun();
int runs = 0;
void countRun() { ++runs; }

TEST(Entry, AnExitRoutineRegisteredTwiceRunsOnce) {
  ui::registerExitRoutine(&countRun);
  ui::registerExitRoutine(&countRun);
  ui::runExitRoutines();
  ui::runExitRoutines();
  EXPECT_EQ(runs, 1);
}

TEST(Entry, AMainWindowThatCannotBeCreatedGivesTheErrorBoxAndMinusOne) {
  // Our class name taken by a class whose windows refuse to be created.
  WNDCLASSEXW refusing{};
  refusing.cbSize = sizeof refusing;
  refusing.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    return m == WM_NCCREATE ? FALSE : DefWindowProcW(h, m, w, l);
  };
  refusing.hInstance = GetModuleHandleW(nullptr);
  refusing.lpszClassName = L"ui.MainWindow";
  ASSERT_TRUE(RegisterClassExW(&refusing));

  testing_support::MessageBoxWatcher watcher;
  const int code = app::runBar();
  ASSERT_TRUE(watcher.waitAnswered());
  EXPECT_EQ(code, -1);
  EXPECT_EQ(ui::exitRoutinesRun(), 0) << "the exit routine does not run";
  EXPECT_EQ(watcher.owner(), nullptr);
  EXPECT_EQ(watcher.buttons(), 1) << "OK only";
  EXPECT_FALSE(watcher.text().empty());
}

TEST(Entry, BarExeRunsAsItsOwnProcessAndEscEndsItWithZero) {
  const std::string exe = testing_support::exeDirectory() + "\\" BAR_EXE;
  PROCESS_INFORMATION pi = testing_support::startProgram(exe, "ignored arguments");
  const HWND w = testing_support::waitForBarOf(pi.dwProcessId);
  ASSERT_NE(w, nullptr) << "bar.exe shows its window";
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 424);
  EXPECT_EQ(r.bottom - r.top, 37);
  EXPECT_EQ(testing_support::closeWithEscape(w, pi), 0u) << "Esc ends it with exit code 0";
}

}  // namespace
