// X protocol errors come back later, through Xlib's error handler, whose default ends the
// process: the platform layer keeps them for the game to report.

#include <stdexcept>
#include <string>

#include "platform/display_errors.h"
#include "support/gl_context.h"

#include <X11/Xlib.h>  // last: its macros (None, Bool, Status) would clash with GoogleTest's names

using namespace gltest;

TEST_F(GlTest, AnXProtocolErrorIsKeptForTheGameToReport)
{
    watchDisplayErrors();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XDestroyWindow(display, 0x5eed);  // no such window
    XSync(display, False);            // the error comes back here, to the handler
    XCloseDisplay(display);
    try {
        throwDisplayError();
        FAIL() << "no X error kept";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "X error: BadWindow (invalid Window parameter) in request X_DestroyWindow");
    }
    EXPECT_NO_THROW(throwDisplayError());  // reported once
}
