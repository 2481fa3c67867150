// A test build of the game: the real shell and store (runGame), stepped frame by frame by the
// end-to-end harness in game time it controls. Built for the end-to-end tests only; never
// installed.
//
//   shelvoy_stepped <store> <report fd> <grant fd>
//
// <store> is "builtin" (the game's own store) or "one-item" (a seven-by-seven store whose only
// item lies under the cart, so the first play frame takes it). After every frame the game writes
// one line to <report fd>:
//   <frame> <clock> <run clock> <items left> <cart x> <cart y> <cart angle>
// and, when the frames granted so far are used up, waits for a line "<frames> <seconds>" on
// <grant fd>: that many more frames, each moving the clock on by that many seconds. The clock
// stands still while a frame is drawn, so every reading of one frame is the same. (Frames shorter
// than the display's refresh period are lengthened to it by the frame pacing, as on a real
// display.)

#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "main/shell.h"
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
    ++stepper.frame;
    stepper.clock += stepper.step;
}

LevelDesc oneItemStore()
{
    static const char* const rows[7] = {
        "xxxxxxx", "x     x", "x     x", "x  o  x", "x     x", "x     x", "xxxxxxx",
    };
    LevelDesc desc;
    desc.width = 7;
    desc.height = 7;
    desc.rows = rows;
    desc.startX = 3.5f;  // the centre of the item's cell
    desc.startY = 3.5f;
    desc.startAngle = 0.0f;
    return desc;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[1], "builtin") != 0 && std::strcmp(argv[1], "one-item") != 0)) {
        std::fprintf(stderr, "usage: %s builtin|one-item <report fd> <grant fd>\n", argv[0]);
        return 2;
    }
    stepper.reportFd = std::atoi(argv[2]);
    stepper.grantFd = std::atoi(argv[3]);

    ShellHooks hooks;
    hooks.now = [] { return stepper.clock; };
    hooks.sleepUntil = [](double deadline) {  // no time passes but what the harness grants
        if (deadline > stepper.clock)
            stepper.clock = deadline;
    };
    hooks.frameDone = frameDone;
    const LevelDesc desc = std::strcmp(argv[1], "builtin") == 0 ? builtinLevel() : oneItemStore();
    return runGame(desc, hooks);
}
