// The run directory: the folder holding the executable, without a trailing
// backslash ("C:" for a program in the root of a drive).
#pragma once
#include <string>
#include <string_view>

namespace app {

std::string runDirectoryOf(std::string_view modulePath);

// The name of the kernel object that one running bar holds for its run
// directory, given that directory in one spelling for all (full, long form,
// upper case, UTF-16). A digest of the path keeps the name short however long
// the path is, and plain ASCII whatever characters it has.
std::string runDirectoryGuardName(std::u16string_view canonicalDirectory);

}  // namespace app
