// The program's top-level window: borderless, owned by an invisible tool
// window (so it has no taskbar button), with the child controls it owns.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/tooltip.h"
#include "ui/unique.h"
#include "ui/window.h"

namespace ui {

// The window class of every main window, so another process can find a bar.
inline constexpr wchar_t kMainWindowClass[] = L"ui.MainWindow";

struct MainWindowSettings {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  COLORREF background = RGB(255, 255, 255);
  bool escCloses = true;
  bool dragByBody = true;
};

class MainWindow : public Window {
 public:
  MainWindow();
  ~MainWindow() override;

  // Creates the window hidden. False when the platform refuses it.
  bool create(const MainWindowSettings& settings);
  // Shows the window and activates it.
  void show();

  PictureBox& addPictureBox(std::string name, const Rect& rect, PictureMode mode, bool visible);
  Label& addLabel(std::string name, const Rect& rect, const LabelStyle& style, bool visible);
  PictureBox& adoptCopy(std::unique_ptr<PictureBox> copy, bool created);
  Control* find(std::string_view name) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  int left() const;
  int top() const;
  int width() const;
  int height() const;
  void setLeft(int left);
  void setTop(int top);
  void setWidth(int width);
  COLORREF background() const { return background_; }
  HWND ownerWindow() const { return owner_.get(); }

  // The tip `control` shows when the mouse rests on it (UTF-16); empty for none.
  void setTooltip(const Control& control, std::wstring_view text) { tooltip_.setText(hwnd(), control.hwnd(), text); }
  std::wstring tooltip(const Control& control) const { return tooltip_.text(hwnd(), control.hwnd()); }
  HWND tooltipWindow() const { return tooltip_.hwnd(); }

  // While on, a left press on the window's own area or on a picture box moves
  // the window; presses on picture boxes do not reach them. Double-clicks and
  // presses on labels always pass.
  bool dragByBody() const { return dragByBody_; }
  void setDragByBody(bool on) { dragByBody_ = on; }

  std::function<void()> onFirstActivated;
  // The window is about to go; its children still exist.
  std::function<void()> onDestroying;
  std::function<void()> onSizeChanged;
  std::function<void(const MouseEvent&)> onRightButtonDown;
  // A menu command chosen in a menu owned by this window.
  std::function<void(UINT)> onMenuCommand;

  // Sees a message the program's own loop took off the queue, before it is
  // dispatched; it may turn the message into WM_NULL.
  void filterInput(MSG& msg);

 protected:
  LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void onDestroyed() override;

 private:
  void printWithChildren(HDC dc, LPARAM flags) const;
  // Takes a new control that was just created (fatal if it was not); defined
  // controls go under the ones defined before them.
  template <class T>
  T& adopt(std::unique_ptr<T> control, bool created, bool atBottom);

  UniqueWindow owner_;
  Tooltip tooltip_;
  std::vector<std::unique_ptr<Control>> controls_;
  COLORREF background_ = RGB(255, 255, 255);
  UniqueBrush backgroundBrush_;
  bool escCloses_ = true;
  bool dragByBody_ = true;
  bool activatedOnce_ = false;
  SIZE lastSize_{};
};

// The program's own loops hand every message here before dispatching it;
// the loops of a menu, a message box or a drag never do, so the keys and
// presses those loops take reach them untouched.
void filterLoopInput(MSG& msg);

}  // namespace ui
