// Child controls of the main window: picture boxes and transparent labels.
// Texts are GBK bytes; they become UTF-16 only when drawn.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "ui/picture.h"
#include "ui/placement.h"
#include "ui/unique.h"
#include "ui/window.h"

namespace ui {

class MainWindow;
class Control;

struct MouseEvent {
  int x = 0;
  int y = 0;
  WPARAM keys = 0;
};

// The handlers of a control's events. A copy of a control shares them with
// its template; the handler is told which control fired.
struct ControlHandlers {
  std::function<void(Control&, const MouseEvent&)> mouseMoved;
  std::function<void(Control&, const MouseEvent&)> doubleClicked;
  std::function<void(Control&, const MouseEvent&)> rightButtonDown;
};

enum class ControlKind { PictureBox, Label };

class Control : public Window {
 public:
  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  MainWindow& owner() const { return owner_; }

  // Outer position and size in the main window's client area, read live.
  int left() const;
  int top() const;
  int width() const;
  int height() const;
  void setLeft(int left);
  void setTop(int top);
  void moveTo(int left, int top);
  bool visible() const;
  void setVisible(bool visible);
  const std::string& tag() const { return tag_; }
  void setTag(std::string tag) { tag_ = std::move(tag); }

  std::shared_ptr<ControlHandlers> handlers = std::make_shared<ControlHandlers>();

  // Draws what the control itself shows into `dc`, whose origin is the
  // control's client origin. Transparent controls draw only their own marks.
  virtual void paintContent(HDC dc) const = 0;

 protected:
  Control(MainWindow& owner, std::string name, ControlKind kind);
  bool createChild(const wchar_t* className, const Rect& rect, bool visible, DWORD extraStyle);
  LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Everything the control shows, as on screen, into a DC at its client origin.
  virtual void paintWhole(HDC dc) const { paintContent(dc); }
  // Repaints the control and whatever overlaps it, at once.
  void redrawNow() const;

 private:
  RECT rectInParent() const;
  MainWindow& owner_;
  std::string name_;
  ControlKind kind_;
  std::string tag_;
};

class PictureBox : public Control {
 public:
  // Border styles: 0 none, 1 sunken, 2 raised, 3 shallow sunken, 4 frame, 5 single line.
  static constexpr int kMaxBorderStyle = 5;

  PictureBox(MainWindow& owner, std::string name, PictureMode mode);
  bool create(const Rect& rect, bool visible);

  PictureMode mode() const { return mode_; }
  std::uint32_t backgroundRgb() const { return background_; }
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);

  // Shows the picture in these bytes (PNG or BMP); bytes that decode to no
  // picture leave the box showing its background only. Returns whether a
  // picture is shown.
  bool setPicture(std::span<const std::uint8_t> bytes);
  void clearPicture();
  bool hasPicture() const { return picture_.has_value(); }

  // A new control of the same main window with all of this one's properties
  // and handlers, and an identity of its own.
  PictureBox& copy() const;

  void paintContent(HDC dc) const override;

 private:
  PictureMode mode_;
  std::uint32_t background_ = 0xFFFFFF;
  int borderStyle_ = 0;
  std::optional<Picture> picture_;  // already laid over the background
};

enum class HorizontalAlign { Left, Centre, Right };

struct LabelStyle {
  // Face name in GBK and character height in pixels; an empty face means the
  // platform's default GUI font.
  std::string face;
  int height = 0;
  HorizontalAlign align = HorizontalAlign::Left;
  COLORREF colour = RGB(0, 0, 0);
  bool whiteUnderCopy = false;
};

class Label : public Control {
 public:
  Label(MainWindow& owner, std::string name, LabelStyle style);
  bool create(const Rect& rect, bool visible);

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  HFONT font() const { return font_ ? font_.get() : stockFont_; }

  void paintContent(HDC dc) const override;

 protected:
  void paintWhole(HDC dc) const override;

 private:
  LabelStyle style_;
  std::string caption_;
  UniqueFont font_;
  HFONT stockFont_ = nullptr;
};

}  // namespace ui
