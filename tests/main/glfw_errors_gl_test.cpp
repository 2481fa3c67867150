// Failures the windowing layers report on their own: GLFW's error callback, which must stay quiet
// unless something failed (its text is the cause the shell reports), and X protocol errors, which
// must reach the game's report instead of ending the process.

#include <GLFW/glfw3.h>

#include <stdexcept>
#include <string>

#include "main/keyboard.h"
#include "platform/display_errors.h"
#include "support/gl_context.h"

#include <X11/Xlib.h>  // last: its macros (None, Bool, Status) would clash with GoogleTest's names

using namespace gltest;

namespace {

int glfwErrors = 0;

}  // namespace

TEST_F(GlTest, ReadingTheKeyboardLayoutRaisesNoGlfwError)
{
    glfwErrors = 0;
    GLFWerrorfun previous = glfwSetErrorCallback([](int, const char*) { ++glfwErrors; });
    KeyLookup lookup;
    lookup.rebuild(layoutKeyName);  // every printable token, keys the keyboard lacks among them
    EXPECT_EQ(layoutKeyName(GLFW_KEY_UNKNOWN), nullptr);
    EXPECT_EQ(layoutKeyName(GLFW_KEY_ESCAPE), nullptr);
    glfwSetErrorCallback(previous);
    EXPECT_EQ(glfwErrors, 0);
    EXPECT_EQ(lookup.keyFor('e'), GLFW_KEY_E);  // Xvfb's US keymap
}

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
