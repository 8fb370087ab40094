#pragma once
#include <string>

namespace launcher {

inline constexpr char kBarFullText[] = "\xB9\xA4\xBE\xDF\xCC\xF5\xD2\xD4\xD7\xB0\xC2\xFA\xA3\xA1";  // 工具条以装满！

// The file-received handler of the drop target: a single shortcut to a
// program adds that program's icon and stores it in the list file.
void addDroppedProgram(const std::string& dropped);

}  // namespace launcher
