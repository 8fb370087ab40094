#include "text/display.h"

#include <windows.h>

namespace text {

std::wstring gbkToWide(std::string_view gbk) {
  constexpr UINT kGbk = 936;
  if (gbk.empty()) return std::wstring();
  const int length = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), length);
  return wide;
}

}  // namespace text
