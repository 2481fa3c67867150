// A desktop's swap, through GLFW: whether it waits depends on the driver, the window and the
// display, so the game paces its frames itself (main/frame_pacer.h).

#include "platform/swap_pacing.h"

bool swapWaitsForDisplay() { return false; }
