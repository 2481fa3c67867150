#include "bench/bench_context.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <stdexcept>

#include "main/shell.h"
#include "render/view.h"

namespace {

GLFWwindow* windows[benchWindowCount] = {};
const int sizes[benchWindowCount][2] = {{800, 600}, {1920, 1080}};

}  // namespace

GLFWwindow* benchWindow(int index)
{
    if (!windows[0]) {
        if (!glfwInit())
            throw std::runtime_error("glfwInit failed: the frame benchmarks need a display");
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_DEPTH_BITS, depthBufferBits);
        glfwWindowHint(GLFW_STENCIL_BITS, 0);
        for (int i = 0; i < benchWindowCount; ++i) {
            windows[i] = glfwCreateWindow(sizes[i][0], sizes[i][1], "Shelvoy! bench", nullptr,
                                          i ? windows[0] : nullptr);
            if (!windows[i])
                throw std::runtime_error("glfwCreateWindow failed");
            glfwMakeContextCurrent(windows[i]);
            glfwSwapInterval(0);
        }
    }
    GLFWwindow* window = windows[index];
    glfwMakeContextCurrent(window);
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    onWindowSize(width, height);
    return window;
}
