#include "launcher/icon_images.h"

#include <windows.h>
#include <shellapi.h>

#include "ui/picture.h"
#include "ui/unique.h"

namespace launcher {

bool addFileIcon(HIMAGELIST images, const std::string& path) {
  if (!images) return false;
  HICON raw = ExtractIconA(GetModuleHandleW(nullptr), path.c_str(), 0);
  // 1 means the file is no executable, library or icon file.
  if (raw == nullptr || raw == reinterpret_cast<HICON>(1)) return false;
  ui::UniqueIcon icon(raw);
  return ImageList_AddIcon(images, icon.get()) >= 0;  // scaled to 32 x 32 by the list
}

std::vector<std::uint8_t> pictureAt(HIMAGELIST images, int k) {
  if (!images || k < 0 || k >= ImageList_GetImageCount(images)) return {};
  constexpr int kSide = 32;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::WindowDc screen(nullptr);
  ui::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ui::MemoryDc dc(screen.get());
  if (!bitmap || !dc.get()) return {};
  {
    ui::SelectGuard select(dc.get(), bitmap.get());
    RECT all{0, 0, kSide, kSide};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // Through the mask, so the icon's transparent parts stay white.
    ImageList_Draw(images, k, dc.get(), 0, 0, ILD_NORMAL);
    GdiFlush();
  }
  ui::Picture picture;
  picture.width = kSide;
  picture.height = kSide;
  const auto* px = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(px, px + kSide * kSide);
  for (std::uint32_t& p : picture.pixels) p |= 0xFF000000u;  // opaque on white
  return ui::encodeBmp(picture);
}

}  // namespace launcher
