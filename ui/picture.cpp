#include "ui/picture.h"

#include <png.h>

#include <cstring>

namespace ui {
namespace {

std::optional<Picture> decodePng(std::span<const std::uint8_t> bytes) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  if (image.width == 0 || image.height == 0 || image.width > kMaxPictureSide ||
      image.height > kMaxPictureSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  // BGRA in memory is 0xAARRGGBB as a little-endian 32-bit word.
  image.format = PNG_FORMAT_BGRA;
  Picture picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return picture;
}

std::uint32_t readLe(std::span<const std::uint8_t> b, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

std::optional<Picture> decodeBmp(std::span<const std::uint8_t> b) {
  constexpr std::size_t kFileHeader = 14;
  if (b.size() < kFileHeader + 40) return std::nullopt;
  const std::uint32_t dataOffset = readLe(b, 10, 4);
  const std::uint32_t infoSize = readLe(b, 14, 4);
  const auto width = static_cast<std::int32_t>(readLe(b, 18, 4));
  const auto rawHeight = static_cast<std::int32_t>(readLe(b, 22, 4));
  const std::uint32_t bitCount = readLe(b, 28, 2);
  const std::uint32_t compression = readLe(b, 30, 4);
  constexpr std::uint32_t kRgb = 0, kBitfields = 3;
  if (infoSize < 40 || (bitCount != 32 && bitCount != 24)) return std::nullopt;
  if (compression != kRgb && !(compression == kBitfields && bitCount == 32)) return std::nullopt;
  const bool topDown = rawHeight < 0;
  const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
  const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
  if (dataOffset > b.size() || (b.size() - dataOffset) / stride < static_cast<std::size_t>(height)) {
    return std::nullopt;
  }
  Picture picture;
  picture.width = width;
  picture.height = static_cast<int>(height);
  picture.pixels.resize(static_cast<std::size_t>(width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const std::size_t row = dataOffset + stride * static_cast<std::size_t>(topDown ? y : picture.height - 1 - y);
    for (int x = 0; x < width; ++x) {
      std::uint32_t px;
      if (bitCount == 32) {
        px = readLe(b, row + 4 * static_cast<std::size_t>(x), 4);
      } else {
        px = 0xFF000000u | readLe(b, row + 3 * static_cast<std::size_t>(x), 3);
      }
      picture.pixels[static_cast<std::size_t>(y) * width + x] = px;
    }
  }
  // The fourth byte of a 32-bit BMP is often left zero: then it is no alpha.
  bool anyAlpha = false;
  for (std::uint32_t px : picture.pixels) anyAlpha |= (px >> 24) != 0;
  if (!anyAlpha) {
    for (std::uint32_t& px : picture.pixels) px |= 0xFF000000u;
  }
  return picture;
}

}  // namespace

std::optional<Picture> decodePicture(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0) return decodePng(bytes);
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return decodeBmp(bytes);
  return std::nullopt;
}

Picture flattenOnto(const Picture& picture, std::uint32_t backgroundRgb) {
  Picture out = picture;
  for (std::uint32_t& px : out.pixels) {
    const std::uint32_t a = px >> 24;
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      const std::uint32_t fg = (px >> shift) & 0xFF;
      const std::uint32_t bg = (backgroundRgb >> shift) & 0xFF;
      result |= ((fg * a + bg * (255 - a) + 127) / 255) << shift;
    }
    px = result;
  }
  return out;
}

std::vector<std::uint8_t> encodeBmp(const Picture& picture) {
  const std::size_t pixelBytes = picture.pixels.size() * 4;
  std::vector<std::uint8_t> out(14 + 40 + pixelBytes, 0);
  auto put = [&out](std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put(2, static_cast<std::uint32_t>(out.size()), 4);
  put(10, 14 + 40, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(picture.width), 4);
  put(22, static_cast<std::uint32_t>(-picture.height), 4);  // top-down rows
  put(26, 1, 2);
  put(28, 32, 2);
  put(34, static_cast<std::uint32_t>(pixelBytes), 4);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) put(54 + 4 * i, picture.pixels[i], 4);
  return out;
}

}  // namespace ui
