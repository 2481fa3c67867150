// The keyboard read through GLFW in a real window: GLFW's error callback must stay quiet unless
// something failed, since its text is the cause the shell reports for a failed GLFW call.

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "main/keyboard.h"
#include "support/gl_context.h"

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
