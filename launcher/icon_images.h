// The pictures of launcher icons: 32 x 32, 32-bit colour with a mask, one per
// icon whose program yielded one.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace launcher {

// Appends the first large icon of the file at `path`; false when it has none.
bool addFileIcon(HIMAGELIST images, const std::string& path);

// Picture k drawn on white, as bytes a picture box shows; empty when k is no
// index of the list.
std::vector<std::uint8_t> pictureAt(HIMAGELIST images, int k);

}  // namespace launcher
