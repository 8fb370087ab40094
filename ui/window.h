// A window object bound to its HWND: `this` is kept from WM_NCCREATE to
// WM_NCDESTROY, and each subclass sees its messages through onMessage.
#pragma once
#include <windows.h>

namespace ui {

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  bool alive() const { return hwnd_ != nullptr; }

  // The object behind a window of ours, or null for any other window.
  static Window* fromHandle(HWND hwnd);

 protected:
  Window() = default;

  static void registerClass(const wchar_t* className, UINT classStyle, HBRUSH background);
  HWND createWindow(DWORD exStyle, const wchar_t* className, DWORD style, int x, int y, int width,
                    int height, HWND parent);

  virtual LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Last message this object will see; hwnd() is still valid during it.
  virtual void onDestroyed() {}
  LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The error message box: no owner, OK only.
void showErrorBox(const char* gbkText);
// A fatal error: the error box, then the process ends with exit code -1 and
// no exit routine runs.
[[noreturn]] void fatalError(const char* gbkText);

inline constexpr char kOutOfMemory[] = "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA1\xA3";  // 内存不足。
inline constexpr char kControlNotCreated[] = "\xB4\xB4\xBD\xA8\xBF\xD8\xBC\xFE\xCA\xA7\xB0\xDC\xA1\xA3";  // 创建控件失败。

}  // namespace ui
