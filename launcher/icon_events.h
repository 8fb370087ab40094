// What launcher icons do with the mouse. Bound to the template 被复制 and so
// shared by every icon; each learns which icon fired from its argument.
#pragma once
#include "ui/controls.h"

namespace launcher {

void launchIconProgram(ui::Control& icon, const ui::MouseEvent&);
void highlightHoveredIcon(ui::Control& icon, const ui::MouseEvent&);
// A right press on an icon opens no menu.
void ignoreIconRightButton(ui::Control& icon, const ui::MouseEvent&);

}  // namespace launcher
