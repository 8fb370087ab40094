#include "launcher/list_file.h"

#include <windows.h>

#include "app/profile.h"
#include "text/count.h"

namespace launcher {
namespace {

std::string readValue(const char* key, const char* fallback) {
  return app::readProfileString(listFilePath(), kListSection, key, fallback);
}

}  // namespace

std::string listFilePath() { return app::dataFilePath("quvo.ini"); }

int readEntryCount() { return text::parseLeadingInt(readValue(kCountKey, "0")); }

std::string readEntryPath(int n) { return readValue(std::to_string(n).c_str(), ""); }

void appendEntry(int n, const std::string& path) {
  const std::string file = listFilePath();
  const std::string key = std::to_string(n);
  WritePrivateProfileStringA(kListSection, kCountKey, key.c_str(), file.c_str());
  WritePrivateProfileStringA(kListSection, key.c_str(), path.c_str(), file.c_str());
}

}  // namespace launcher
