// The bar: the program's one main window and its five controls.
#pragma once
#include <memory>
#include <vector>

#include "ui/controls.h"
#include "ui/drop_target.h"
#include "ui/main_window.h"
#include "ui/menu.h"

namespace app {

// Control names, GBK.
inline constexpr char kDateLabelName[] = "\xC8\xD5\xC6\xDA\xB1\xEA\xC7\xA9";         // 日期标签
inline constexpr char kConditionPictureName[] = "\xCD\xBC\xC6\xAC\xBF\xF2\x31";     // 图片框1
inline constexpr char kConditionLabelName[] = "\xCC\xEC\xC6\xF8\xD7\xB4\xBF\xF6";    // 天气状况
inline constexpr char kIconTemplateName[] = "\xB1\xBB\xB8\xB4\xD6\xC6";             // 被复制
inline constexpr char kConditionFontFace[] = "\xD0\xC2\xCB\xCE\xCC\xE5";            // 新宋体

inline constexpr int kBarWidth = 424;
inline constexpr int kBarHeight = 37;
inline constexpr int kBarLoadLeft = 50;
inline constexpr int kBarLoadTop = 50;

struct Bar {
  ui::MainWindow window;
  ui::Label* dateLabel = nullptr;             // 日期标签
  ui::PictureBox* conditionPicture = nullptr;  // 图片框1
  ui::Label* conditionLabel = nullptr;        // 天气状况
  ui::PictureBox* iconTemplate = nullptr;      // 被复制
  std::vector<ui::MenuItem> menu;             // the Settings menu
  std::unique_ptr<ui::FileDropTarget> dropTarget;  // 拖放对象
  ~Bar();
};

// The bar once created; only valid between createMainWindow and destroyMainWindow.
Bar& bar();
bool barExists();

// Creates the main window hidden, with its controls, its shape and its place
// above other windows. False when the platform refuses the window.
bool createMainWindow();
// Creates the main window, runs the window-created handler, then shows it.
bool loadMainWindow();
void destroyMainWindow();

// Sets the window's visible area to a rounded rectangle of its current size.
void applyRoundShape(ui::MainWindow& window);

}  // namespace app
