#include "launcher/list_file.h"

#include <windows.h>

#include <vector>

#include "app/entry.h"
#include "text/count.h"

namespace launcher {
namespace {

std::string readValue(const char* key, const char* fallback) {
  std::vector<char> buffer(kProfileBufferSize, '\0');
  const std::string path = listFilePath();
  const DWORD length = GetPrivateProfileStringA(kListSection, key, fallback, buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path.c_str());
  return std::string(buffer.data(), length);
}

}  // namespace

std::string listFilePath() { return app::runDirectory() + "\\data\\quvo.ini"; }

int readEntryCount() { return text::parseLeadingInt(readValue(kCountKey, "0")); }

std::string readEntryPath(int n) { return readValue(std::to_string(n).c_str(), ""); }

void appendEntry(int n, const std::string& path) {
  const std::string file = listFilePath();
  const std::string key = std::to_string(n);
  WritePrivateProfileStringA(kListSection, kCountKey, key.c_str(), file.c_str());
  WritePrivateProfileStringA(kListSection, key.c_str(), path.c_str(), file.c_str());
}

}  // namespace launcher
