// A page's swap returns at the browser's next animation frame (src/platform/web/web_glfw.js), at the
// display's own rate, whatever that is.

#include "platform/swap_pacing.h"

bool swapWaitsForDisplay() { return true; }
