#include "ui/main_window.h"

#include <algorithm>

namespace ui {
namespace {

constexpr wchar_t kOwnerClass[] = L"ui.TaskbarOwner";

std::vector<MainWindow*>& liveWindows() {
  static std::vector<MainWindow*> windows;
  return windows;
}

bool keyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  // Controls first: their windows die with ours, but not before it.
  if (alive()) DestroyWindow(hwnd());
  controls_.clear();
  auto& live = liveWindows();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void filterLoopInput(MSG& msg) {
  for (MainWindow* window : liveWindows()) window->filterInput(msg);
}

bool MainWindow::create(const MainWindowSettings& settings) {
  registerClass(kMainWindowClass, CS_DBLCLKS, nullptr);
  WNDCLASSEXW ownerClass{};
  ownerClass.cbSize = sizeof ownerClass;
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kOwnerClass, &ownerClass)) {
    ownerClass.lpfnWndProc = DefWindowProcW;
    ownerClass.hInstance = GetModuleHandleW(nullptr);
    ownerClass.lpszClassName = kOwnerClass;
    RegisterClassExW(&ownerClass);
  }
  background_ = settings.background;
  backgroundBrush_.reset(CreateSolidBrush(background_));
  escCloses_ = settings.escCloses;
  dragByBody_ = settings.dragByBody;

  // An owned window gets no taskbar button; the owner is a tool window that
  // is never shown, so it gets none either.
  owner_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!owner_) return false;
  if (!createWindow(0, kMainWindowClass, WS_POPUP | WS_CLIPCHILDREN, settings.left, settings.top,
                    settings.width, settings.height, owner_.get())) {
    owner_.reset();
    return false;
  }
  lastSize_ = {width(), height()};
  liveWindows().push_back(this);
  return true;
}

void MainWindow::show() { ShowWindow(hwnd(), SW_SHOW); }

template <class T>
T& MainWindow::adopt(std::unique_ptr<T> control, bool created, bool atBottom) {
  if (!created) fatalError(kControlNotCreated);
  // Controls are defined top first: each new one goes under the others.
  if (atBottom) SetWindowPos(control->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  T& adopted = *control;
  controls_.push_back(std::move(control));
  return adopted;
}

PictureBox& MainWindow::addPictureBox(std::string name, const Rect& rect, PictureMode mode, bool visible) {
  auto box = std::make_unique<PictureBox>(*this, std::move(name), mode);
  const bool created = box->create(rect, visible);
  return adopt(std::move(box), created, true);
}

Label& MainWindow::addLabel(std::string name, const Rect& rect, const LabelStyle& style, bool visible) {
  auto label = std::make_unique<Label>(*this, std::move(name), style);
  const bool created = label->create(rect, visible);
  return adopt(std::move(label), created, true);
}

PictureBox& MainWindow::adoptCopy(std::unique_ptr<PictureBox> copy, bool created) {
  return adopt(std::move(copy), created, false);
}

Control* MainWindow::find(std::string_view name) const {
  for (const auto& control : controls_) {
    if (control->name() == name) return control.get();
  }
  return nullptr;
}

int MainWindow::left() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.left;
}
int MainWindow::top() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.top;
}
int MainWindow::width() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.right - r.left;
}
int MainWindow::height() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.bottom - r.top;
}

void MainWindow::setLeft(int left) {
  SetWindowPos(hwnd(), nullptr, left, top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void MainWindow::setTop(int top) {
  SetWindowPos(hwnd(), nullptr, left(), top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void MainWindow::setWidth(int width) {
  SetWindowPos(hwnd(), nullptr, 0, 0, width, height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::filterInput(MSG& msg) {
  if (!alive() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return;
  switch (msg.message) {
    case WM_LBUTTONDOWN: {
      if (!dragByBody_) return;
      if (msg.hwnd == hwnd()) {
        // Let the platform move the bar; the press itself goes on as usual.
        PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return;
      }
      const auto* control = dynamic_cast<const Control*>(Window::fromHandle(msg.hwnd));
      if (control && control->kind() == ControlKind::PictureBox) {
        PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        msg.message = WM_NULL;  // the picture box never sees this press
      }
      return;
    }
    case WM_KEYDOWN:
      if (escCloses_ && msg.wParam == VK_ESCAPE && !keyHeld(VK_CONTROL) && !keyHeld(VK_SHIFT) &&
          !keyHeld(VK_MENU)) {
        msg.message = WM_NULL;
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      }
      return;
    default:
      return;
  }
}

LRESULT MainWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !activatedOnce_) {
        activatedOnce_ = true;
        if (onFirstActivated) onFirstActivated();
      }
      return defaultProc(msg, wParam, lParam);
    case WM_RBUTTONDOWN:
      if (onRightButtonDown) {
        onRightButtonDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), wParam});
      }
      return 0;
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0 && onMenuCommand) {
        onMenuCommand(LOWORD(wParam));
        return 0;
      }
      return defaultProc(msg, wParam, lParam);
    case WM_SIZE: {
      const SIZE now{width(), height()};
      if (now.cx != lastSize_.cx || now.cy != lastSize_.cy) {
        lastSize_ = now;
        if (onSizeChanged) onSizeChanged();
      }
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
      return 1;
    }
    case WM_PRINTCLIENT:
      printWithChildren(reinterpret_cast<HDC>(wParam), lParam);
      return 0;
    case WM_ENTERSIZEMOVE:
      tooltip_.pop();  // it would stay behind where the bar was
      return defaultProc(msg, wParam, lParam);
    case WM_DESTROY:
      tooltip_.destroy();  // it lets go of the controls while they still exist
      if (onDestroying) onDestroying();
      return defaultProc(msg, wParam, lParam);
    case WM_QUERYENDSESSION:
      return TRUE;  // never holds up a shutdown or log-off
    default:
      return defaultProc(msg, wParam, lParam);
  }
}

void MainWindow::onDestroyed() {
  auto& live = liveWindows();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (live.empty()) PostQuitMessage(0);
}

// The whole bar into a DC, children included, as PrintWindow asks for it.
void MainWindow::printWithChildren(HDC dc, LPARAM flags) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, backgroundBrush_.get());
  if (!(flags & PRF_CHILDREN)) return;
  std::vector<const Control*> bottomFirst;
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto* control = dynamic_cast<const Control*>(Window::fromHandle(child));
    if (control && control->visible()) bottomFirst.insert(bottomFirst.begin(), control);
  }
  for (const Control* control : bottomFirst) {
    RECT outer{};
    GetWindowRect(control->hwnd(), &outer);
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&outer), 2);
    POINT origin{0, 0};
    MapWindowPoints(control->hwnd(), hwnd(), &origin, 1);
    RECT inner{};
    GetClientRect(control->hwnd(), &inner);
    const int saved = SaveDC(dc);
    if (GetWindowLongW(control->hwnd(), GWL_STYLE) & WS_BORDER) {
      FrameRect(dc, &outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    IntersectClipRect(dc, 0, 0, inner.right, inner.bottom);
    control->paintContent(dc);
    RestoreDC(dc, saved);
  }
}

}  // namespace ui
