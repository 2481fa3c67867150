#include "platform/display_errors.h"

#include <X11/Xlib.h>

#include <stdexcept>
#include <string>

namespace {

// Xlib calls its error handler without user data: the first error waits here until the shell
// asks for it. The platform layer's one mutable global.
std::string keptError;

int keepError(Display* display, XErrorEvent* event)
{
    if (!keptError.empty())
        return 0;
    char text[256] = "";
    XGetErrorText(display, event->error_code, text, sizeof text);
    // Core requests have names in Xlib's error database; an extension's is major.minor.
    const std::string code = std::to_string(event->request_code);
    char request[128] = "";
    XGetErrorDatabaseText(display, "XRequest", code.c_str(), "", request, sizeof request);
    keptError = std::string("X error: ") + text + " in request " +
                (request[0] ? std::string(request) : code + "." + std::to_string(event->minor_code));
    return 0;
}

}  // namespace

void watchDisplayErrors() { XSetErrorHandler(keepError); }

void throwDisplayError()
{
    if (keptError.empty())
        return;
    const std::string error = keptError;
    keptError.clear();
    throw std::runtime_error(error);
}
