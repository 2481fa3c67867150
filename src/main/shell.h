#pragma once

// The program shell: entry sequence, error scheme and frame drawing.

#include <functional>

#include "main/shell_state.h"
#include "render/gl_check.h"  // checkGlError, which the shell's drawing uses as every pass does

class Camera;
class World;
struct LevelDesc;

/// Thrown to end the program at once, silently, with exit code 0 (quit keys, window close).
struct Exit {};

/// Thrown to end the run at once and start a new one (Backspace; Space, A or Start on the results
/// screen): the shell makes a fresh World and fresh cameras and starts from the countdown.
struct PlayAgain {};

/// Throws std::runtime_error "GLFW error: <this file>:<line>: <call> failed", with GLFW's own
/// description of the cause appended when it gave one.
[[noreturn]] void throwGlfwError(int line, const char* call);

/// Window-size callback body: stores (max(width, 1), max(height, 1)) in windowSize.
void onWindowSize(int width, int height);

/// Window-close callback body: throws Exit.
[[noreturn]] void onWindowClose();

/// Seconds since the previous call, single precision, clamped to [0, 0.033333335].
float frameTime();

/// Draws one frame of `world` through `camera` (with the record's ghost after the store when there
/// is one and it is shown, and the latest split under the clock while it lasts) and leaves the 2D
/// pixel projection current (origin bottom left, one unit per pixel, identity modelview).
void renderFrame(World& world, Camera& camera);

/// The camera of cameraTable at cameraIndex, the one every frame is drawn through.
Camera& selectedCamera();

/// One frame of the countdown or the play loop, once the game has moved on by dt seconds: both
/// cameras update, entry 0 first; unless the window is minimised the frame is drawn through the
/// selected camera with `overlay` (when given) drawn over it; then it is presented.
void showFrame(World& world, float dt, const std::function<void()>& overlay = {});

/// Ends a frame of `world`: swaps the buffers (unless the window is minimised, when nothing was
/// drawn), waits out the rest of the display's refresh period when the frame came sooner, hands
/// the frame to shellHooks.frameDone, processes window events, then rethrows whatever a callback
/// threw during them (Exit for a quit request), or throws PlayAgain when Backspace was pressed.
void presentFrame(const World& world);

/// Runs the whole game on `desc`: set-up (the player's record read and checked), then runs of
/// countdown, play and results, each in a fresh World, until one's results are left; shutdown. Catches every
/// failure: returns 0 for a normal end or a quit, 1 after reporting a failure in the error box.
/// The game itself runs on the default `hooks`; a test build may pass its own clock.
int runGame(const LevelDesc& desc, const ShellHooks& hooks = ShellHooks{});
