#include "ui/placement.h"

#include <algorithm>

namespace ui {

Rect placePicture(PictureMode mode, int boxW, int boxH, int picW, int picH) {
  if (mode == PictureMode::Stretch || picW <= 0 || picH <= 0) return {0, 0, boxW, boxH};
  int w = picW;
  int h = picH;
  if (picW > boxW || picH > boxH) {
    const double f = std::min(static_cast<double>(boxW) / picW, static_cast<double>(boxH) / picH);
    w = static_cast<int>(picW * f);
    h = static_cast<int>(picH * f);
  }
  return {(boxW - w) / 2, (boxH - h) / 2, w, h};
}

int cornerEllipse(int width, int height) { return std::min(width / 5, height / 5); }

}  // namespace ui
