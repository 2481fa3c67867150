#pragma once

// A real OpenGL context for the drawing tests: one hidden GLFW window for the whole test
// program, and a fixture that hands every test a clean slate in it.

#include <gtest/gtest.h>

#include <string>

struct GLFWwindow;

namespace gltest {

constexpr int windowWidth = 800;
constexpr int windowHeight = 600;

/// The test program's hidden 800 x 600 window (compatibility context, 16-bit depth, no
/// stencil), opened on first use, with its context current. Null when it cannot be opened;
/// `why` then says what went wrong (no $DISPLAY, GLFW's own error text).
GLFWwindow* testWindow(std::string* why);

/// Fixture for every drawing test. Before the test: the window's context is current, the
/// shell's switches are at their start values with `windowSize` set to the framebuffer, the
/// viewport covers the window, both matrices are identity, the fixed-function switches the
/// game flips are off, colour white, line width 1, no GL error pending. After it: no GL
/// error may be left pending.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace gltest
