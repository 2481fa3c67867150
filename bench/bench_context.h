#pragma once

struct GLFWwindow;

/// Window sizes the frame benchmarks run at, by index: 0 is 800 x 600, 1 is 1920 x 1080.
constexpr int benchWindowCount = 2;

/// The hidden window of size `index`, its context current and swap interval 0; the game's
/// windowSize set to its framebuffer. All windows share one set of display lists, so fonts
/// loaded in one serve all. Created on first use, kept until exit.
GLFWwindow* benchWindow(int index);
