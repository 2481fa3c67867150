#include "support/game_run.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "support/screen_areas.h"

namespace e2e {

namespace {

void timeIsUp(int)
{
    static const char message[] = "\ne2e: test time limit reached, ending the test process\n";
    const ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(3);
}

// The keymap, the resources and the window manager are set up before the test connects and the
// game starts, as a desktop session sets them up at login (and the test's own keycode lookups
// then match).
const std::string& preparedServer(XServer& server, const GameOptions& options)
{
    if (!options.keymap.empty())
        server.setKeymap(options.keymap);
    if (!options.resources.empty())
        server.mergeResources(options.resources);
    if (!options.windowManager.empty())
        server.startWindowManager(options.windowManager);
    return server.name();
}

Launch gameLaunch(const GameOptions& options, const XServer& server, const TempDir& dataHome)
{
    Launch launch;
    launch.program = options.program;
    launch.arguments = options.arguments;
    if (!options.launcher.empty()) {
        launch.program = options.launcher;
        launch.arguments.insert(launch.arguments.begin(), options.program);
    }
    launch.keepOpen = options.keepOpen;
    launch.workingDirectory = options.workingDirectory;
    launch.environment = server.environment();
    launch.environment.push_back("SDL_AUDIODRIVER=dummy");  // the game's sound goes nowhere, unless asked
    std::vector<std::string> entries{"XDG_DATA_HOME=" + dataHome.path().string()};
    entries.insert(entries.end(), options.environment.begin(), options.environment.end());
    for (const std::string& entry : entries) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::vector<std::string>& env = launch.environment;
        env.erase(std::remove_if(env.begin(), env.end(),
                                 [&](const std::string& e) { return e.compare(0, name.size(), name) == 0; }),
                  env.end());
        launch.environment.push_back(entry);
    }
    return launch;
}

}  // namespace

TimeLimit::TimeLimit(unsigned seconds)
{
    signal(SIGALRM, timeIsUp);
    alarm(seconds);
}

TimeLimit::~TimeLimit()
{
    alarm(0);
    signal(SIGALRM, SIG_DFL);
}

void waitSeconds(double seconds)
{
    if (seconds > 0)
        std::this_thread::sleep_for(Seconds(seconds));
}

GameRun::GameRun(const GameOptions& options)
    : server(options.screen), x(preparedServer(server, options)), game(gameLaunch(options, server, dataHome))
{
}

bool GameRun::waitForWindow(Seconds timeout)
{
    window = x.waitForWindow(gameTitle, timeout);
    if (window == None)
        return false;
    x.focus(window);
    return true;
}

bool GameRun::waitForCountdown(Seconds timeout)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(timeout);
    if (window == None && !waitForWindow(timeout))
        return false;
    while (Clock::now() < deadline) {
        if (whiteIn(x.screenshot(window), countdownArea) > 1000) {
            m_countdownAt = Clock::now();
            return true;
        }
        waitSeconds(0.01);
    }
    return false;
}

double GameRun::sinceCountdown() const { return Seconds(Clock::now() - m_countdownAt).count(); }

void GameRun::sleepUntil(double seconds) const { waitSeconds(seconds - sinceCountdown()); }

Image GameRun::shot(const std::string& saveAs)
{
    Image image = x.screenshot(window);
    if (!saveAs.empty())
        saveScreenshot(image, saveAs);
    return image;
}

std::optional<int> GameRun::quitWith(KeySym key, Seconds timeout)
{
    const KeyCode code = x.keycode(key);
    x.press(code);
    const std::optional<int> status = game.waitFor(timeout);
    x.release(code);
    return status;
}

}  // namespace e2e
