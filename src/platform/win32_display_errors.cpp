// Windows reports every failure of its windowing as the result of the call that failed, which GLFW
// turns into its own error: there is nothing to catch afterwards.

#include "platform/display_errors.h"

void watchDisplayErrors() {}

void throwDisplayError() {}
