#include "support.h"

#include "ui/main_window.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "ui/com.h"

namespace testing_support {

std::string exeDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\'));
}

std::string dataDirectory() { return exeDirectory() + "\\data"; }
std::string listFilePath() { return dataDirectory() + "\\quvo.ini"; }
std::string helperWithIcon() { return exeDirectory() + "\\with_icon.exe"; }
std::string helperWithoutIcon() { return exeDirectory() + "\\without_icon.exe"; }
std::string helperDescribed() { return exeDirectory() + "\\described.exe"; }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void makeShortcut(const std::string& lnk, const std::string& target, const std::string& arguments) {
  ui::ComPtr<IShellLinkA> link;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(link.put()))));
  link->SetPath(target.c_str());
  if (!arguments.empty()) link->SetArguments(arguments.c_str());
  ui::ComPtr<IPersistFile> file = link.as<IPersistFile>(IID_IPersistFile);
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH);
  ASSERT_TRUE(SUCCEEDED(file->Save(wide, TRUE))) << lnk;
}

std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    GetClassNameW(c, cls, 64);
    if (lstrcmpW(cls, className) == 0 && IsWindowVisible(c)) found.push_back(c);
  }
  return found;
}

HWND barWindowOf(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (owner == s->pid && IsWindowVisible(h) && lstrcmpW(cls, ui::kMainWindowClass) == 0) s->found = h;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

PROCESS_INFORMATION startProgram(const std::string& exe, const std::string& arguments) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  EXPECT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << exe;
  return pi;
}

HWND waitForBarOf(DWORD pid, int ms) {
  HWND bar = nullptr;
  for (int waited = 0; waited < ms && !bar; waited += 20, Sleep(20)) bar = barWindowOf(pid);
  return bar;
}

DWORD closeWithEscape(HWND bar, PROCESS_INFORMATION& process) {
  PostMessageW(bar, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

void pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {  // leave it for whoever asks
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      ui::filterLoopInput(msg);  // as the program's own loop does
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (ms > 0) Sleep(5);
  } while (std::chrono::steady_clock::now() < end);
}

bool pumpUntil(const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    pump(10);
  }
  return true;
}

MessageRecorder::MessageRecorder(HWND hwnd, std::set<UINT> swallow) : hwnd_(hwnd), swallow_(std::move(swallow)) {
  SetWindowSubclass(hwnd_, &MessageRecorder::proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

MessageRecorder::~MessageRecorder() {
  if (IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &MessageRecorder::proc, reinterpret_cast<UINT_PTR>(this));
}

int MessageRecorder::count(UINT msg) const {
  int n = 0;
  for (UINT m : seen_) n += m == msg;
  return n;
}

LRESULT CALLBACK MessageRecorder::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  auto* recorder = reinterpret_cast<MessageRecorder*>(self);
  recorder->seen_.push_back(msg);
  if (recorder->swallow_.count(msg)) return 0;
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

ui::Picture capture(int width, int height, const std::function<void(HDC)>& draw) {
  ui::Picture picture;
  picture.width = width;
  picture.height = height;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  draw(dc);
  GdiFlush();
  const auto* px = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(px, px + static_cast<std::size_t>(width) * height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return picture;
}

ui::Picture printWindow(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return capture(r.right, r.bottom, [hwnd, &r](HDC dc) {
    // Start from a colour no control paints, so untouched pixels stand out.
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &r, magenta);
    DeleteObject(magenta);
    PrintWindow(hwnd, dc, PW_CLIENTONLY);
  });
}

ui::Picture grabScreen(const RECT& r) {
  return capture(r.right - r.left, r.bottom - r.top, [&r](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

MessageBoxWatcher::MessageBoxWatcher(std::function<void(HWND)> beforeAnswer, bool escape) {
  const DWORD pid = GetCurrentProcessId();
  thread_ = std::thread([this, pid, beforeAnswer, escape] {
    while (!stop_ && !answered_) {
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == pid && IsWindowVisible(box)) break;
      }
      if (box) {
        wchar_t buffer[512] = {};
        GetWindowTextW(box, buffer, 512);
        caption_ = buffer;
        buffer[0] = 0;
        GetDlgItemTextW(box, 0xFFFF, buffer, 512);  // the message text
        text_ = buffer;
        style_ = GetWindowLongW(box, GWL_STYLE);
        exStyle_ = GetWindowLongW(box, GWL_EXSTYLE);
        owner_ = GetWindow(box, GW_OWNER);
        HWND first = nullptr;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          wchar_t cls[32] = {};
          GetClassNameW(child, cls, 32);
          if (lstrcmpiW(cls, L"Button") == 0 && IsWindowVisible(child)) {
            ++buttons_;
            if (!first) first = child;
          }
        }
        if (beforeAnswer) beforeAnswer(box);
        if (escape) {
          GUITHREADINFO gui{};
          gui.cbSize = sizeof gui;
          GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
          postKey(gui.hwndFocus ? gui.hwndFocus : box, VK_ESCAPE);
        } else if (first) PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(first), BN_CLICKED), reinterpret_cast<LPARAM>(first));
        answered_ = true;
        return;
      }
      Sleep(20);
    }
  });
}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

bool MessageBoxWatcher::waitAnswered(int ms) {
  return pumpUntil([this] { return answered_.load(); }, ms);
}

namespace {
MenuProbe* activeProbe = nullptr;
}

MenuProbe::MenuProbe(int choose) : choose_(choose) {
  activeProbe = this;
  timer_ = SetTimer(nullptr, 0, 30, &MenuProbe::onTimer);
}

MenuProbe::MenuProbe(std::function<void(HWND)> act) : act_(std::move(act)) {
  activeProbe = this;
  timer_ = SetTimer(nullptr, 0, 30, &MenuProbe::onTimer);
}

MenuProbe::~MenuProbe() {
  KillTimer(nullptr, timer_);
  activeProbe = nullptr;
}

void CALLBACK MenuProbe::onTimer(HWND, UINT, UINT_PTR, DWORD) {
  MenuProbe* probe = activeProbe;
  if (!probe) return;
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  if (!menu) return;
  ++probe->opened_;
  probe->entries_.clear();
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    MenuEntry entry;
    entry.separator = (info.fType & MFT_SEPARATOR) != 0;
    wchar_t caption[128] = {};
    if (!entry.separator) GetMenuStringW(menu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
    entry.caption = caption;
    probe->entries_.push_back(entry);
  }
  GetWindowRect(menuWindow, &probe->rect_);
  if (probe->act_) {
    probe->act_(menuWindow);
  } else if (probe->choose_ < 0) {
    EndMenu();
  } else {
    for (int i = 0; i <= probe->choose_; ++i) PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  }
  activeProbe = nullptr;  // one menu per probe
}

namespace {
std::vector<std::pair<HWND, WPARAM>> captionPresses;
LRESULT CALLBACK recordCaptionPress(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_NCLBUTTONDOWN) captionPresses.emplace_back(sent->hwnd, sent->wParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

CaptionPressRecorder::CaptionPressRecorder()
    : hook_(SetWindowsHookExW(WH_CALLWNDPROC, recordCaptionPress, nullptr, GetCurrentThreadId())) {
  captionPresses.clear();
}
CaptionPressRecorder::~CaptionPressRecorder() { UnhookWindowsHookEx(hook_); }
const std::vector<std::pair<HWND, WPARAM>>& CaptionPressRecorder::presses() const { return captionPresses; }

void postKey(HWND target, UINT vk) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void setModifiers(bool ctrl, bool shift, bool alt) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  auto set = [&keys](int vk, bool down) { keys[vk] = down ? 0x80 : 0; };
  set(VK_CONTROL, ctrl);
  set(VK_LCONTROL, ctrl);
  set(VK_SHIFT, shift);
  set(VK_LSHIFT, shift);
  set(VK_MENU, alt);
  set(VK_LMENU, alt);
  SetKeyboardState(keys);
}

}  // namespace testing_support
