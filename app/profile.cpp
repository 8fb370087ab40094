#include "app/profile.h"

#include <windows.h>

#include <vector>

#include "app/entry.h"

namespace app {

std::string dataFilePath(const char* name) { return runDirectory() + "\\data\\" + name; }

std::string readProfileString(const std::string& file, const char* section, const char* key, const char* fallback) {
  std::vector<char> buffer(kProfileBufferSize, '\0');
  const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                                static_cast<DWORD>(buffer.size()), file.c_str());
  return std::string(buffer.data(), length);
}

}  // namespace app
