#pragma once
#include <string>

namespace app {

// The entry routine: returns the process exit code (0, or -1 after a fatal error).
int runBar();

// The folder that holds the executable, fixed at start-up.
const std::string& runDirectory();

}  // namespace app
