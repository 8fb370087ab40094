// Owning handle types. A raw handle is always borrowed; a Unique owns one and
// closes it exactly once.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ui {

template <class Handle, auto Close>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : h_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  Handle release() { return std::exchange(h_, Handle{}); }
  void reset(Handle h = Handle{}) {
    if (h_ != Handle{}) Close(h_);
    h_ = h;
  }

 private:
  Handle h_{};
};

// Kernel objects (events, mutexes); a null handle is the empty one.
using UniqueHandle = Unique<HANDLE, &CloseHandle>;
using UniqueWindow = Unique<HWND, &DestroyWindow>;
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueMenu = Unique<HMENU, &DestroyMenu>;
using UniqueBitmap = Unique<HBITMAP, &DeleteObject>;
using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBrush = Unique<HBRUSH, &DeleteObject>;
using UniqueRegion = Unique<HRGN, &DeleteObject>;
using UniqueImageList = Unique<HIMAGELIST, &ImageList_Destroy>;

// BeginPaint/EndPaint.
class PaintGuard {
 public:
  explicit PaintGuard(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;
  ~PaintGuard() { EndPaint(hwnd_, &ps_); }
  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// GetDC/ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// CreateCompatibleDC/DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// SelectObject, undone on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ui
