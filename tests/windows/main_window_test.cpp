#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "bar_fixture.h"
#include "support.h"
#include "ui/message_loop.h"

namespace {

using testing_support::MessageRecorder;
using testing_support::pump;

TEST_F(BarTest, IsAFramelessTopmostStripWithoutTaskbarButton) {
  const HWND w = barWindow();
  EXPECT_FALSE(IsWindowVisible(w)) << "created hidden";
  const LONG style = GetWindowLongW(w, GWL_STYLE);
  const LONG ex = GetWindowLongW(w, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  for (LONG bit : {WS_CAPTION, WS_BORDER, WS_DLGFRAME, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX}) {
    EXPECT_FALSE(style & bit) << std::hex << bit;
  }
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_EQ(GetMenu(w), nullptr);
  EXPECT_EQ(GetWindowTextLengthW(w), 0);

  const HWND owner = GetWindow(w, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_TRUE(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(IsWindowVisible(owner));

  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 424);
  EXPECT_EQ(r.bottom - r.top, 37);
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 424) << "outer and client area coincide";
  EXPECT_EQ(client.bottom, 37);
}

TEST_F(BarTest, BackgroundIsWhite) {
  const ui::Picture shot = testing_support::printWindow(barWindow());
  for (auto [x, y] : {std::pair{0, 0}, {150, 18}, {423, 36}, {280, 5}}) {
    EXPECT_EQ(testing_support::rgbAt(shot, x, y), 0xFFFFFFu) << x << "," << y;
  }
}

TEST_F(BarTest, StaysAboveAnOrdinaryWindowThatIsActivated) {
  bar().window.show();
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  SetActiveWindow(other);
  pump(50);
  EXPECT_TRUE(GetWindowLongW(barWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  bool barFirst = false;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == barWindow()) { barFirst = true; break; }
    if (h == other) break;
  }
  EXPECT_TRUE(barFirst) << "the bar is above the activated window in the stacking order";
  DestroyWindow(other);
}

void expectRoundedShape(HWND w, int width, int height) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR) << "a region is set";
  RECT box{};
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, width);
  EXPECT_EQ(box.bottom, height);
  // c = 7: corner pixels are cut off, edges and the middle are kept.
  for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}, {1, 0}, {0, 1}}) {
    EXPECT_FALSE(PtInRegion(rgn, x, y)) << "corner " << x << "," << y;
  }
  for (auto [x, y] : {std::pair{width / 2, 0}, {width / 2, height - 1}, {0, height / 2}, {width - 1, height / 2},
                      {4, 4}, {width - 5, height - 5}}) {
    EXPECT_TRUE(PtInRegion(rgn, x, y)) << "inside " << x << "," << y;
  }
  DeleteObject(rgn);
}

TEST_F(BarTest, IsRoundedAtCreationAndAfterWidening) {
  expectRoundedShape(barWindow(), 424, 37);
  bar().window.setWidth(459);
  RECT r{};
  GetWindowRect(barWindow(), &r);
  EXPECT_EQ(r.left, 50) << "widening keeps the left edge";
  EXPECT_EQ(r.right - r.left, 459);
  expectRoundedShape(barWindow(), 459, 37);
  bar().window.setWidth(704);
  expectRoundedShape(barWindow(), 704, 37);
}

TEST_F(BarTest, ControlsHaveTheirPlacesKindsAndStackingOrder) {
  const struct {
    const char* name;
    ui::ControlKind kind;
    int left, top, width, height;
    bool visible;
  } expected[] = {
      {app::kDateLabelName, ui::ControlKind::Label, 289, 21, 128, 16, true},
      {app::kConditionPictureName, ui::ControlKind::PictureBox, 336, 0, 39, 23, true},
      {app::kConditionLabelName, ui::ControlKind::Label, 369, 4, 64, 19, true},
      {app::kIconTemplateName, ui::ControlKind::PictureBox, 1, 3, 32, 32, false},
  };
  HWND child = GetWindow(barWindow(), GW_CHILD);  // top of the stacking order
  for (const auto& e : expected) {
    ui::Control* control = bar().window.find(e.name);
    ASSERT_NE(control, nullptr) << e.name;
    EXPECT_EQ(control->kind(), e.kind) << e.name;
    EXPECT_EQ(control->left(), e.left) << e.name;
    EXPECT_EQ(control->top(), e.top) << e.name;
    EXPECT_EQ(control->width(), e.width) << e.name;
    EXPECT_EQ(control->height(), e.height) << e.name;
    EXPECT_EQ(control->visible(), e.visible) << e.name;
    EXPECT_TRUE(control->tag().empty()) << e.name;
    EXPECT_EQ(child, control->hwnd()) << e.name << " out of stacking order";
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "no other child window";
  EXPECT_TRUE(bar().dateLabel->caption().empty());
  EXPECT_TRUE(bar().conditionLabel->caption().empty());
  EXPECT_FALSE(bar().conditionPicture->hasPicture());
  EXPECT_EQ(bar().iconTemplate->borderStyle(), 0);
}

// A press is posted as real input would be and taken off the queue by the
// program's own loop; the recorders see what reaches each window.
struct PressOutcome {
  int reachedControl;
  int dragsPosted;
};

PressOutcome press(HWND bar, HWND target, UINT message) {
  MessageRecorder onBar(bar, {WM_NCLBUTTONDOWN});  // record the drag request, start no move loop
  std::optional<MessageRecorder> onTarget;
  if (target != bar) onTarget.emplace(target);
  PostMessageW(target, message, MK_LBUTTON, MAKELPARAM(3, 3));
  ui::processPendingMessages();
  pump();
  return {onTarget ? onTarget->count(message) : onBar.count(message), onBar.count(WM_NCLBUTTONDOWN)};
}

TEST_F(BarTest, DragByBodyMovesFromBackgroundAndPictureBoxesButNotLabels) {
  bar().window.show();
  bar().iconTemplate->setVisible(true);
  const HWND w = barWindow();
  ASSERT_TRUE(bar().window.dragByBody());

  PressOutcome o = press(w, w, WM_LBUTTONDOWN);
  EXPECT_EQ(o.dragsPosted, 1) << "background";
  EXPECT_EQ(o.reachedControl, 1) << "the background press is still delivered";

  for (ui::PictureBox* box : {bar().conditionPicture, bar().iconTemplate}) {
    o = press(w, box->hwnd(), WM_LBUTTONDOWN);
    EXPECT_EQ(o.dragsPosted, 1) << box->name();
    EXPECT_EQ(o.reachedControl, 0) << box->name() << " must not see the press";
  }
  for (ui::Label* label : {bar().conditionLabel, bar().dateLabel}) {
    o = press(w, label->hwnd(), WM_LBUTTONDOWN);
    EXPECT_EQ(o.dragsPosted, 0) << label->name();
    EXPECT_EQ(o.reachedControl, 1) << label->name();
  }
  o = press(w, bar().iconTemplate->hwnd(), WM_LBUTTONDBLCLK);
  EXPECT_EQ(o.dragsPosted, 0) << "double-clicks pass through";
  EXPECT_EQ(o.reachedControl, 1);
}

TEST_F(BarTest, WithDragByBodyOffNothingMovesTheBar) {
  bar().window.show();
  bar().window.setDragByBody(false);
  const HWND w = barWindow();
  for (HWND target : {w, bar().conditionPicture->hwnd(), bar().conditionLabel->hwnd()}) {
    const PressOutcome o = press(w, target, WM_LBUTTONDOWN);
    EXPECT_EQ(o.dragsPosted, 0);
    EXPECT_EQ(o.reachedControl, 1) << "the press is delivered as usual";
  }
}

TEST_F(BarTest, DoubleClickOnAPictureBoxReachesItsHandler) {
  bar().window.show();
  int clicks = 0;
  bar().conditionPicture->handlers->doubleClicked = [&clicks](ui::Control&, const ui::MouseEvent&) { ++clicks; };
  PostMessageW(bar().conditionPicture->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  ui::processPendingMessages();
  EXPECT_EQ(clicks, 1);
}

void postEscape(HWND target) {
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ui::processPendingMessages();
  pump();
}

TEST_F(BarTest, EscAloneClosesTheBarFromTheWindowOrAControl) {
  bar().window.show();
  testing_support::setModifiers(false, true, false);
  postEscape(bar().conditionLabel->hwnd());
  EXPECT_TRUE(IsWindow(barWindow())) << "Shift+Esc does not close";
  testing_support::setModifiers(true, false, false);
  postEscape(barWindow());
  EXPECT_TRUE(IsWindow(barWindow())) << "Ctrl+Esc does not close";

  testing_support::setModifiers(false, false, false);
  const HWND w = barWindow();
  postEscape(bar().conditionLabel->hwnd());
  EXPECT_FALSE(IsWindow(w)) << "Esc closes";
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the last window gone ends the loop";
  EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(BarTest, EscGoesNoFurtherThanTheCloseRequest) {
  bar().window.show();
  testing_support::setModifiers(false, false, false);
  MessageRecorder onBar(barWindow(), {WM_CLOSE});
  postEscape(barWindow());
  EXPECT_EQ(onBar.count(WM_CLOSE), 1);
  EXPECT_EQ(onBar.count(WM_KEYDOWN), 0) << "the key itself is not delivered";
}

}  // namespace
