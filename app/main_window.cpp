#include "app/main_window.h"

#include <memory>

#include "app/settings_menu.h"
#include "app/startup.h"
#include "launcher/drop.h"
#include "launcher/icon_events.h"
#include "ui/placement.h"

namespace app {
namespace {
std::unique_ptr<Bar> theBar;
}  // namespace

Bar::~Bar() {
  // OLE holds the target while it is registered.
  if (dropTarget) dropTarget->revoke();
}

Bar& bar() { return *theBar; }
bool barExists() { return theBar != nullptr; }

void applyRoundShape(ui::MainWindow& window) {
  const int w = window.width();
  const int h = window.height();
  const int c = ui::cornerEllipse(w, h);
  // The region leaves out its right and bottom edge: one more keeps the
  // last column and row of the bar visible.
  HRGN shape = CreateRoundRectRgn(0, 0, w + 1, h + 1, c, c);
  // The window owns the region from here on.
  if (shape && !SetWindowRgn(window.hwnd(), shape, TRUE)) DeleteObject(shape);
}

bool createMainWindow() {
  auto made = std::make_unique<Bar>();
  ui::MainWindow& window = made->window;
  ui::MainWindowSettings settings;
  settings.left = kBarLoadLeft;
  settings.top = kBarLoadTop;
  settings.width = kBarWidth;
  settings.height = kBarHeight;
  settings.background = RGB(255, 255, 255);
  settings.escCloses = true;
  settings.dragByBody = true;
  if (!window.create(settings)) return false;
  SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  applyRoundShape(window);
  window.onSizeChanged = [&window] { applyRoundShape(window); };

  // Top of the stacking order first.
  ui::LabelStyle dateStyle;  // the platform's default GUI font
  dateStyle.align = ui::HorizontalAlign::Left;
  made->dateLabel = &window.addLabel(kDateLabelName, {289, 21, 128, 16}, dateStyle, true);
  made->conditionPicture =
      &window.addPictureBox(kConditionPictureName, {336, 0, 39, 23}, ui::PictureMode::Stretch, true);
  ui::LabelStyle conditionStyle;
  conditionStyle.face = kConditionFontFace;
  conditionStyle.height = 14;
  conditionStyle.align = ui::HorizontalAlign::Centre;
  conditionStyle.whiteUnderCopy = true;
  made->conditionLabel = &window.addLabel(kConditionLabelName, {369, 4, 64, 19}, conditionStyle, true);
  made->iconTemplate =
      &window.addPictureBox(kIconTemplateName, {1, 3, 32, 32}, ui::PictureMode::Centre, false);

  made->menu = makeSettingsMenu();
  made->dropTarget = std::make_unique<ui::FileDropTarget>(launcher::addDroppedProgram);
  window.onDestroying = [target = made->dropTarget.get()] { target->revoke(); };
  window.onMenuCommand = [](UINT command) { ui::runMenuCommand(settingsItems(), command); };
  window.onRightButtonDown = [](const ui::MouseEvent&) { showSettingsMenu(); };
  auto settingsOnRightButton = [](ui::Control&, const ui::MouseEvent&) { showSettingsMenu(); };
  for (ui::Control* control : {static_cast<ui::Control*>(made->conditionPicture),
                               static_cast<ui::Control*>(made->conditionLabel),
                               static_cast<ui::Control*>(made->dateLabel)}) {
    control->handlers->rightButtonDown = settingsOnRightButton;
  }
  ui::ControlHandlers& icons = *made->iconTemplate->handlers;  // shared by every copy
  icons.mouseMoved = launcher::highlightHoveredIcon;
  icons.doubleClicked = launcher::launchIconProgram;
  icons.rightButtonDown = launcher::ignoreIconRightButton;
  window.onFirstActivated = [] { onFirstActivated(); };
  theBar = std::move(made);
  return true;
}

bool loadMainWindow() {
  if (!createMainWindow()) return false;
  onWindowCreated();
  bar().window.show();
  return true;
}

void destroyMainWindow() { theBar.reset(); }

}  // namespace app
