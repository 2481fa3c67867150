// A desktop game through GLFW: nothing to shake.

#include "platform/rumble.h"

void rumble(float /*strength*/) {}
