// What the Windows tests share: a bar made in the test process, message
// pumping, recording what reaches a window, pixels through PrintWindow, and a
// watcher that answers message boxes.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ui/picture.h"

namespace testing_support {

// Folder of the test executable (bar.exe is built beside it).
std::string exeDirectory();
// The data folder of the run directory, exeDirectory()\data, and the list file in it.
std::string dataDirectory();
std::string listFilePath();
// The helper program the tests start, built with and without an icon, and
// without an icon but with a version resource.
std::string helperWithIcon();
std::string helperWithoutIcon();
std::string helperDescribed();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// A real shortcut file at `lnk`, written through the shell-link object.
void makeShortcut(const std::string& lnk, const std::string& target, const std::string& arguments = "");
// The visible children of `parent` whose window class is `className`.
std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* className);

// The visible main window of the bar running in process `pid`, or null.
HWND barWindowOf(DWORD pid);
// Starts `exe` as its own process (with `arguments` after its quoted path);
// a failure fails the test and leaves `pi` empty.
PROCESS_INFORMATION startProgram(const std::string& exe, const std::string& arguments = "");
// Waits up to `ms` for the bar of process `pid` to show; null when it does not.
HWND waitForBarOf(DWORD pid, int ms = 10000);
// Presses Esc on a bar of another process and waits for that process to
// end; its exit code, or STILL_ACTIVE when it did not end. Closes its handles.
DWORD closeWithEscape(HWND bar, PROCESS_INFORMATION& process);

// Handles messages for about `ms` milliseconds (at least one pass), as the
// program's own loop does.
void pump(int ms = 0);
// Pumps until `done` holds or `ms` milliseconds have passed; returns done().
bool pumpUntil(const std::function<bool()>& done, int ms = 5000);

// Records the messages that reach a window's procedure (by subclassing it);
// messages in `swallow` are recorded and not passed on.
class MessageRecorder {
 public:
  MessageRecorder(HWND hwnd, std::set<UINT> swallow = {});
  ~MessageRecorder();
  int count(UINT msg) const;
  void clear() { seen_.clear(); }

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND hwnd_;
  std::set<UINT> swallow_;
  std::vector<UINT> seen_;
};

// A width x height picture of what `draw` puts into a 32-bit DC.
ui::Picture capture(int width, int height, const std::function<void(HDC)>& draw);
// The window (client area and children) as drawn by its own code.
ui::Picture printWindow(HWND hwnd);
// What the screen shows in `r` (also of another process's window).
ui::Picture grabScreen(const RECT& r);

// 0xRRGGBB of a pixel, alpha dropped.
inline unsigned rgbAt(const ui::Picture& p, int x, int y) { return p.at(x, y) & 0xFFFFFF; }

// Answers the first message box of this process that appears: reads its
// caption and text, then presses its first button.
class MessageBoxWatcher {
 public:
  // `beforeAnswer` runs on the watcher's thread while the box is still open.
  // With `escape` the box is answered with the Esc key, pressed where its
  // keyboard focus is, instead of a click on its first button.
  explicit MessageBoxWatcher(std::function<void(HWND box)> beforeAnswer = {}, bool escape = false);
  ~MessageBoxWatcher();
  // Waits up to `ms` for a box to have been answered.
  bool waitAnswered(int ms = 10000);
  std::wstring caption() const { return caption_; }
  std::wstring text() const { return text_; }
  LONG style() const { return style_; }
  LONG exStyle() const { return exStyle_; }
  HWND owner() const { return owner_; }
  int buttons() const { return buttons_; }

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::wstring caption_;
  std::wstring text_;
  LONG style_ = 0;
  LONG exStyle_ = 0;
  HWND owner_ = nullptr;
  int buttons_ = 0;
};

// Watches for the popup menu of this thread while its own loop runs (from a
// timer), reads it, then chooses an entry by keyboard or closes it.
struct MenuEntry {
  std::wstring caption;  // empty for a separator
  bool separator = false;
};
class MenuProbe {
 public:
  // choose < 0 closes the menu without choosing; otherwise the entry at that
  // position among the choosable ones (0 is the first) is chosen.
  explicit MenuProbe(int choose = -1);
  // Runs `act` inside the menu's own loop once the menu is open and read.
  explicit MenuProbe(std::function<void(HWND menuWindow)> act);
  ~MenuProbe();
  int opened() const { return opened_; }
  const std::vector<MenuEntry>& entries() const { return entries_; }
  RECT rect() const { return rect_; }

 private:
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR timer_ = 0;
  int choose_ = -1;
  std::function<void(HWND)> act_;
  int opened_ = 0;
  std::vector<MenuEntry> entries_;
  RECT rect_{};
};

// Records every WM_NCLBUTTONDOWN sent to a window of this thread while it lives.
class CaptionPressRecorder {
 public:
  CaptionPressRecorder();
  ~CaptionPressRecorder();
  const std::vector<std::pair<HWND, WPARAM>>& presses() const;

 private:
  HHOOK hook_;
};

// Posts a key press (down and up) as the keyboard would: to `target`, which
// stands for the window with the keyboard focus.
void postKey(HWND target, UINT vk);

// Puts the keyboard state of this thread: which of Ctrl, Shift and Alt are held.
void setModifiers(bool ctrl, bool shift, bool alt);

}  // namespace testing_support
