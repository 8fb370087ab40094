#include <windows.h>

#include <gtest/gtest.h>

#include "bar_fixture.h"
#include "support.h"
#include "ui/message_loop.h"

namespace {

using testing_support::printWindow;
using testing_support::rgbAt;

// A BMP of one colour (0xRRGGBB), the form picture boxes take icon pictures in.
std::vector<std::uint8_t> solid(int w, int h, std::uint32_t rgb) {
  ui::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.assign(static_cast<std::size_t>(w) * h, 0xFF000000u | rgb);
  return ui::encodeBmp(p);
}

constexpr unsigned kWhite = 0xFFFFFF;

TEST_F(BarTest, StretchedPictureFillsTheWholeBox) {
  ui::Picture halves;  // left half red, right half blue
  halves.width = 2;
  halves.height = 1;
  halves.pixels = {0xFFFF0000u, 0xFF0000FFu};
  ASSERT_TRUE(bar().conditionPicture->setPicture(ui::encodeBmp(halves)));
  const ui::Picture shot = printWindow(bar().conditionPicture->hwnd());
  ASSERT_EQ(shot.width, 39);
  ASSERT_EQ(shot.height, 23);
  // Smoothing may blend the middle; each side keeps its colour and no
  // background shows anywhere.
  auto red = [](unsigned px) { return px >> 16; };
  auto blue = [](unsigned px) { return px & 0xFF; };
  for (int y : {0, 11, 22}) {
    EXPECT_GT(red(rgbAt(shot, 1, y)), blue(rgbAt(shot, 1, y)) + 100) << y;
    EXPECT_GT(blue(rgbAt(shot, 37, y)), red(rgbAt(shot, 37, y)) + 100) << y;
  }
  int background = 0;
  for (std::uint32_t px : shot.pixels) background += (px & 0xFFFFFF) == kWhite || (px & 0xFFFFFF) == 0xFF00FF;
  EXPECT_EQ(background, 0);
}

TEST_F(BarTest, CentredPictureKeepsItsSizeOrShrinksWithItsProportions) {
  ui::PictureBox& box = *bar().iconTemplate;
  box.setVisible(true);
  const struct {
    int w, h;
    ui::Rect drawn;  // where the picture must land in the 32 x 32 box
  } cases[] = {
      {16, 16, {8, 8, 16, 16}},
      {15, 20, {8, 6, 15, 20}},
      {64, 16, {0, 12, 32, 8}},
      {32, 32, {0, 0, 32, 32}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(box.setPicture(solid(c.w, c.h, 0x00FF00)));
    const ui::Picture shot = printWindow(box.hwnd());
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const bool in = x >= c.drawn.left && x < c.drawn.left + c.drawn.width && y >= c.drawn.top &&
                        y < c.drawn.top + c.drawn.height;
        const unsigned px = rgbAt(shot, x, y);
        if (in) inside += px == 0x00FF00u;
        else outside += px == kWhite;
      }
    }
    EXPECT_EQ(inside, c.drawn.width * c.drawn.height) << c.w << "x" << c.h;
    EXPECT_EQ(outside, 32 * 32 - c.drawn.width * c.drawn.height) << c.w << "x" << c.h;
  }
  box.clearPicture();
  const ui::Picture empty = printWindow(box.hwnd());
  EXPECT_EQ(rgbAt(empty, 16, 16), kWhite) << "no picture shows the white background";
}

TEST_F(BarTest, BytesThatAreNoPictureLeaveTheBoxWhite) {
  ui::PictureBox& box = *bar().conditionPicture;
  ASSERT_TRUE(box.setPicture(solid(4, 4, 0x123456)));
  const std::uint8_t junk[] = "\x89PNG\r\n\x1a\n but nothing after";
  EXPECT_FALSE(box.setPicture(junk));
  EXPECT_FALSE(box.hasPicture());
  EXPECT_EQ(rgbAt(printWindow(box.hwnd()), 20, 11), kWhite);
}

TEST_F(BarTest, BorderStyleFiveFramesTheBoxAndZeroRemovesIt) {
  ui::PictureBox& box = *bar().iconTemplate;
  box.setBorderStyle(5);
  EXPECT_TRUE(GetWindowLongW(box.hwnd(), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(box.width(), 32) << "the outer size stays";
  RECT client{};
  GetClientRect(box.hwnd(), &client);
  EXPECT_EQ(client.right, 30);
  box.setBorderStyle(0);
  EXPECT_FALSE(GetWindowLongW(box.hwnd(), GWL_STYLE) & WS_BORDER);
  GetClientRect(box.hwnd(), &client);
  EXPECT_EQ(client.right, 32);
  box.setBorderStyle(9);
  EXPECT_EQ(box.borderStyle(), 0) << "out-of-range styles are ignored";
}

// The label's own marks on a grey ground: black text, and for the condition
// label a white copy one pixel up and left of it.
struct Marks {
  std::vector<POINT> black, white;
};

Marks marksOf(const ui::Label& label) {
  RECT r{};
  GetClientRect(label.hwnd(), &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  FillRect(dc, &r, grey);
  DeleteObject(grey);
  label.paintContent(dc);
  GdiFlush();
  Marks marks;
  const auto* px = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < r.bottom; ++y) {
    for (int x = 0; x < r.right; ++x) {
      const std::uint32_t c = px[y * r.right + x] & 0xFFFFFF;
      if (c == 0x000000) marks.black.push_back({x, y});
      if (c == 0xFFFFFF) marks.white.push_back({x, y});
    }
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return marks;
}

TEST_F(BarTest, ConditionLabelDrawsAWhiteUnderCopyDateLabelDoesNot) {
  bar().conditionLabel->setCaption("\xC7\xE7");  // 晴
  bar().dateLabel->setCaption("12\xD4\xC2" "11\xC8\xD5");  // 12月11日
  const Marks condition = marksOf(*bar().conditionLabel);
  ASSERT_FALSE(condition.black.empty());
  ASSERT_FALSE(condition.white.empty());
  auto minXY = [](const std::vector<POINT>& points) {
    POINT m{INT_MAX, INT_MAX};
    for (POINT p : points) {
      m.x = std::min(m.x, p.x);
      m.y = std::min(m.y, p.y);
    }
    return m;
  };
  const POINT b = minXY(condition.black);
  const POINT w = minXY(condition.white);
  EXPECT_EQ(b.x - w.x, 1) << "black text one pixel right of the white copy";
  EXPECT_EQ(b.y - w.y, 1) << "and one pixel below it";

  const Marks date = marksOf(*bar().dateLabel);
  EXPECT_FALSE(date.black.empty());
  EXPECT_TRUE(date.white.empty());

  bar().conditionLabel->setCaption("");
  const Marks none = marksOf(*bar().conditionLabel);
  EXPECT_TRUE(none.black.empty() && none.white.empty()) << "an empty caption draws nothing";
}

TEST_F(BarTest, LabelsShowWhatLiesUnderThem) {
  // 日期标签 lies over the bottom two rows of 图片框1, from its column 47 on.
  ASSERT_TRUE(bar().conditionPicture->setPicture(solid(4, 4, 0xFF0000)));
  const ui::Picture shot = printWindow(bar().dateLabel->hwnd());
  EXPECT_EQ(rgbAt(shot, 47, 0), 0xFF0000u);
  EXPECT_EQ(rgbAt(shot, 85, 1), 0xFF0000u);
  EXPECT_EQ(rgbAt(shot, 46, 0), kWhite) << "left of the picture box: the bar's background";
  EXPECT_EQ(rgbAt(shot, 60, 2), kWhite) << "below the picture box";
  EXPECT_EQ(rgbAt(shot, 86, 0), kWhite);
}

TEST_F(BarTest, ConditionFontIsFourteenPixelsNormalWeight) {
  LOGFONTW lf{};
  GetObjectW(bar().conditionLabel->font(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -14);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
  EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
  EXPECT_NE(lf.lfFaceName[0], L'\0') << "a face that can draw Chinese was found";
}

TEST_F(BarTest, ACopySharesTheTemplatesHandlersAndKnowsWhichCopyFired) {
  ui::PictureBox& tmpl = *bar().iconTemplate;
  std::vector<ui::Control*> fired;
  tmpl.handlers->mouseMoved = [&fired](ui::Control& source, const ui::MouseEvent&) { fired.push_back(&source); };
  ui::PictureBox& a = tmpl.copy();
  ui::PictureBox& b = tmpl.copy();
  EXPECT_NE(a.hwnd(), b.hwnd());
  EXPECT_NE(a.hwnd(), tmpl.hwnd());
  EXPECT_EQ(GetParent(a.hwnd()), barWindow());
  EXPECT_FALSE(a.visible()) << "copies start as the template is: hidden";
  EXPECT_EQ(a.left(), 1);
  EXPECT_EQ(a.top(), 3);
  EXPECT_EQ(a.width(), 32);
  EXPECT_EQ(a.height(), 32);
  EXPECT_EQ(a.mode(), ui::PictureMode::Centre);
  EXPECT_TRUE(a.tag().empty());

  b.setVisible(true);
  b.moveTo(37, 3);
  b.setTag("2");
  SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  SendMessageW(a.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  ASSERT_EQ(fired.size(), 2u);
  EXPECT_EQ(fired[0], &b);
  EXPECT_EQ(fired[1], &a);
  EXPECT_EQ(b.left(), 37);
  EXPECT_TRUE(tmpl.tag().empty()) << "the template keeps its own tag";
  EXPECT_FALSE(tmpl.visible());
}

TEST_F(BarTest, PendingMessagesAreHandledAndAQuitIsKeptForTheLoop) {
  int moves = 0;
  bar().conditionPicture->handlers->mouseMoved = [&moves](ui::Control&, const ui::MouseEvent&) { ++moves; };
  PostMessageW(bar().conditionPicture->hwnd(), WM_MOUSEMOVE, 0, 0);
  PostMessageW(bar().conditionPicture->hwnd(), WM_MOUSEMOVE, 0, 0);
  ui::processPendingMessages();
  EXPECT_EQ(moves, 2);
  PostQuitMessage(7);
  ui::processPendingMessages();
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
