#include "ui/placement.h"

#include <gtest/gtest.h>

namespace {

using ui::PictureMode;
using ui::Rect;

struct PlacementCase {
  PictureMode mode;
  int boxW, boxH, picW, picH;
  Rect expected;
};

TEST(PicturePlacement, StretchFillsTheBoxAndCentreKeepsOrShrinks) {
  const PlacementCase cases[] = {
      {PictureMode::Stretch, 39, 23, 34, 35, {0, 0, 39, 23}},
      {PictureMode::Stretch, 39, 23, 55, 30, {0, 0, 39, 23}},
      {PictureMode::Centre, 32, 32, 32, 32, {0, 0, 32, 32}},
      {PictureMode::Centre, 32, 32, 16, 16, {8, 8, 16, 16}},
      {PictureMode::Centre, 32, 32, 15, 20, {8, 6, 15, 20}},   // free space 17 and 12, halved down
      {PictureMode::Centre, 32, 32, 64, 16, {0, 12, 32, 8}},   // one factor, 0.5, for both sides
      {PictureMode::Centre, 32, 32, 33, 10, {0, 11, 32, 9}},   // 10 * 32/33 = 9.69 -> 9
      {PictureMode::Centre, 32, 32, 48, 96, {8, 0, 16, 32}},
      {PictureMode::Centre, 30, 30, 32, 32, {0, 0, 30, 30}},   // inside a 1-pixel frame
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::placePicture(c.mode, c.boxW, c.boxH, c.picW, c.picH), c.expected)
        << c.boxW << "x" << c.boxH << " box, " << c.picW << "x" << c.picH << " picture";
  }
}

TEST(CornerEllipse, IsAFifthOfTheShorterSide) {
  EXPECT_EQ(ui::cornerEllipse(424, 37), 7);
  EXPECT_EQ(ui::cornerEllipse(704, 37), 7);
  EXPECT_EQ(ui::cornerEllipse(24, 100), 4);
  EXPECT_EQ(ui::cornerEllipse(4, 4), 0);
}

}  // namespace
