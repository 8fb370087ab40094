#include "launcher/version_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "launcher/program_name.h"
#include "text/display.h"

namespace launcher {
namespace {

std::wstring fileDescription(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};

  std::vector<Translation> listed;
  void* found = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) && found) {
    const auto* words = static_cast<const WORD*>(found);
    for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) listed.push_back({words[i], words[i + 1]});
  }
  for (const Translation& t : translationsToTry(listed, GetUserDefaultUILanguage())) {
    wchar_t key[64];
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription", t.language, t.codePage);
    if (!VerQueryValueW(block.data(), key, &found, &length) || !found || length == 0) continue;
    // The length counts characters and may or may not count the terminator.
    const auto* chars = static_cast<const wchar_t*>(found);
    std::wstring_view value(chars, length);
    value = value.substr(0, value.find(L'\0'));
    std::wstring description = trimmed(value);
    if (!description.empty()) return description;
  }
  return {};
}

}  // namespace

std::wstring programName(const std::string& path) {
  const std::wstring wide = text::ansiToWide(path);
  if (wide.empty()) return {};
  std::wstring description = fileDescription(wide);
  return description.empty() ? fileTitle(wide) : description;
}

}  // namespace launcher
