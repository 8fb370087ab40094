// Geometry of the toolkit that needs no window: where a picture goes inside a
// picture box, and how round the bar's corners are.
#pragma once

namespace ui {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

enum class PictureMode {
  Stretch,  // scaled to fill the box exactly
  Centre,   // natural size, centred; shrunk with its proportions when too big
};

// Where a picture of picW x picH is drawn inside a box of boxW x boxH.
Rect placePicture(PictureMode mode, int boxW, int boxH, int picW, int picH);

// Width and height of the ellipse that rounds the corners of a W x H window.
int cornerEllipse(int width, int height);

}  // namespace ui
