// Pictures as picture boxes receive them: bytes of a PNG or of a 32/24-bit
// BMP, decoded into straight (not premultiplied) 0xAARRGGBB pixels, top row
// first. Decoding needs no window, so it is built and tested on every platform.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ui {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, 0xAARRGGBB
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Largest picture we agree to decode; a 39 x 23 box needs nothing near it.
inline constexpr int kMaxPictureSide = 4096;

// Empty input, unknown formats, corrupt data and oversized pictures give nothing.
std::optional<Picture> decodePicture(std::span<const std::uint8_t> bytes);

// The picture laid over an opaque background colour (0xRRGGBB): what a box
// with that background shows.
Picture flattenOnto(const Picture& picture, std::uint32_t backgroundRgb);

// An uncompressed 32-bit BMP file of the picture, which decodePicture reads back.
std::vector<std::uint8_t> encodeBmp(const Picture& picture);

}  // namespace ui
