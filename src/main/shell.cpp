// The program shell: start-up, the window and its callbacks, the play loop, the top-level
// handler.

#include "main/shell.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "main/frame_timer.h"
#include "main/gamepad.h"
#include "main/keyboard.h"
#include "main/refresh_rate.h"
#include "main/screen_layout.h"
#include "main/screens.h"
#include "platform/audio_device.h"
#include "platform/composed_text.h"
#include "platform/display_errors.h"
#include "platform/error_box.h"
#include "platform/memory.h"
#include "platform/physics_library_math.h"
#include "platform/rumble.h"
#include "platform/saved_file.h"
#include "platform/swap_pacing.h"
#include "platform/threads.h"
#include "record/ghost.h"
#include "record/record_keeper.h"
#include "render/camera.h"
#include "render/font.h"
#include "render/view.h"
#include "sound/sound_system.h"
#include "world/world.h"

namespace {

const char* const windowTitle = "Shelvoy! - prototype7-4-gf937efb";
// Frames an audio buffer holds at most: 10 ms at 48 kHz, so a sound starts within that of the
// frame that asked for it (and a whole number of milliseconds, which SDL's pacing of its file and
// dummy drivers keeps exactly).
constexpr int audioBufferFrames = 480;
// A knock at least this strong (0 to 1) shakes the device where it can shake.
constexpr float hardKnock = 0.5f;

// A failed GLFW call: the message is the game's, the cause is GLFW's.
struct GlfwFailure : std::runtime_error {
    GlfwFailure(const std::string& message, std::string why)
        : std::runtime_error(message), cause(std::move(why))
    {
    }
    std::string cause;
};

void recordGlfwError(int /*code*/, const char* description)
{
    lastGlfwError = description ? description : "";
}

// Runs a callback body; whatever it throws waits in pendingCallbackException until the event
// processing has returned. After the first such exception the rest of the events are ignored.
template <class Body> void guardCallback(Body&& body)
{
    if (pendingCallbackException)
        return;
    try {
        body();
    } catch (...) {
        pendingCallbackException = std::current_exception();
    }
}

// The window may now show on another monitor, or its monitor on another mode: the refresh rate is
// read again once the event processing is over.
void refreshRateMayHaveChanged() { nextRefreshRateCheck = -std::numeric_limits<double>::infinity(); }

void keyCallback(GLFWwindow* /*window*/, int key, int /*scancode*/, int action, int mods)
{
    guardCallback([&] { onKey(legacyKeyCode(key, layoutKeyName(key)), action, mods); });
}

void framebufferSizeCallback(GLFWwindow* /*window*/, int width, int height)
{
    guardCallback([&] { onWindowSize(width, height); });
    refreshRateMayHaveChanged();  // its centre may be on another monitor now
}

void closeCallback(GLFWwindow* /*window*/)
{
    guardCallback([] { onWindowClose(); });
}

void iconifyCallback(GLFWwindow* /*window*/, int iconified) { windowMinimised = iconified == GLFW_TRUE; }

void contentScaleCallback(GLFWwindow* /*window*/, float xscale, float /*yscale*/)
{
    contentScale = usableContentScale(xscale);
}

// The monitor that shows the window: the one it fills, or the one that shows its centre (the
// primary monitor when none does).
GLFWmonitor* monitorShowing(GLFWwindow* window)
{
    if (GLFWmonitor* filled = glfwGetWindowMonitor(window))
        return filled;
    int x = 0, y = 0, width = 0, height = 0;
    glfwGetWindowPos(window, &x, &y);
    glfwGetWindowSize(window, &width, &height);
    const int cx = x + width / 2, cy = y + height / 2;
    GLFWmonitor* shown = glfwGetPrimaryMonitor();
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    for (int i = 0; i < count; ++i) {
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
        int mx = 0, my = 0;
        glfwGetMonitorPos(monitors[i], &mx, &my);
        if (mode && cx >= mx && cx < mx + mode->width && cy >= my && cy < my + mode->height)
            return monitors[i];
    }
    return shown;
}

// Gives the frame pacer the refresh period of the display the window shows on, read afresh: every
// monitor's current mode, the one the window fills, and where the window stands (a system that
// cannot tell, as Wayland's, reports an error for it, which is no failure of the game's).
void followRefreshRate(GLFWwindow* window)
{
    GLFWmonitor* const filledMonitor = glfwGetWindowMonitor(window);
    int count = 0;
    GLFWmonitor** const connected = glfwGetMonitors(&count);
    std::vector<MonitorMode> monitors;
    int filled = -1;
    for (int i = 0; i < count; ++i) {
        MonitorMode monitor;
        glfwGetMonitorPos(connected[i], &monitor.x, &monitor.y);
        if (const GLFWvidmode* mode = glfwGetVideoMode(connected[i])) {
            monitor.width = mode->width;
            monitor.height = mode->height;
            monitor.refreshRate = mode->refreshRate;
        }
        if (connected[i] == filledMonitor)
            filled = i;
        monitors.push_back(monitor);
    }
    const std::string earlierError = lastGlfwError;
    glfwGetError(nullptr);
    int x = 0, y = 0, width = 0, height = 0;
    glfwGetWindowPos(window, &x, &y);
    glfwGetWindowSize(window, &width, &height);
    const bool placed = glfwGetError(nullptr) == GLFW_NO_ERROR;
    lastGlfwError = earlierError;
    framePacer.period =
        refreshPeriod(windowRefreshRate(monitors, filled, placed, x + width / 2, y + height / 2));
    nextRefreshRateCheck = shellHooks.now() + refreshRateCheckInterval;
}

// Fullscreen on the monitor that shows the window, at the mode it has (no mode change), or back
// to the window's place and size from before.
void toggleFullscreen()
{
    if (glfwGetWindowMonitor(gameWindow)) {
        const WindowPlacement& was = windowedPlacement;
        glfwSetWindowMonitor(gameWindow, nullptr, was.x, was.y, was.width, was.height, 0);
    } else {
        GLFWmonitor* monitor = monitorShowing(gameWindow);
        const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
        if (!mode)
            return;  // no monitor to fill
        WindowPlacement& place = windowedPlacement;
        glfwGetWindowPos(gameWindow, &place.x, &place.y);
        glfwGetWindowSize(gameWindow, &place.width, &place.height);
        glfwSetWindowMonitor(gameWindow, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    }
    followRefreshRate(gameWindow);
}

void moveCallback(GLFWwindow* /*window*/, int /*x*/, int /*y*/) { refreshRateMayHaveChanged(); }

void monitorCallback(GLFWmonitor* /*monitor*/, int /*event*/) { refreshRateMayHaveChanged(); }

void openWindow()
{
    glfwSetErrorCallback(recordGlfwError);
    lastGlfwError.clear();
    if (!glfwInit())
        throwGlfwError(__LINE__, "glfwInit");
    watchDisplayErrors();

    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBufferBits);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    // 800x600 in the desktop's logical pixels: 1600x1200 on a 2x screen. A scale the desktop
    // reports but cannot mean (from a broken Xft.dpi, say) opens the window at 800x600 instead.
    float scale = 1.0f;
    if (GLFWmonitor* primary = glfwGetPrimaryMonitor())
        glfwGetMonitorContentScale(primary, &scale, nullptr);
    glfwWindowHint(GLFW_SCALE_TO_MONITOR, usableContentScale(scale) == scale ? GLFW_TRUE : GLFW_FALSE);
    lastGlfwError.clear();
    gameWindow = glfwCreateWindow(windowSize.width, windowSize.height, windowTitle, nullptr, nullptr);
    throwDisplayError();
    if (!gameWindow)
        throwGlfwError(__LINE__, "glfwOpenWindow");
    glfwMakeContextCurrent(gameWindow);
    checkGlError(__FILE__, __LINE__);

    glfwSetWindowTitle(gameWindow, windowTitle);
    checkGlError(__FILE__, __LINE__);
    // Viewports are in framebuffer pixels. GLFW 3 reports no size at installation, so the
    // handler is called once here with the current one.
    glfwSetFramebufferSizeCallback(gameWindow, framebufferSizeCallback);
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(gameWindow, &width, &height);
    onWindowSize(width, height);
    checkGlError(__FILE__, __LINE__);
    glfwSetWindowCloseCallback(gameWindow, closeCallback);
    checkGlError(__FILE__, __LINE__);
    glfwSetKeyCallback(gameWindow, keyCallback);
    checkGlError(__FILE__, __LINE__);
    glfwGetWindowContentScale(gameWindow, &scale, nullptr);
    contentScale = usableContentScale(scale);
    glfwSetWindowContentScaleCallback(gameWindow, contentScaleCallback);
    glfwSetWindowIconifyCallback(gameWindow, iconifyCallback);
    followRefreshRate(gameWindow);
    glfwSetWindowPosCallback(gameWindow, moveCallback);
    glfwSetMonitorCallback(monitorCallback);
    watchGamepads();
    glfwSwapInterval(1);
    checkGlError(__FILE__, __LINE__);
}

constexpr double splitSeconds = 2.0;  // of run time a split shows for

// The play loop, each frame noted in `recorder`; with a `record`, its ghost follows the run and
// each item taken shows how far ahead or behind the record was at as many items.
void playLoop(World& world, RunRecorder& recorder, const RunRecord* record)
{
    const int items = static_cast<int>(world.items().size());
    while (world.itemsLeft() > 0) {
        const float dt = frameTime();
        sampleControls(world);
        const CartControls controls = world.cart().controls;
        world.step(dt);
        const int taken = world.lastStep().itemsTaken;
        recorder.addFrame(dt, controls, taken, world.runClock());
        if (raceGhost)
            raceGhost->follow(world.runClock());
        const int done = items - world.itemsLeft();
        if (record && taken > 0 && done > 0 && static_cast<size_t>(done) <= record->splits.size())
            shownSplit = ShownSplit{world.runClock() - record->splits[static_cast<size_t>(done) - 1],
                                    world.runClock() + splitSeconds};
        gameSound->cues().afterStep(world, dt);
        // A hard knock shakes a phone too, unless the player has silenced the game.
        if (gameSound->cues().latestKnock() >= hardKnock && !soundMuted)
            rumble(gameSound->cues().latestKnock());
        showFrame(world, dt);
    }
}

// One run in a World of its own and cameras of their own on its cart, from the countdown to the
// results (the next run of the session when `again`); returns once the results are left, throws
// PlayAgain for another run.
void playRun(const LevelDesc& desc, RecordKeeper& keeper, bool again)
{
    World world(desc);
    TopDownCamera overhead(world.cart().body());
    FollowCamera chase(world.cart().body());
    CameraTable cameras{&chase, &overhead};
    const std::shared_ptr<const RunRecord> record = keeper.best();
    std::optional<Ghost> ghost;
    if (record)
        ghost.emplace(*record, desc);
    cameraTable = &cameras;
    raceGhost = ghost ? &*ghost : nullptr;
    shownSplit = ShownSplit{};
    struct Forget {
        ~Forget()
        {
            cameraTable = nullptr;
            raceGhost = nullptr;
        }
    } forget;
    if (again) {
        // The countdown's first frame moves the cameras by nothing, as the first run's does.
        frameTimer = FrameTimer{};
        gameSound->cues().newRun();
    }

    RunRecorder recorder(desc);
    showCountdown(world);
    playLoop(world, recorder, record.get());
    const RecordKeeper::Outcome outcome = keeper.offer(recorder.record());
    showResults(world, bestLine(outcome.hadRecord, outcome.newBest, outcome.previous, outcome.best),
                outcome.newBest && outcome.hadRecord);
}

// The game's sound, synthesised on a thread of its own, or when it is first asked for where no
// thread can be had: sound is never worth a failure.
std::future<std::unique_ptr<SoundSystem>> startMakingSound()
{
    const auto make = [clock = shellHooks.now] { return std::make_unique<SoundSystem>(clock); };
    if (!threadsAvailable())
        return std::async(std::launch::deferred, make);
    try {
        return std::async(std::launch::async, make);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, make);
    }
}

int runGuarded(const LevelDesc& desc)
{
    // Before anything is allocated: the GL driver's memory for a frame is kept for the next, where
    // the allocator is glibc's (elsewhere it keeps what it keeps, and the game is only slower).
    keepFreedMemoryForReuse();
    // While the process has one thread: the game reads keys alone, and the window system need not
    // prepare the composing of text as it starts.
    forgoComposedText();
    // A run is recorded and replayed by the physics' own bits: without them the record would not
    // replay here as it was driven, nor a run from here elsewhere.
    if (physicsLibraryMathBindings() == 0)
        throw std::runtime_error("Cannot give the physics library the game's own sine, cosine and "
                                 "arctangent: runs would not replay here as they were driven");
    // The player's record is read and replayed now, before the window opens: nothing reads the
    // disk once the run has begun (the record is written as the results open).
    RecordKeeper keeper(savedDataFolder(), desc);

    // The font is read now, whole, so a font that cannot be used is reported before any window
    // opens, and nothing reads the disk once the run has begun.
    gameFontBytes();
    // The sound is made while the window opens, on a thread of its own where one can be had (its
    // few milliseconds of synthesis need not delay the first frame). It is heard through the
    // system's device unless a test build renders it.
    std::future<std::unique_ptr<SoundSystem>> making = startMakingSound();
    openWindow();
    const std::unique_ptr<SoundSystem> sound = making.get();
    gameSound = sound.get();
    struct Forget {
        ~Forget() { gameSound = nullptr; }
    } forget;
    // The device is looked for once the window is open (a game that cannot show says only that),
    // on a thread of its own while the countdown is prepared, so that it is ready for the first
    // beep. Without a device the game plays on silently.
    std::optional<AudioDevice> device;
    if (shellHooks.audioDevice)
        device.emplace(audioFrameRate, audioBufferFrames, SoundSystem::renderInto, sound.get());
    for (bool again = false;; again = true) {
        try {
            playRun(desc, keeper, again);
            break;
        } catch (const PlayAgain&) {
            // the next run, in a World of its own
        }
    }

    glfwTerminate();
    gameWindow = nullptr;
    cameraTable = nullptr;
    return 0;
}

}  // namespace

void throwGlfwError(int line, const char* call)
{
    const std::string message =
        std::string("GLFW error: ") + __FILE__ + ":" + std::to_string(line) + ": " + call + " failed";
    throw GlfwFailure(message, lastGlfwError);
}

void onWindowSize(int width, int height)
{
    windowSize.width = width < 1 ? 1 : width;
    windowSize.height = height < 1 ? 1 : height;
}

void onWindowClose() { throw Exit{}; }

float frameTime() { return nextFrameTime(frameTimer, shellHooks.now); }

Camera& selectedCamera() { return *(*cameraTable)[cameraIndex]; }

void showFrame(World& world, float dt, const std::function<void()>& overlay)
{
    (*cameraTable)[0]->update(dt);
    (*cameraTable)[1]->update(dt);
    if (!windowMinimised) {
        renderFrame(world, selectedCamera());
        checkGlError(__FILE__, __LINE__);
        if (overlay)
            overlay();
    }
    presentFrame(world);
    checkGlError(__FILE__, __LINE__);
}

void presentFrame(const World& world)
{
    gameSound->cues().catchUp();
    if (!windowMinimised)
        glfwSwapBuffers(gameWindow);
    const double now = shellHooks.now();
    if (!swapWaitsForDisplay()) {
        const double start = nextFrameStart(framePacer, now);
        if (start > now)
            shellHooks.sleepUntil(start);
    }
    if (shellHooks.frameDone)
        shellHooks.frameDone(world);
    glfwPollEvents();
    throwDisplayError();
    if (pendingCallbackException) {
        const std::exception_ptr thrown = pendingCallbackException;
        pendingCallbackException = nullptr;
        std::rethrow_exception(thrown);
    }
    if (fullscreenRequested) {
        fullscreenRequested = false;
        toggleFullscreen();
    }
    if (now >= nextRefreshRateCheck)
        followRefreshRate(gameWindow);
    readGamepad();
    if (againRequested) {
        againRequested = false;
        throw PlayAgain{};
    }
}

int runGame(const LevelDesc& desc, const ShellHooks& hooks)
{
    shellHooks = hooks;
    // The World and the cameras are gone before either handler runs. On these two paths the
    // window is left to go away with the process.
    try {
        return runGuarded(desc);
    } catch (const Exit&) {
        cameraTable = nullptr;
        return 0;
    } catch (const GlfwFailure& failure) {
        cameraTable = nullptr;
        showErrorBox(failure.what(), failure.cause);
        return 1;
    } catch (const std::exception& failure) {
        cameraTable = nullptr;
        showErrorBox(failure.what());
        return 1;
    } catch (...) {
        cameraTable = nullptr;
        showErrorBox("Unknown failure");
        return 1;
    }
}
