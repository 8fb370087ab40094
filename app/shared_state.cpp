#include "app/shared_state.h"

namespace app {

SharedState& state() {
  static SharedState shared;
  return shared;
}

void initSharedState() {
  SharedState& s = state();
  s.iconNumbers = {};
  s.iconSlots.assign(kIconSlotCount, nullptr);
}

void releaseSharedState() {
  SharedState& s = state();
  std::vector<std::int32_t>().swap(s.iconNumbers);
  std::vector<ui::PictureBox*>().swap(s.iconSlots);  // the controls died with the window
  s.iconImages.reset();
  std::string().swap(s.weatherPage);
  std::string().swap(s.weatherDate);
  std::string().swap(s.highTemperature);
}

}  // namespace app
