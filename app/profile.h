// Values of the INI files in the data folder, read through the platform's
// private-profile reader.
#pragma once
#include <string>

namespace app {

// Every value is read into a buffer of this size, so at most one byte less
// comes back.
inline constexpr unsigned kProfileBufferSize = 10240;

// The run directory followed by "\data\" and `name`.
std::string dataFilePath(const char* name);

std::string readProfileString(const std::string& file, const char* section, const char* key, const char* fallback);

}  // namespace app
