#include "app/startup.h"

namespace app {

void onWindowCreated() {}

void onFirstActivated() {}

}  // namespace app
