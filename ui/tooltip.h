// One tooltip window for the controls of a main window: a control's text
// shows when the mouse rests on it and goes when the mouse leaves. The tip
// takes no focus and lets every click through to what lies under it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "ui/unique.h"

namespace ui {

class Tooltip {
 public:
  // Gives the child `control` of `owner` this text; an empty text takes its
  // tip away. The tooltip window is made with the first text.
  void setText(HWND owner, HWND control, std::wstring_view text);
  // The text `control` shows, empty when it has none.
  std::wstring text(HWND owner, HWND control) const;
  // Hides the tip now, if one shows.
  void pop() const;
  // The tooltip window, null until a control got a text.
  HWND hwnd() const { return window_.get(); }
  // Destroys the tooltip window while the controls it watches still exist.
  void destroy() { window_.reset(); }

 private:
  bool create(HWND owner);
  UniqueWindow window_;
};

}  // namespace ui
