#include "app/entry.h"

#include <windows.h>
#include <ole2.h>

#include <new>

#include "app/main_window.h"
#include "app/run_directory.h"
#include "app/run_guard.h"
#include "app/shared_state.h"
#include "ui/message_loop.h"
#include "ui/window.h"

namespace app {
namespace {

std::string& runDirectoryStore() {
  static std::string directory;
  return directory;
}

}  // namespace

void fixRunDirectory() {
  char path[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  runDirectoryStore() = runDirectoryOf(std::string_view(path, length));
  // "C:" alone would name the drive's current folder, not its root.
  const std::string current = runDirectoryStore().size() == 2 ? runDirectoryStore() + "\\" : runDirectoryStore();
  SetCurrentDirectoryA(current.c_str());
}

namespace {

// 程序无法启动：无法创建主窗口。
constexpr char kNoMainWindow[] =
    "\xB3\xCC\xD0\xF2\xCE\xDE\xB7\xA8\xC6\xF4\xB6\xAF\xA3\xBA\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xA1\xA3";

// Returned rather than ExitProcess, so the entry routine stays testable in-process.
int failStart(const char* gbkText) {
  ui::showErrorBox(gbkText);
  return -1;
}

}  // namespace

const std::string& runDirectory() { return runDirectoryStore(); }

int runBar() {
  // Before anything is read or fetched: a second bar of this folder only
  // brings the first one forward.
  ui::UniqueHandle claim;
  if (!claimRunDirectory(claim)) {
    bringRunningBarForward();
    return 0;
  }
  OleInitialize(nullptr);  // the drop target needs a single-threaded apartment
  fixRunDirectory();
  try {
    initSharedState();
    ui::registerExitRoutine(&releaseSharedState);
    if (!loadMainWindow()) return failStart(kNoMainWindow);
    ui::runMessageLoop();
    ui::runExitRoutines();
    destroyMainWindow();
  } catch (const std::bad_alloc&) {
    return failStart(ui::kOutOfMemory);
  }
  OleUninitialize();
  return 0;
}

}  // namespace app
