#include "support/x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

constexpr double startTimeout = 10.0;  // seconds; Xvfb usually needs a fraction of one

std::string whichXvfb()
{
    for (const char* path : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"})
        if (access(path, X_OK) == 0)
            return path;
    throw std::runtime_error("Xvfb not found");
}

}  // namespace

XServer::XServer(const std::string& screen)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));

    Launch launch;
    launch.program = whichXvfb();
    launch.arguments = {"-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-noreset", "-nolisten",
                        "tcp"};
    launch.environment = environmentWith("DISPLAY", {});
    launch.workingDirectory = "/";
    launch.keepOpen = {fds[1]};
    try {
        m_process = std::make_unique<ChildProcess>(launch);
    } catch (...) {
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    close(fds[1]);

    // Xvfb writes the display number and a newline once it accepts clients.
    std::string number;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(Seconds(startTimeout));
    while (number.empty() || number.back() != '\n') {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0 || read(fds[0], &c, 1) != 1) {
            close(fds[0]);
            throw std::runtime_error("Xvfb did not start: " + m_process->stderrText());
        }
        number += c;
    }
    close(fds[0]);
    number.pop_back();
    m_name = ":" + number;
}

XServer::~XServer() = default;  // the process object stops Xvfb (SIGTERM lets it remove its lock)

std::vector<std::string> XServer::environment() const
{
    return environmentWith("DISPLAY", {"DISPLAY=" + m_name});
}

void XServer::run(const std::string& program, const std::vector<std::string>& arguments)
{
    Launch launch;
    launch.program = program;
    launch.arguments = arguments;
    launch.environment = environment();
    std::string errors;
    const std::optional<int> status = runToEnd(launch, Seconds(10.0), &errors);
    if (status != 0)
        throw std::runtime_error(program + " failed: " + errors);
}

void XServer::setKeymap(const std::string& layout)
{
    run("/usr/bin/setxkbmap", {"-display", m_name, layout});
}

void XServer::mergeResources(const std::string& resources)
{
    char path[] = "/tmp/shelvoy-resources-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        throw std::runtime_error(std::string("mkstemp: ") + std::strerror(errno));
    const bool written =
        write(fd, resources.data(), resources.size()) == static_cast<ssize_t>(resources.size());
    close(fd);
    try {
        if (!written)
            throw std::runtime_error("cannot write the X resources");
        run("/usr/bin/xrdb", {"-display", m_name, "-nocpp", "-merge", path});
    } catch (...) {
        unlink(path);
        throw;
    }
    unlink(path);
}

void XServer::startWindowManager(const std::string& program)
{
    Launch launch;
    launch.program = program;
    launch.environment = environment();
    launch.workingDirectory = "/";
    m_windowManager = std::make_unique<ChildProcess>(launch);

    // An EWMH window manager announces itself on the root window once it has taken the screen.
    Display* display = XOpenDisplay(m_name.c_str());
    if (!display)
        throw std::runtime_error("cannot connect to X display " + m_name);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(Seconds(startTimeout));
    bool managed = false;
    while (!managed && Clock::now() < deadline && m_windowManager->running()) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        managed = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                     &type, &format, &items, &after, &data) == Success &&
                  items == 1;
        if (data)
            XFree(data);
        if (!managed)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XCloseDisplay(display);
    if (!managed)
        throw std::runtime_error(program + " did not take the screen: " + m_windowManager->stderrText());
}

}  // namespace e2e
