#include "ui/window.h"

#include <new>

#include "ui/message_loop.h"

namespace ui {
namespace {
// Tags our windows' user data so a foreign window is never taken for ours.
constexpr wchar_t kOwnProperty[] = L"ui.Window";
}  // namespace

Window::~Window() {
  if (hwnd_) {
    HWND hwnd = hwnd_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    RemovePropW(hwnd, kOwnProperty);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

Window* Window::fromHandle(HWND hwnd) {
  if (!hwnd || !GetPropW(hwnd, kOwnProperty)) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::registerClass(const wchar_t* className, UINT classStyle, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return;
  wc.style = classStyle;
  wc.lpfnWndProc = &Window::windowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

HWND Window::createWindow(DWORD exStyle, const wchar_t* className, DWORD style, int x, int y,
                          int width, int height, HWND parent) {
  return CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), this);
}

LRESULT Window::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return defaultProc(msg, wParam, lParam);
}

LRESULT Window::defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(hwnd, kOwnProperty, reinterpret_cast<HANDLE>(1));
  } else {
    self = fromHandle(hwnd);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    if (msg == WM_NCDESTROY) {
      self->onDestroyed();
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      RemovePropW(hwnd, kOwnProperty);
      self->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->onMessage(msg, wParam, lParam);
  } catch (const std::bad_alloc&) {
    fatalError(kOutOfMemory);
  } catch (...) {
    fatalError("\xB3\xCC\xD0\xF2\xB3\xF6\xB4\xED\xA1\xA3");  // 程序出错。
  }
}

void showErrorBox(const char* gbkText) {
  showMessageBox(gbkText, "\xB4\xED\xCE\xF3", MB_OK | MB_ICONERROR);  // 错误
}

void fatalError(const char* gbkText) {
  showErrorBox(gbkText);
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace ui
