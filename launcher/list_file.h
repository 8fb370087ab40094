// The launcher list file, data\quvo.ini: section "cumulative", key "value"
// with the entry count and keys "1".."16" with program paths. Every access
// goes to the file; nothing of it is kept in memory.
#pragma once
#include <string>

namespace launcher {

inline constexpr char kListSection[] = "cumulative";
inline constexpr char kCountKey[] = "value";

std::string listFilePath();
int readEntryCount();
std::string readEntryPath(int n);
// Writes "value" = n, then key n = path: two writes, in this order.
void appendEntry(int n, const std::string& path);

}  // namespace launcher
