// A test build of the game: the real shell and store (runGame), stepped frame by frame by the
// end-to-end harness in game time it controls. Built for the end-to-end tests only; never
// installed.
//
//   shelvoy_stepped <store> <report fd> <grant fd> [<sound file>]
//
// <store> is "builtin" (the game's own store) or "one-item" (a seven-by-seven store whose only
// item lies under the cart, so the first play frame takes it) or "aisle" (one aisle, three items
// in a row ahead of the cart). After every frame the game writes
// one line to <report fd>:
//   <frame> <clock> <run clock> <items left> <cart x> <cart y> <cart angle>
// and, when the frames granted so far are used up, waits for a line "<frames> <seconds>" on
// <grant fd>: that many more frames, each moving the clock on by that many seconds. The clock
// stands still while a frame is drawn, so every reading of one frame is the same. (Frames shorter
// than the display's refresh period are lengthened to it by the frame pacing, as on a real
// display.)
//
// The game's sound goes to no device: once a frame is granted its successor, the game renders the
// samples of the game time up to the successor's clock reading (whole frames at 48 kHz, the
// fractions carried) and appends them to <sound file> when one is named, as raw float stereo. A
// sound asked for during a frame so starts on the sample of that frame's clock reading, counted
// from the first frame's; the file holds the sound up to the latest reported frame's reading.

#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "main/shell.h"
#include "sound/sound_system.h"
#include "support/test_stores.h"
#include "world/level.h"
#include "world/world.h"

namespace {

struct Stepper {
    int reportFd = -1;
    int grantFd = -1;
    double clock = 100.0;  // seconds; any origin will do
    long frame = 0;
    long granted = 0;
    double step = 0.0;
    double firstClock = 0.0;  // the first frame's reading: the sound's time 0
    long long soundFrames = 0;
    std::FILE* sound = nullptr;
};
Stepper stepper;

// One line from the harness; a harness that has gone ends the game.
std::string readLine(int fd)
{
    std::string line;
    char c = 0;
    for (;;) {
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0)
            _exit(4);
        if (c == '\n')
            return line;
        line += c;
    }
}

void writeAll(int fd, const std::string& text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            _exit(4);
        done += static_cast<size_t>(n);
    }
}

// The sound up to the clock's next reading.
void renderSound()
{
    const long long until = std::llround((stepper.clock - stepper.firstClock) * audioFrameRate);
    std::vector<float> stereo(2 * static_cast<size_t>(std::max(0LL, until - stepper.soundFrames)));
    gameSound->render(stereo.data(), stereo.size() / 2);
    stepper.soundFrames = std::max(until, stepper.soundFrames);
    if (stepper.sound &&
        std::fwrite(stereo.data(), sizeof(float), stereo.size(), stepper.sound) != stereo.size())
        _exit(6);
}

void frameDone(const World& world)
{
    Display* display = glfwGetX11Display();
    XSync(display, False);  // the frame is on the X server before the harness looks at it

    const b2Vec2 cart = world.cart().body().GetPosition();
    char report[256];
    std::snprintf(report, sizeof report, "%ld %.17g %.17g %d %.9g %.9g %.9g\n", stepper.frame, stepper.clock,
                  world.runClock(), world.itemsLeft(), static_cast<double>(cart.x),
                  static_cast<double>(cart.y), static_cast<double>(world.cart().body().GetAngle()));
    writeAll(stepper.reportFd, report);

    if (stepper.granted == 0) {
        if (std::sscanf(readLine(stepper.grantFd).c_str(), "%ld %lf", &stepper.granted, &stepper.step) != 2 ||
            stepper.granted < 1)
            _exit(5);
        // Whatever the harness did before granting (keys, window requests) arrives before the
        // events of this frame are processed.
        XSync(display, False);
    }
    --stepper.granted;
    if (stepper.frame == 0)
        stepper.firstClock = stepper.clock;
    ++stepper.frame;
    stepper.clock += stepper.step;
    renderSound();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string store = argc >= 2 ? argv[1] : "";
    if ((argc != 4 && argc != 5) || (store != "builtin" && store != "one-item" && store != "aisle")) {
        std::fprintf(stderr, "usage: %s builtin|one-item|aisle <report fd> <grant fd> [<sound file>]\n",
                     argv[0]);
        return 2;
    }
    stepper.reportFd = std::atoi(argv[2]);
    stepper.grantFd = std::atoi(argv[3]);
    // Unbuffered: the file holds what was rendered before each report.
    if (argc == 5 &&
        (!(stepper.sound = std::fopen(argv[4], "wb")) || std::setvbuf(stepper.sound, nullptr, _IONBF, 0)))
        return 3;

    ShellHooks hooks;
    hooks.now = [] { return stepper.clock; };
    hooks.sleepUntil = [](double deadline) {  // no time passes but what the harness grants
        if (deadline > stepper.clock)
            stepper.clock = deadline;
    };
    hooks.frameDone = frameDone;
    hooks.audioDevice = false;
    const LevelDesc desc = store == "builtin" ? builtinLevel()
                           : store == "aisle" ? e2e::aisleStore()
                                              : e2e::oneItemStore();
    return runGame(desc, hooks);
}
