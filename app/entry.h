#pragma once
#include <string>

namespace app {

// The entry routine: returns the process exit code (0, or -1 after a fatal error).
int runBar();

// The folder that holds the executable, fixed at start-up.
const std::string& runDirectory();
// Takes the run directory from the executable's path and makes it current.
void fixRunDirectory();

}  // namespace app
