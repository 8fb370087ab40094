#include "ui/tooltip.h"

#include <commctrl.h>

#include <vector>

namespace ui {
namespace {

// The control keeps at most this much of a text, its terminator included.
constexpr std::size_t kTextCapacity = 1024;

// The size of the structure every comctl32 version takes.
TTTOOLINFOW toolFor(HWND owner, HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

}  // namespace

bool Tooltip::create(HWND owner) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  // Always: the bar is mostly inactive while the user works elsewhere.
  // No prefix: an "&" in a program's name is shown as it is.
  window_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr));
  return static_cast<bool>(window_);
}

void Tooltip::setText(HWND owner, HWND control, std::wstring_view text) {
  if (!window_ && (text.empty() || !create(owner))) return;
  TTTOOLINFOW tool = toolFor(owner, control);
  const bool known = SendMessageW(hwnd(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
  tool = toolFor(owner, control);
  if (text.empty()) {
    if (known) SendMessageW(hwnd(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  std::wstring kept(text.substr(0, kTextCapacity - 1));
  tool.lpszText = kept.data();  // copied by the control
  if (known) {
    SendMessageW(hwnd(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  // The control watches the tool's own mouse messages (subclass), so nothing
  // of ours has to relay them; transparent, so clicks on the tip go through.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  SendMessageW(hwnd(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Tooltip::text(HWND owner, HWND control) const {
  if (!window_) return {};
  std::vector<wchar_t> buffer(kTextCapacity, L'\0');
  TTTOOLINFOW tool = toolFor(owner, control);
  tool.lpszText = buffer.data();
  SendMessageW(hwnd(), TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
  buffer.back() = L'\0';
  return buffer.data();
}

void Tooltip::pop() const {
  if (window_) SendMessageW(hwnd(), TTM_POP, 0, 0);
}

}  // namespace ui
