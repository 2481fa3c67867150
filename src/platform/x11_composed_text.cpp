#include "platform/composed_text.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

// Xlib's own input method takes its compose table from the file XCOMPOSEFILE names before the
// user's ~/.XCompose and the locale's table. An empty one is read at once, and the method still
// opens, so GLFW sees nothing different. Only this process, which never asks for characters,
// sees the variable.
void forgoComposedText()
{
    if (setenv("XCOMPOSEFILE", "/dev/null", 1) != 0)
        throw std::system_error(errno, std::generic_category(), "Cannot set XCOMPOSEFILE");
}
