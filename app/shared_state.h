// The state the launcher and the weather banner keep between events. It is
// created before the main window exists and released once after the message
// loop has ended; every handler reads and writes it directly.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/unique.h"

namespace app {

inline constexpr int kIconSlotCount = 100;

struct SharedState {
  std::vector<std::int32_t> iconNumbers;   // entry numbers of the icons made, in order
  std::vector<ui::PictureBox*> iconSlots;  // index n - 1: icon of entry n; null until made
  std::int32_t positionLocked = 0;         // 0 unlocked, 1 locked
  std::int32_t iconCount = 0;              // number of the entry being placed
  ui::UniqueImageList iconImages;          // absent until the window is created
  std::int32_t nextImageIndex = 0;         // pictures in iconImages
  std::string weatherPage;
  std::string weatherDate;
  std::string highTemperature;
};

SharedState& state();

void initSharedState();
// The exit routine.
void releaseSharedState();

}  // namespace app
