#include "ui/controls.h"

#include <algorithm>
#include <vector>

#include "text/display.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr wchar_t kPictureBoxClass[] = L"ui.PictureBox";
constexpr wchar_t kLabelClass[] = L"ui.Label";

MouseEvent mouseEvent(WPARAM wParam, LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), wParam};
}

void fire(const std::shared_ptr<ControlHandlers>& handlers,
          std::function<void(Control&, const MouseEvent&)> ControlHandlers::*event, Control& source,
          const MouseEvent& ev) {
  // Keep the handler set alive even if the handler replaces it.
  const std::shared_ptr<ControlHandlers> keep = handlers;
  if (keep && (keep.get()->*event)) (keep.get()->*event)(source, ev);
}

// The client origin of `child` in its parent's client coordinates.
POINT clientOriginInParent(HWND child) {
  POINT origin{0, 0};
  MapWindowPoints(child, GetParent(child), &origin, 1);
  return origin;
}

bool faceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

bool coversChinese(HDC dc, HFONT font) {
  SelectGuard select(dc, font);
  const wchar_t probe[] = L"\x6700\x9AD8\x2103";  // 最高℃
  WORD glyphs[3] = {};
  if (GetGlyphIndicesW(dc, probe, 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) return false;
  return std::none_of(std::begin(glyphs), std::end(glyphs), [](WORD g) { return g == 0xFFFF; });
}

// A font with the given look that can draw Chinese: the face itself when it
// is installed, else the first Chinese face found, else whatever the font
// mapper picks for the GB2312 character set.
HFONT createChineseCapableFont(LOGFONTW lf) {
  WindowDc screen(nullptr);
  if (lf.lfFaceName[0] && faceInstalled(screen.get(), lf.lfFaceName)) return CreateFontIndirectW(&lf);
  static const wchar_t* const kFallbacks[] = {
      L"NSimSun",         L"SimSun",          L"\x65B0\x5B8B\x4F53",  // 新宋体
      L"WenQuanYi Zen Hei Mono", L"WenQuanYi Zen Hei", L"\x6587\x6CC9\x9A7F\x6B63\x9ED1",  // 文泉驿正黑
      L"Noto Sans CJK SC", L"Microsoft YaHei"};
  for (const wchar_t* face : kFallbacks) {
    if (faceInstalled(screen.get(), face)) {
      lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
      return CreateFontIndirectW(&lf);
    }
  }
  lf.lfFaceName[0] = L'\0';
  lf.lfCharSet = GB2312_CHARSET;
  return CreateFontIndirectW(&lf);
}

}  // namespace

// ---- Control ---------------------------------------------------------------

Control::Control(MainWindow& owner, std::string name, ControlKind kind)
    : owner_(owner), name_(std::move(name)), kind_(kind) {}

bool Control::createChild(const wchar_t* className, const Rect& rect, bool visible, DWORD extraStyle) {
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0) | extraStyle;
  return createWindow(0, className, style, rect.left, rect.top, rect.width, rect.height,
                      owner_.hwnd()) != nullptr;
}

RECT Control::rectInParent() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Control::left() const { return rectInParent().left; }
int Control::top() const { return rectInParent().top; }
int Control::width() const {
  const RECT r = rectInParent();
  return r.right - r.left;
}
int Control::height() const {
  const RECT r = rectInParent();
  return r.bottom - r.top;
}

void Control::setLeft(int left) { moveTo(left, top()); }
void Control::setTop(int top) { moveTo(left(), top); }
void Control::moveTo(int left, int top) {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Control::visible() const { return (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::setVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE); }

void Control::redrawNow() const {
  if (!alive() || !owner_.alive()) return;
  RECT r = rectInParent();
  RedrawWindow(owner_.hwnd(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT Control::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEMOVE:
      fire(handlers, &ControlHandlers::mouseMoved, *this, mouseEvent(wParam, lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      fire(handlers, &ControlHandlers::doubleClicked, *this, mouseEvent(wParam, lParam));
      return 0;
    case WM_RBUTTONDOWN:
      fire(handlers, &ControlHandlers::rightButtonDown, *this, mouseEvent(wParam, lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole control
    case WM_NCLBUTTONDOWN:
      // A child has no caption to drag; the default handling would start a
      // move loop that shifts the control inside the bar.
      if (wParam == HTCAPTION) return 0;
      return defaultProc(msg, wParam, lParam);
    case WM_PAINT: {
      PaintGuard paint(hwnd());
      paintWhole(paint.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      paintWhole(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return defaultProc(msg, wParam, lParam);
  }
}

// ---- PictureBox ------------------------------------------------------------

PictureBox::PictureBox(MainWindow& owner, std::string name, PictureMode mode)
    : Control(owner, std::move(name), ControlKind::PictureBox), mode_(mode) {}

bool PictureBox::create(const Rect& rect, bool visible) {
  static const bool registered = (registerClass(kPictureBoxClass, CS_DBLCLKS, nullptr), true);
  (void)registered;
  return createChild(kPictureBoxClass, rect, visible, 0);
}

void PictureBox::setBorderStyle(int style) {
  if (style < 0 || style > kMaxBorderStyle || style == borderStyle_) return;
  constexpr LONG_PTR kStyleBits = WS_BORDER | WS_DLGFRAME;
  constexpr LONG_PTR kExBits = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  LONG_PTR add = 0;
  LONG_PTR addEx = 0;
  switch (style) {
    case 1: addEx = WS_EX_CLIENTEDGE; break;
    case 2: add = WS_DLGFRAME; addEx = WS_EX_WINDOWEDGE; break;
    case 3: addEx = WS_EX_STATICEDGE; break;
    case 4: addEx = WS_EX_DLGMODALFRAME; break;
    case 5: add = WS_BORDER; break;
    default: break;
  }
  borderStyle_ = style;
  SetWindowLongPtrW(hwnd(), GWL_STYLE, (GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~kStyleBits) | add);
  SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & ~kExBits) | addEx);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  redrawNow();
}

bool PictureBox::setPicture(std::span<const std::uint8_t> bytes) {
  std::optional<Picture> decoded = decodePicture(bytes);
  if (decoded) {
    picture_ = flattenOnto(*decoded, background_);
  } else {
    picture_.reset();
  }
  redrawNow();
  return picture_.has_value();
}

void PictureBox::clearPicture() {
  picture_.reset();
  redrawNow();
}

PictureBox& PictureBox::copy() const {
  auto twin = std::make_unique<PictureBox>(owner(), name(), mode_);
  const Rect rect{left(), top(), width(), height()};
  twin->background_ = background_;
  twin->picture_ = picture_;
  twin->handlers = handlers;
  twin->setTag(tag());
  const bool created = twin->create(rect, visible());
  PictureBox& result = owner().adoptCopy(std::move(twin), created);
  result.setBorderStyle(borderStyle_);
  // The frame counts in the template's outer size, so the copy keeps it.
  SetWindowPos(result.hwnd(), nullptr, 0, 0, rect.width, rect.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return result;
}

void PictureBox::paintContent(HDC dc) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  UniqueBrush background(CreateSolidBrush(RGB(background_ >> 16, (background_ >> 8) & 0xFF, background_ & 0xFF)));
  FillRect(dc, &client, background.get());
  if (!picture_) return;
  const Picture& p = *picture_;
  const Rect at = placePicture(mode_, client.right, client.bottom, p.width, p.height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = -p.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Halftone smooths scaled pictures where the display has colours to spare.
  const bool richDisplay = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) > 16;
  const int oldMode = SetStretchBltMode(dc, richDisplay ? HALFTONE : COLORONCOLOR);
  POINT oldOrigin{};
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  StretchDIBits(dc, at.left, at.top, at.width, at.height, 0, 0, p.width, p.height, p.pixels.data(),
                &info, DIB_RGB_COLORS, SRCCOPY);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  SetStretchBltMode(dc, oldMode);
}

// ---- Label -----------------------------------------------------------------

Label::Label(MainWindow& owner, std::string name, LabelStyle style)
    : Control(owner, std::move(name), ControlKind::Label), style_(std::move(style)) {}

bool Label::create(const Rect& rect, bool visible) {
  static const bool registered = (registerClass(kLabelClass, CS_DBLCLKS, nullptr), true);
  (void)registered;
  if (style_.face.empty()) {
    stockFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    WindowDc screen(nullptr);
    if (!coversChinese(screen.get(), stockFont_)) {
      LOGFONTW lf{};
      GetObjectW(stockFont_, sizeof lf, &lf);
      lf.lfFaceName[0] = L'\0';
      font_.reset(createChineseCapableFont(lf));
    }
  } else {
    LOGFONTW lf{};
    lf.lfHeight = -style_.height;  // character height, not cell height
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, text::gbkToWide(style_.face).c_str(), LF_FACESIZE);
    font_.reset(createChineseCapableFont(lf));
  }
  return createChild(kLabelClass, rect, visible, 0);
}

void Label::setCaption(std::string caption) {
  caption_ = std::move(caption);
  // Also as the window text, so other programs (screen readers, tests) can read it.
  SetWindowTextW(hwnd(), text::gbkToWide(caption_).c_str());
  redrawNow();
}

void Label::paintContent(HDC dc) const {
  if (caption_.empty()) return;
  const std::wstring wide = text::gbkToWide(caption_);
  RECT r{};
  GetClientRect(hwnd(), &r);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  format |= style_.align == HorizontalAlign::Centre ? DT_CENTER
            : style_.align == HorizontalAlign::Right ? DT_RIGHT
                                                     : DT_LEFT;
  SelectGuard select(dc, font());
  const int oldBk = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = GetTextColor(dc);
  if (style_.whiteUnderCopy) {
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, format);
    OffsetRect(&r, 1, 1);
  }
  SetTextColor(dc, style_.colour);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, format);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldBk);
}

// A transparent label shows what lies under it: the main window's background
// and the controls below it in the stacking order, then its own text.
void Label::paintWhole(HDC dc) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int w = client.right;
  const int h = client.bottom;
  if (w <= 0 || h <= 0) return;
  MemoryDc buffer(dc);
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc, w, h));
  if (!buffer.get() || !bitmap) return;
  SelectGuard selectBitmap(buffer.get(), bitmap.get());
  const COLORREF bg = owner().background();
  UniqueBrush brush(CreateSolidBrush(bg));
  FillRect(buffer.get(), &client, brush.get());

  const POINT self = clientOriginInParent(hwnd());
  RECT mine{self.x, self.y, self.x + w, self.y + h};
  std::vector<const Control*> below;
  for (HWND sibling = GetWindow(hwnd(), GW_HWNDNEXT); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    const auto* control = dynamic_cast<const Control*>(Window::fromHandle(sibling));
    if (!control || !control->visible()) continue;
    RECT theirs{};
    GetWindowRect(sibling, &theirs);
    MapWindowPoints(HWND_DESKTOP, GetParent(sibling), reinterpret_cast<POINT*>(&theirs), 2);
    RECT overlap{};
    if (IntersectRect(&overlap, &mine, &theirs)) below.push_back(control);
  }
  for (auto it = below.rbegin(); it != below.rend(); ++it) {
    const POINT origin = clientOriginInParent((*it)->hwnd());
    RECT theirClient{};
    GetClientRect((*it)->hwnd(), &theirClient);
    const int saved = SaveDC(buffer.get());
    SetViewportOrgEx(buffer.get(), origin.x - self.x, origin.y - self.y, nullptr);
    IntersectClipRect(buffer.get(), 0, 0, theirClient.right, theirClient.bottom);
    (*it)->paintContent(buffer.get());
    RestoreDC(buffer.get(), saved);
  }
  paintContent(buffer.get());
  BitBlt(dc, 0, 0, w, h, buffer.get(), 0, 0, SRCCOPY);
}

}  // namespace ui
