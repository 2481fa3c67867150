// A browser reports a failure of its canvas or WebGL context as the result of the call that
// failed, which the web GLFW turns into its own error: there is nothing to catch afterwards.

#include "platform/display_errors.h"

void watchDisplayErrors() {}

void throwDisplayError() {}
