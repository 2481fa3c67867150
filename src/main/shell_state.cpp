#include "main/shell_state.h"

WindowSize windowSize;
float contentScale = 1.0f;
bool windowMinimised = false;
bool debugOverlay = false;
int layoutIndex = 0;
int cameraIndex = 0;
CameraTable* cameraTable = nullptr;
SoundSystem* gameSound = nullptr;
bool soundMuted = false;
GLFWwindow* gameWindow = nullptr;
std::exception_ptr pendingCallbackException;
ShellHooks shellHooks;
FrameTimer frameTimer;
FramePacer framePacer;
double nextRefreshRateCheck = 0.0;
KeyLookup keyLookup;
std::string lastGlfwError;
bool fullscreenRequested = false;
WindowPlacement windowedPlacement;
bool leaveResultsRequested = false;
bool againRequested = false;
bool againFromResultsRequested = false;
bool ghostShown = true;
Ghost* raceGhost = nullptr;
ShownSplit shownSplit;
std::vector<int> padsByConnection;
PadReading padReading;
PadReading previousPadReading;

void resetShellState()
{
    windowSize = WindowSize{};
    contentScale = 1.0f;
    windowMinimised = false;
    debugOverlay = false;
    layoutIndex = 0;
    cameraIndex = 0;
    cameraTable = nullptr;
    gameSound = nullptr;
    soundMuted = false;
    gameWindow = nullptr;
    pendingCallbackException = nullptr;
    shellHooks = ShellHooks{};
    frameTimer = FrameTimer{};
    framePacer = FramePacer{};
    nextRefreshRateCheck = 0.0;
    keyLookup = KeyLookup{};
    lastGlfwError.clear();
    fullscreenRequested = false;
    windowedPlacement = WindowPlacement{};
    leaveResultsRequested = false;
    againRequested = false;
    againFromResultsRequested = false;
    ghostShown = true;
    raceGhost = nullptr;
    shownSplit = ShownSplit{};
    padsByConnection.clear();
    padReading = PadReading{};
    previousPadReading = PadReading{};
}
