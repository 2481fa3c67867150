#include "support/gl_context.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <string>

#include "main/shell_state.h"
#include "render/gl.h"
#include "render/view.h"

namespace gltest {

namespace {

std::string glfwFailure;

void recordGlfwError(int code, const char* description)
{
    glfwFailure = "GLFW error " + std::to_string(code) + ": " + (description ? description : "?");
}

GLFWwindow* openWindow(std::string& why)
{
    // Without a display GLFW says so itself ("The DISPLAY environment variable is missing").
    glfwSetErrorCallback(recordGlfwError);
    if (!glfwInit()) {
        why = "glfwInit failed (on X11, run the GL tests under xvfb-run): " + glfwFailure;
        return nullptr;
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_ANY_PROFILE);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBufferBits);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    GLFWwindow* window = glfwCreateWindow(windowWidth, windowHeight, "shelvoy gl tests", nullptr, nullptr);
    if (!window) {
        why = "cannot open a hidden window: " + glfwFailure;
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    return window;
}

}  // namespace

GLFWwindow* testWindow(std::string* why)
{
    // Opened once and kept until the process ends: the game's font cache is static and may
    // still hold glyph display lists when the program exits.
    static std::string failure;
    static GLFWwindow* const window = openWindow(failure);
    if (!window && why)
        *why = failure;
    if (window)
        glfwMakeContextCurrent(window);
    return window;
}

void GlTest::SetUp()
{
    std::string why;
    GLFWwindow* window = testWindow(&why);
    if (!window)
        GTEST_FAIL() << why;

    resetShellState();
    glfwGetFramebufferSize(window, &windowSize.width, &windowSize.height);

    // Whatever an earlier test left behind, in this process.
    glRenderMode(GL_RENDER);
    while (glGetError() != GL_NO_ERROR) {
    }
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_NORMALIZE, GL_CULL_FACE,
                       GL_BLEND, GL_LINE_SMOOTH, GL_POLYGON_SMOOTH})
        glDisable(cap);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLineWidth(1.0f);
    glViewport(0, 0, windowSize.width, windowSize.height);
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        GLint depth = 1;
        glGetIntegerv(mode == GL_PROJECTION ? GL_PROJECTION_STACK_DEPTH : GL_MODELVIEW_STACK_DEPTH, &depth);
        for (; depth > 1; --depth)
            glPopMatrix();
        glLoadIdentity();
    }
}

void GlTest::TearDown()
{
    if (glfwGetCurrentContext()) {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the test left a GL error pending";
    }
}

}  // namespace gltest
