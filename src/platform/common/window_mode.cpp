// The window mode asked for on the command line. The window code reads ZORVANE_WINDOWED when it
// opens the window, so the choice is handed over through that variable and the command line
// wins over whatever the environment said.
#include <cstdlib>

#include "platform/platform.h"

void platform_set_windowed(int32_t windowed) {
  if (windowed > 0)
    setenv("ZORVANE_WINDOWED", "1", 1);
  else if (windowed == 0)
    unsetenv("ZORVANE_WINDOWED");
}
