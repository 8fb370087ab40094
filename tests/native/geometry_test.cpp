#include "launcher/geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(IconPlace, IconsAreThirtyFivePixelsApartInOneRow) {
  const int lefts[] = {2, 37, 72, 107, 142, 177, 212, 247, 282, 317, 352, 387, 422, 457, 492, 527};
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(launcher::iconPlace(n), (launcher::IconPlace{lefts[n - 1], 3})) << n;
  }
}

}  // namespace
