#include "support/stepped_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "sound/sound_bank.h"

namespace e2e {

namespace {

// However slow the machine, a frame never takes this long: only a hung game does.
constexpr int frameTimeoutMs = 30000;

void makePipe(int& readEnd, int& writeEnd)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    readEnd = fds[0];
    writeEnd = fds[1];
}

void closeFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

}  // namespace

StepPipes::StepPipes()
{
    signal(SIGPIPE, SIG_IGN);  // a grant to a game that has just quit is not an error
    makePipe(m_reportRead, m_reportWrite);
    makePipe(m_grantRead, m_grantWrite);
}

StepPipes::~StepPipes()
{
    for (int* fd : {&m_reportRead, &m_reportWrite, &m_grantRead, &m_grantWrite})
        closeFd(*fd);
}

GameOptions StepPipes::gameOptions(const SteppedOptions& options) const
{
    GameOptions game;
    game.program = steppedGamePath();
    game.launcher.clear();  // the test build is this build's, started directly
    const char* const stores[] = {"builtin", "one-item", "aisle"};
    game.arguments = {stores[static_cast<int>(options.store)], std::to_string(m_reportWrite),
                      std::to_string(m_grantRead)};
    if (!options.soundFile.empty())
        game.arguments.push_back(options.soundFile);
    game.workingDirectory = options.workingDirectory;
    game.keymap = options.keymap;
    game.screen = options.screen;
    game.resources = options.resources;
    game.windowManager = options.windowManager;
    game.environment = options.environment;
    game.keepOpen = {m_reportWrite, m_grantRead};
    return game;
}

void StepPipes::closeGameEnds()
{
    closeFd(m_reportWrite);
    closeFd(m_grantRead);
}

SteppedRun::SteppedRun(const SteppedOptions& options)
    : GameRun(gameOptions(options)), m_soundFile(options.soundFile)
{
    closeGameEnds();
}

std::vector<float> SteppedRun::sound() const
{
    std::vector<float> left;
    std::FILE* file = m_soundFile.empty() ? nullptr : std::fopen(m_soundFile.c_str(), "rb");
    if (!file)
        return left;
    float frame[2];
    while (std::fread(frame, sizeof frame, 1, file) == 1)
        left.push_back(frame[0]);
    std::fclose(file);
    return left;
}

std::size_t SteppedRun::soundFrameOf(const FrameReport& frame) const
{
    return static_cast<std::size_t>(std::llround((frame.clock - m_reports.front().clock) * audioFrameRate));
}

bool SteppedRun::readReport()
{
    for (;;) {
        const size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            FrameReport r;
            if (std::sscanf(m_pending.c_str(), "%ld %lf %lf %d %lf %lf %lf", &r.frame, &r.clock, &r.runClock,
                            &r.itemsLeft, &r.cartX, &r.cartY, &r.cartAngle) != 7)
                throw std::runtime_error("unreadable frame report: " + m_pending.substr(0, end));
            m_pending.erase(0, end + 1);
            m_reports.push_back(r);
            return true;
        }
        // The game's stderr is drained meanwhile: a long report (LeakSanitizer's, say) would
        // otherwise fill its pipe and block the game before it sends the frame.
        pollfd p[2] = {{m_reportRead, POLLIN, 0}, {game.stderrDescriptor(), POLLIN, 0}};
        if (poll(p, 2, frameTimeoutMs) <= 0)
            throw std::runtime_error("the game sent no frame for 30 s\n" + game.stderrText());
        if (p[1].revents != 0)
            game.stderrText();
        if (p[0].revents == 0)
            continue;
        char buffer[512];
        const ssize_t n = read(m_reportRead, buffer, sizeof buffer);
        if (n <= 0)
            return false;  // the game has ended
        m_pending.append(buffer, static_cast<size_t>(n));
    }
}

bool SteppedRun::start()
{
    if (!readReport())
        return false;
    return waitForWindow(Seconds(5.0));
}

bool SteppedRun::advance(int frames, double step)
{
    if (frames < 1)
        return true;
    char grant[64];
    std::snprintf(grant, sizeof grant, "%d %.17g\n", frames, step);
    if (write(m_grantWrite, grant, std::strlen(grant)) < 0)
        return false;
    for (int i = 0; i < frames; ++i)
        if (!readReport())
            return false;
    return true;
}

std::optional<int> SteppedRun::quitWith(KeySym key, Seconds timeout)
{
    if (key == NoSymbol) {
        x.requestClose(window);
        advance();
        return game.waitFor(timeout);
    }
    const KeyCode code = x.keycode(key);
    x.press(code);
    advance();
    const std::optional<int> status = game.waitFor(timeout);
    x.release(code);
    return status;
}

}  // namespace e2e
