#include "ui/picture.h"

#include <png.h>

#include <cstring>

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> makePng(int width, int height, const std::vector<std::uint8_t>& pixels,
                                  png_uint_32 format) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
  std::vector<std::uint8_t> out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

TEST(DecodePicture, ReadsAnRgbPngAsOpaquePixelsTopRowFirst) {
  const std::vector<std::uint8_t> rgb = {255, 0, 0,   0, 255, 0,   0, 0, 255,
                                         10, 20, 30,  255, 255, 255, 0, 0, 0};
  const auto picture = ui::decodePicture(makePng(3, 2, rgb, PNG_FORMAT_RGB));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 3);
  EXPECT_EQ(picture->height, 2);
  EXPECT_EQ(picture->at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(picture->at(1, 0), 0xFF00FF00u);
  EXPECT_EQ(picture->at(2, 0), 0xFF0000FFu);
  EXPECT_EQ(picture->at(0, 1), 0xFF0A141Eu);
  EXPECT_EQ(picture->at(2, 1), 0xFF000000u);
}

TEST(DecodePicture, TransparentPartsShowTheBackgroundOnceFlattened) {
  const std::vector<std::uint8_t> rgba = {0, 0, 0, 0,   0, 0, 0, 255,   0, 0, 0, 128};
  const auto picture = ui::decodePicture(makePng(3, 1, rgba, PNG_FORMAT_RGBA));
  ASSERT_TRUE(picture);
  const ui::Picture flat = ui::flattenOnto(*picture, 0xFFFFFF);
  EXPECT_EQ(flat.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(flat.at(1, 0), 0xFF000000u);
  EXPECT_EQ(flat.at(2, 0), 0xFF7F7F7Fu);
}

TEST(DecodePicture, RefusesWhatIsNoPictureOrTooBig) {
  const std::vector<std::uint8_t> rgb(3 * 4 * 4, 200);
  std::vector<std::uint8_t> png = makePng(4, 4, rgb, PNG_FORMAT_RGB);

  EXPECT_FALSE(ui::decodePicture({}));
  const std::uint8_t text[] = "GIF89a not a picture we read";
  EXPECT_FALSE(ui::decodePicture(text));
  std::vector<std::uint8_t> truncated(png.begin(), png.begin() + static_cast<long>(png.size()) / 2);
  EXPECT_FALSE(ui::decodePicture(truncated));
  std::vector<std::uint8_t> corrupt = png;
  corrupt[40] ^= 0xFF;  // inside the compressed data
  EXPECT_FALSE(ui::decodePicture(corrupt));

  const std::vector<std::uint8_t> wide(3 * (ui::kMaxPictureSide + 1), 0);
  EXPECT_FALSE(ui::decodePicture(makePng(ui::kMaxPictureSide + 1, 1, wide, PNG_FORMAT_RGB)));
}

TEST(Bmp, RoundTripsAndReadsTheCommonForms) {
  ui::Picture p;
  p.width = 2;
  p.height = 2;
  p.pixels = {0xFF112233u, 0x80FFFFFFu, 0x00000000u, 0xFF010203u};
  const auto back = ui::decodePicture(ui::encodeBmp(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixels, p.pixels);

  // A classic bottom-up 24-bit BMP, rows padded to 4 bytes.
  std::vector<std::uint8_t> bmp(54 + 2 * 8, 0);
  auto put = [&bmp](std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bmp[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, 2, 4);
  put(22, 2, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(54, 0x0000FF, 3);       // bottom row: blue, then green (bytes are B, G, R)
  put(57, 0x00FF00, 3);
  put(62, 0xFF0000, 3);       // top row: red, then white
  put(65, 0xFFFFFF, 3);
  const auto classic = ui::decodePicture(bmp);
  ASSERT_TRUE(classic);
  EXPECT_EQ(classic->at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(classic->at(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(classic->at(0, 1), 0xFF0000FFu);
  EXPECT_EQ(classic->at(1, 1), 0xFF00FF00u);

  bmp.resize(bmp.size() - 4);  // last row cut short
  EXPECT_FALSE(ui::decodePicture(bmp));
}

TEST(Bmp, ThirtyTwoBitsWithoutAnyAlphaAreOpaque) {
  ui::Picture p;
  p.width = 1;
  p.height = 2;
  p.pixels = {0x00123456u, 0x00000000u};
  const auto back = ui::decodePicture(ui::encodeBmp(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->at(0, 0), 0xFF123456u);
  EXPECT_EQ(back->at(0, 1), 0xFF000000u);
}

}  // namespace
