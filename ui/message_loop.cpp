#include "ui/message_loop.h"

#include <algorithm>
#include <vector>

#include "text/display.h"
#include "ui/main_window.h"

namespace ui {
namespace {

struct ExitRoutines {
  std::vector<void (*)()> pending;
  int run = 0;
};

ExitRoutines& exitRoutines() {
  static ExitRoutines routines;
  return routines;
}

}  // namespace

int runMessageLoop() {
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    filterLoopInput(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void processPendingMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    filterLoopInput(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void registerExitRoutine(void (*routine)()) {
  auto& pending = exitRoutines().pending;
  if (std::find(pending.begin(), pending.end(), routine) == pending.end()) pending.push_back(routine);
}

void runExitRoutines() {
  auto& routines = exitRoutines();
  const std::vector<void (*)()> once = std::move(routines.pending);
  routines.pending.clear();
  for (void (*routine)() : once) {
    routine();
    ++routines.run;
  }
}

int exitRoutinesRun() { return exitRoutines().run; }

int showMessageBox(std::string_view gbkText, std::string_view gbkCaption, UINT flags, HWND owner) {
  const std::wstring message = text::gbkToWide(gbkText);
  const std::wstring caption = text::gbkToWide(gbkCaption);
  return MessageBoxW(owner, message.c_str(), caption.c_str(), flags);
}

}  // namespace ui
