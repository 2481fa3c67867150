#include "main/shell_state.h"

WindowSize windowSize;
bool debugOverlay = false;
int layoutIndex = 0;
int cameraIndex = 0;
CameraTable* cameraTable = nullptr;
GLFWwindow* gameWindow = nullptr;
std::exception_ptr pendingCallbackException;
ShellHooks shellHooks;
FrameTimer frameTimer;

void resetShellState()
{
    windowSize = WindowSize{};
    debugOverlay = false;
    layoutIndex = 0;
    cameraIndex = 0;
    cameraTable = nullptr;
    gameWindow = nullptr;
    pendingCallbackException = nullptr;
    shellHooks = ShellHooks{};
    frameTimer = FrameTimer{};
}
