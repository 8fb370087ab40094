// The bar on a composited screen, as a user sees it: every pixel on the
// screen is the bar's own pixel blended with the desktop beneath at 190/255.
// Run by ctest on a screen of its own with a background picture and a
// compositing manager (BAR_DESKTOP, see scripts/desktop).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/shared_state.h"
#include "app/startup.h"
#include "launcher/icon_slots.h"
#include "support.h"
#include "weather/banner.h"

namespace {

using testing_support::rgbAt;

int channel(unsigned rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

unsigned blend(unsigned own, unsigned beneath, int alpha) {
  unsigned out = 0;
  for (int shift : {0, 8, 16}) {
    const int v = (channel(own, shift) * alpha + channel(beneath, shift) * (255 - alpha) + 127) / 255;
    out |= static_cast<unsigned>(v) << shift;
  }
  return out;
}

int distance(unsigned a, unsigned b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(channel(a, shift) - channel(b, shift)));
  return worst;
}

// The opacity a user sees, written out: not read from the program.
constexpr int kAlpha = 190;

int brightness(unsigned rgb) { return (channel(rgb, 0) + channel(rgb, 8) + channel(rgb, 16)) / 3; }

bool inside(HWND child, HWND parent, int x, int y) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST(Composited, EveryPixelOfTheBarIsItsOwnBlendedWithTheDesktopAt190) {
  if (!std::getenv("BAR_DESKTOP")) GTEST_SKIP() << "run by ctest on a composited screen of its own";
  DeleteFileA(testing_support::listFilePath().c_str());
  DeleteFileA((testing_support::dataDirectory() + "\\tianq.txt").c_str());

  app::initSharedState();
  ASSERT_TRUE(app::createMainWindow());
  app::Bar& bar = app::bar();
  const HWND hwnd = bar.window.hwnd();
  app::onWindowCreated();
  bar.conditionLabel->setCaption("\xB6\xE0\xD4\xC6");  // 多云
  bar.dateLabel->setCaption("12\xD4\xC2" "11\xC8\xD5 \xD7\xEE\xB8\xDF 6\xA1\xE6");  // 12月11日 最高 6℃
  weather::showConditionPicture();
  launcher::createIconSlot(1, testing_support::helperWithIcon(), false);
  launcher::createIconSlot(2, testing_support::helperWithoutIcon(), false);
  launcher::createIconSlot(3, testing_support::helperWithIcon(), false);
  bar.window.show();
  testing_support::pumpUntil([&] { return bar.window.top() != 2; }, 3000);
  testing_support::pump(800);  // drawn, and composited

  RECT r{};
  GetWindowRect(hwnd, &r);
  const ui::Picture own = testing_support::printWindow(hwnd);
  const ui::Picture seen = testing_support::grabScreen(r);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, shape), ERROR);
  ShowWindow(hwnd, SW_HIDE);
  testing_support::pump(800);
  const ui::Picture beneath = testing_support::grabScreen(r);
  ASSERT_EQ(seen.width, 424);
  ASSERT_EQ(own.width, seen.width);

  // What the fixture must show for the comparison to mean anything: dark and
  // light desktop under the bar, icons, and the labels' black text.
  struct Kind {
    explicit Kind(const char* n) : name(n) {}
    const char* name;
    int checked = 0;
    int wrong = 0;
    std::string first;
  };
  Kind white{"white background"}, icon{"icon"}, text{"label text"}, other{"other"};
  int darkBeneath = 0, lightBeneath = 0, whiteOverDarkLightened = 0, whiteOverDark = 0;
  const HWND icon1 = app::state().iconSlots[0]->hwnd();
  for (int y = 0; y < own.height; ++y) {
    for (int x = 0; x < own.width; ++x) {
      // The condition picture is left out: there the screen differs from
      // PrintWindow by a few levels even on a plain screen (its smoothed
      // edges, and the rows 日期标签 covers), so it would test the painting,
      // not the blend.
      if (!PtInRegion(shape, x, y) || inside(bar.conditionPicture->hwnd(), hwnd, x, y)) continue;
      const unsigned o = rgbAt(own, x, y), s = rgbAt(seen, x, y), b = rgbAt(beneath, x, y);
      darkBeneath += brightness(b) < 80;
      lightBeneath += brightness(b) > 180;
      Kind* kind = &other;
      if (o == 0xFFFFFFu) {
        kind = &white;
        if (brightness(b) < 80) {
          ++whiteOverDark;
          whiteOverDarkLightened += brightness(s) > brightness(b) + 100;
        }
      } else if (inside(icon1, hwnd, x, y) || inside(app::state().iconSlots[2]->hwnd(), hwnd, x, y)) {
        kind = &icon;
      } else if ((inside(bar.conditionLabel->hwnd(), hwnd, x, y) || inside(bar.dateLabel->hwnd(), hwnd, x, y)) &&
                 brightness(o) < 60) {
        kind = &text;
      }
      ++kind->checked;
      if (distance(s, blend(o, b, kAlpha)) > 3 && kind->wrong++ == 0) {
        char where[160];
        std::snprintf(where, sizeof where, "at %d,%d: screen %06X, bar %06X, beneath %06X, blend %06X", x, y, s, o, b,
                      blend(o, b, kAlpha));
        kind->first = where;
      }
    }
  }
  DeleteObject(shape);
  EXPECT_GT(darkBeneath, 1000);
  EXPECT_GT(lightBeneath, 1000);
  EXPECT_GT(whiteOverDark, 1000);
  EXPECT_EQ(whiteOverDarkLightened, whiteOverDark) << "white is not keyed out: it lightens a dark desktop";
  for (const Kind* k : {&white, &icon, &text, &other}) {
    EXPECT_EQ(k->wrong, 0) << k->name << ", first " << k->first;
  }
  EXPECT_GT(white.checked, 5000);
  EXPECT_GT(icon.checked, 500) << "two icons drawn";
  EXPECT_GT(text.checked, 40) << "black text of both labels";

  app::destroyMainWindow();
  app::releaseSharedState();
}

}  // namespace
