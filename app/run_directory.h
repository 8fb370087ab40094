// The run directory: the folder holding the executable, without a trailing
// backslash ("C:" for a program in the root of a drive).
#pragma once
#include <string>
#include <string_view>

namespace app {

std::string runDirectoryOf(std::string_view modulePath);

}  // namespace app
