#include "launcher/shortcut.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "launcher/dropped.h"
#include "ui/com.h"

namespace launcher {

std::string shortcutTarget(const std::string& fileName) {
  const std::string name = shortcutFileName(fileName);
  wchar_t wide[260] = {};
  // A name that does not fit the 260 units (terminator included) cannot be loaded.
  if (!MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide, 260)) return std::string();
  ui::ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.put())))) {
    return std::string();
  }
  ui::ComPtr<IPersistFile> file = link.as<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(wide, STGM_READ))) return std::string();
  char path[1024] = {};
  char arguments[1024] = {};
  link->GetPath(path, sizeof path, nullptr, SLGP_UNCPRIORITY);
  link->GetArguments(arguments, sizeof arguments);
  std::string target = path;
  if (arguments[0]) target += std::string(" ") + arguments;
  return target;
}

}  // namespace launcher
