// Launch time: from starting the real executable to its first countdown frame on screen,
// watched from outside through the X server (the first pure-white pixels of the "3").

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

Window findWindow(Display* display, Window root, const char* title)
{
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0)
                found = children[i];
            XFree(name);
        }
        if (!found)
            found = findWindow(display, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

// Whether the middle of the window shows the countdown's white letters yet.
bool showsCountdown(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    const int w = 200;
    const int h = 200;
    XImage* image = XGetImage(display, window, attributes.width / 2 - w / 2, attributes.height / 2 - h / 2, w,
                              h, AllPlanes, ZPixmap);
    if (!image)
        return false;
    int white = 0;
    for (int y = 0; y < h; y += 2)
        for (int x = 0; x < w; x += 2)
            white += (XGetPixel(image, x, y) & 0xFFFFFF) == 0xFFFFFF;
    XDestroyImage(image);
    return white > 50;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }  // the window may vanish mid-query

void BM_LaunchToFirstFrame(benchmark::State& state)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no display");
        return;
    }
    XSetErrorHandler(ignoreErrors);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            execl(SHELVOY_EXECUTABLE, SHELVOY_EXECUTABLE, static_cast<char*>(nullptr));
            _exit(127);
        }
        Window window = 0;
        bool seen = false;
        while (!seen && Clock::now() - start < std::chrono::seconds(10)) {
            if (!window)
                window = findWindow(display, DefaultRootWindow(display), "Shelvoy! - prototype7-4-gf937efb");
            seen = window && showsCountdown(display, window);
            if (!seen)
                usleep(200);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (!seen) {
            state.SkipWithError("the countdown never showed");
            break;
        }
        state.SetIterationTime(seconds);
    }
    XCloseDisplay(display);
}

}  // namespace

BENCHMARK(BM_LaunchToFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
