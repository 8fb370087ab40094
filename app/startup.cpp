#include "app/startup.h"

#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "app/shared_state.h"
#include "launcher/icon_slots.h"
#include "weather/banner.h"

namespace app {
namespace {

int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void createIconImages() {
  ui::UniqueImageList fresh(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 1));
  SharedState& s = state();
  s.iconImages.reset();
  s.iconImages = std::move(fresh);
}

}  // namespace

void onWindowCreated() {
  ui::MainWindow& window = bar().window;
  const HWND hwnd = window.hwnd();
  // Results ignored: where layering is refused the bar stays opaque.
  SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd, RGB(255, 255, 255), 100, LWA_COLORKEY | LWA_ALPHA);
  // This one replaces the first: one uniform opacity, no colour keyed out.
  SetLayeredWindowAttributes(hwnd, 0, kBarOpacity, LWA_ALPHA);

  createIconImages();

  // Blocks until the page has come or the fetch has failed; the bar is hidden.
  weather::loadWeatherBanner();
  weather::showConditionPicture();

  // The top-centre place, where the hidden bar waits: left first, then top.
  window.setLeft(static_cast<int>(screenWidth() / 2.0 - 60));
  window.setTop(2);

  launcher::loadStoredEntries();

  bar().dropTarget->registerOn(hwnd);  // at most once; a refusal goes unreported
}

void onFirstActivated() {
  ui::MainWindow& window = bar().window;
  window.setLeft(screenWidth() - 1100);
  window.setTop(screenHeight() - 77);
}

void placeRightGroup() {
  Bar& b = bar();
  // Each width is read just before it is used.
  b.conditionPicture->setLeft(b.window.width() - b.conditionPicture->width() - 47);
  b.conditionLabel->setLeft(b.window.width() - b.conditionLabel->width() + 10);
  b.dateLabel->setLeft(b.window.width() - b.dateLabel->width() - 5);
}

}  // namespace app
