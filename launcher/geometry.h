// Where launcher icons go and how wide the bar gets: no window needed.
#pragma once

namespace launcher {

inline constexpr int kMaxEntries = 16;
inline constexpr int kEntriesBeforeWidening = 8;
inline constexpr int kWideningStep = 35;

struct IconPlace {
  int left = 0;
  int top = 0;
  bool operator==(const IconPlace&) const = default;
};

// Entry n (from 1) sits in column (n - 1) mod 16 of row (n - 1) div 16.
constexpr IconPlace iconPlace(int n) {
  const int column = (n - 1) % 16;
  const int row = (n - 1) / 16;
  return {33 * column + 2 * column + 2, 24 * row + 2 * row + 3};
}

}  // namespace launcher
