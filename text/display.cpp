#include "text/display.h"

#include <windows.h>

namespace text {

namespace {

std::wstring toWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::wstring gbkToWide(std::string_view gbk) { return toWide(936, gbk); }

std::wstring ansiToWide(std::string_view ansi) { return toWide(CP_ACP, ansi); }

}  // namespace text
