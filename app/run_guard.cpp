#include "app/run_guard.h"

#include <windows.h>

#include <string>

#include "app/run_directory.h"
#include "ui/main_window.h"

namespace app {
namespace {

constexpr DWORD kLongestPath = 32768;

// The folder of an executable in one spelling for all: full, long form,
// upper case. Wide, so a folder reads the same whatever the ANSI code page.
std::u16string canonicalFolderOf(std::wstring module) {
  const std::size_t slash = module.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  module.resize(slash + 1);  // the trailing backslash keeps "C:\" the root
  std::wstring full(kLongestPath, L'\0');
  const DWORD n = GetFullPathNameW(module.c_str(), kLongestPath, full.data(), nullptr);
  if (n == 0 || n >= kLongestPath) return {};
  full.resize(n);
  std::wstring folder(kLongestPath, L'\0');
  const DWORD m = GetLongPathNameW(full.c_str(), folder.data(), kLongestPath);
  if (m > 0 && m < kLongestPath) folder.resize(m);
  else folder = full;
  CharUpperBuffW(folder.data(), static_cast<DWORD>(folder.size()));
  return std::u16string(folder.begin(), folder.end());
}

// The executable of `process`, or of this one when it is null.
std::wstring modulePathOf(HANDLE process) {
  std::wstring path(kLongestPath, L'\0');
  DWORD length = kLongestPath;
  if (process == nullptr) {
    length = GetModuleFileNameW(nullptr, path.data(), kLongestPath);
    if (length == 0 || length >= kLongestPath) return {};
  } else if (!QueryFullProcessImageNameW(process, 0, path.data(), &length)) {
    return {};
  }
  path.resize(length);
  return path;
}

std::u16string ownFolder() { return canonicalFolderOf(modulePathOf(nullptr)); }

}  // namespace

bool claimRunDirectory(ui::UniqueHandle& claim) {
  const std::string name = runDirectoryGuardName(ownFolder());
  SetLastError(ERROR_SUCCESS);
  claim.reset(CreateMutexA(nullptr, FALSE, name.c_str()));
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || (!claim && error == ERROR_ACCESS_DENIED)) {
    claim.reset();
    return false;
  }
  return true;
}

void bringRunningBarForward() {
  struct Search {
    std::u16string folder;
    HWND found = nullptr;
  } search{ownFolder()};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        if (lstrcmpW(cls, ui::kMainWindowClass) != 0 || !IsWindowVisible(h)) return TRUE;
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId()) return TRUE;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (!process) return TRUE;
        const std::wstring module = modulePathOf(process);
        CloseHandle(process);
        if (canonicalFolderOf(module) == s->folder) s->found = h;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.found) SetForegroundWindow(search.found);
}

}  // namespace app
