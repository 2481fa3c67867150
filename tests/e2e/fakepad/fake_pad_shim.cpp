// Preloaded into the game (LD_PRELOAD) by the end-to-end harness, support/fake_pad.h: with
// $SHELVOY_FAKE_PAD naming the pad's directory, GLFW's Linux joystick code finds one evdev gamepad,
// /dev/input/event99 (fake_pad_device.h), whose events the harness writes. Where the variable is
// unset or empty, every call goes straight on to the C library.
//
// What GLFW does, and what the shim puts in its way:
// - opendir("/dev/input") and open("/dev/input/NAME") go to the pad's directory instead, so the
//   scan finds the pad exactly while it is plugged in (while its FIFO is there), and nothing else.
// - The opened pad is the read end of its FIFO. read() on it gives whole events, EAGAIN while none
//   is queued and ENODEV once the harness has pulled the pad out (the FIFO's writer has gone), as
//   the kernel does for a device that has gone away. It keeps the state that the events it hands
//   out leave behind: after each SYN_REPORT GLFW reads every axis again through EVIOCGABS. The
//   evdev ioctls (EVIOCGBIT, EVIOCGID, EVIOCGNAME, EVIOCGABS, EVIOCGKEY, ...) are answered here;
//   close() forgets the descriptor.
// - inotify_add_watch(fd, "/dev/input", ...) puts the pad's hotplug FIFO in the place of the
//   inotify instance `fd`, so that GLFW reads the IN_CREATE and IN_DELETE records the harness
//   writes there. Records queued before the watch are dropped, as inotify reports nothing from
//   before a watch.

// The C library's fortified inline wrappers of open() would clash with the definitions below.
#undef _FORTIFY_SOURCE

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fakepad/fake_pad_device.h"

namespace {

using e2e::fakePadAxes;
using e2e::fakePadKeys;

// How many descriptors of the pad may be open at once: GLFW holds one at a time (it closes the
// pulled-out pad before it opens the plugged-in one); the rest is room for anything else that
// opens it.
constexpr int padSlots = 4;

template <typename Function> Function* next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

ssize_t libcRead(int fd, void* buffer, size_t count)
{
    static auto* const function = next<ssize_t(int, void*, size_t)>("read");
    return function(fd, buffer, count);
}

int libcClose(int fd)
{
    static auto* const function = next<int(int)>("close");
    return function(fd);
}

int libcIoctl(int fd, unsigned long request, void* argument)
{
    static auto* const function = next<int(int, unsigned long, ...)>("ioctl");
    return function(fd, request, argument);
}

// The pad's directory, or empty: the shim stands aside.
const std::string& padDirectory()
{
    static const std::string directory = [] {
        const char* value = std::getenv(e2e::fakePadVariable);
        return std::string(value ? value : "");
    }();
    return directory;
}

// For a path in /dev/input (or /dev/input itself), the same path in the pad's directory, written
// into `buffer`; nullptr for any other path, or when the shim stands aside.
const char* redirected(const char* path, char (&buffer)[PATH_MAX])
{
    static constexpr char devInput[] = "/dev/input";
    constexpr size_t length = sizeof devInput - 1;
    const std::string& directory = padDirectory();
    if (directory.empty() || !path || std::strncmp(path, devInput, length) != 0 ||
        (path[length] != '\0' && path[length] != '/'))
        return nullptr;
    const int written = std::snprintf(buffer, sizeof buffer, "%s%s", directory.c_str(), path + length);
    if (written < 0 || static_cast<size_t>(written) >= sizeof buffer)
        buffer[0] = '\0';  // fails to open, as it should rather than reach the real /dev/input
    return buffer;
}

bool isDevInput(const char* path)
{
    return std::strcmp(path, "/dev/input") == 0 || std::strcmp(path, "/dev/input/") == 0;
}

bool isPadNode(const char* path)
{
    static const std::string node = std::string("/dev/input/") + e2e::fakePadNode;
    return path && node == path;
}

// An open pad: its descriptor (-1: a free slot) and the state the events read so far leave.
struct Pad {
    std::atomic<int> fd{-1};
    int values[ABS_CNT] = {};
    unsigned char keys[(KEY_CNT + 7) / 8] = {};
};

// Constant-initialised (every member has its initialiser): there before any constructor runs,
// whoever calls first.
Pad pads[padSlots];

Pad* findPad(int fd)
{
    if (fd < 0)
        return nullptr;
    for (Pad& pad : pads)
        if (pad.fd.load(std::memory_order_acquire) == fd)
            return &pad;
    return nullptr;
}

// Takes a slot for a pad just opened, at rest: sticks centred, triggers and buttons released.
bool addPad(int fd)
{
    for (Pad& pad : pads) {
        int expected = -1;
        if (!pad.fd.compare_exchange_strong(expected, -2))
            continue;
        std::fill(std::begin(pad.values), std::end(pad.values), 0);
        for (const e2e::FakePadAxis& axis : fakePadAxes)
            pad.values[axis.code] = std::clamp(0, axis.minimum, axis.maximum);
        std::fill(std::begin(pad.keys), std::end(pad.keys), 0);
        pad.fd.store(fd, std::memory_order_release);
        return true;
    }
    return false;
}

void setBit(unsigned char* bits, int bit, bool on)
{
    const unsigned char mask = static_cast<unsigned char>(1u << (bit % 8));
    bits[bit / 8] = static_cast<unsigned char>(on ? bits[bit / 8] | mask : bits[bit / 8] & ~mask);
}

void apply(Pad& pad, const input_event& event)
{
    if (event.type == EV_KEY && event.code < KEY_CNT)
        setBit(pad.keys, event.code, event.value != 0);
    else if (event.type == EV_ABS && event.code < ABS_CNT)
        pad.values[event.code] = event.value;
}

ssize_t readPad(Pad& pad, int fd, void* buffer, size_t count)
{
    if (count < sizeof(input_event)) {
        errno = EINVAL;
        return -1;
    }
    const ssize_t got = libcRead(fd, buffer, count - count % sizeof(input_event));
    if (got == 0) {  // the harness has closed the FIFO: the pad is gone
        errno = ENODEV;
        return -1;
    }
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(input_event)) <= got; at += sizeof(input_event)) {
        input_event event;
        std::memcpy(&event, static_cast<const char*>(buffer) + at, sizeof event);
        apply(pad, event);
    }
    return got;
}

// Copies `size` bytes of `bits` as the kernel does: at most what the caller has room for; returns
// the number of bytes copied.
int copyBits(const unsigned char* bits, size_t size, void* argument, size_t room)
{
    const size_t n = std::min(size, room);
    std::memcpy(argument, bits, n);
    return static_cast<int>(n);
}

int copyString(const char* text, void* argument, size_t room)
{
    return copyBits(reinterpret_cast<const unsigned char*>(text), std::strlen(text) + 1, argument, room);
}

// The evdev ioctls on a pad: the device's description and the state the events left.
int padIoctl(const Pad& pad, int fd, unsigned long request, void* argument)
{
    if (_IOC_TYPE(request) != 'E')
        return libcIoctl(fd, request, argument);
    const unsigned number = _IOC_NR(request);
    const size_t room = _IOC_SIZE(request);
    if (_IOC_DIR(request) == _IOC_READ) {
        unsigned char bits[(KEY_CNT + 7) / 8] = {};
        if (request == EVIOCGVERSION) {
            const int version = EV_VERSION;
            std::memcpy(argument, &version, sizeof version);
            return 0;
        }
        if (request == EVIOCGID) {
            std::memcpy(argument, &e2e::fakePadId, sizeof e2e::fakePadId);
            return 0;
        }
        if (number == _IOC_NR(EVIOCGNAME(0)))
            return copyString(e2e::fakePadName, argument, room);
        if (number == _IOC_NR(EVIOCGPHYS(0)) || number == _IOC_NR(EVIOCGUNIQ(0))) {
            errno = ENOENT;
            return -1;
        }
        if (number == _IOC_NR(EVIOCGKEY(0)))
            return copyBits(pad.keys, sizeof pad.keys, argument, room);
        if (number == _IOC_NR(EVIOCGPROP(0)) || number == _IOC_NR(EVIOCGLED(0)) ||
            number == _IOC_NR(EVIOCGSND(0)) || number == _IOC_NR(EVIOCGSW(0)))
            return copyBits(bits, sizeof bits, argument, room);  // none
        if (number >= _IOC_NR(EVIOCGBIT(0, 0)) && number < _IOC_NR(EVIOCGBIT(EV_CNT, 0))) {
            const unsigned type = number - _IOC_NR(EVIOCGBIT(0, 0));
            if (type == 0)
                for (int t : {EV_SYN, EV_KEY, EV_ABS})
                    setBit(bits, t, true);
            if (type == EV_KEY)
                for (int key : fakePadKeys)
                    setBit(bits, key, true);
            if (type == EV_ABS)
                for (const e2e::FakePadAxis& axis : fakePadAxes)
                    setBit(bits, axis.code, true);
            return copyBits(bits, sizeof bits, argument, room);
        }
        if (number >= _IOC_NR(EVIOCGABS(0)) && number < _IOC_NR(EVIOCGABS(ABS_CNT)) &&
            room == sizeof(input_absinfo)) {
            const unsigned code = number - _IOC_NR(EVIOCGABS(0));
            for (const e2e::FakePadAxis& axis : fakePadAxes)
                if (static_cast<unsigned>(axis.code) == code) {
                    const input_absinfo info = {pad.values[code], axis.minimum, axis.maximum,
                                                axis.fuzz,        axis.flat,    0};
                    std::memcpy(argument, &info, sizeof info);
                    return 0;
                }
        }
    }
    if (request == EVIOCGRAB)
        return 0;
    errno = EINVAL;
    return -1;
}

using OpenFunction = int(const char*, int, ...);

int openAny(OpenFunction* libcOpen, const char* path, int flags, mode_t mode)
{
    char buffer[PATH_MAX];
    const char* target = redirected(path, buffer);
    if (!target)
        return libcOpen(path, flags, mode);
    const int fd = libcOpen(target, flags, mode);
    if (fd >= 0 && isPadNode(path) && !addPad(fd)) {
        libcClose(fd);
        errno = EMFILE;
        return -1;
    }
    return fd;
}

mode_t modeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    static auto* const libcOpen = next<OpenFunction>("open");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAny(libcOpen, path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    static auto* const libcOpen = next<OpenFunction>("open64");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAny(libcOpen, path, flags, mode);
}

DIR* opendir(const char* path)
{
    static auto* const libcOpendir = next<DIR*(const char*)>("opendir");
    char buffer[PATH_MAX];
    const char* target = redirected(path, buffer);
    return libcOpendir(target ? target : path);
}

ssize_t read(int fd, void* buffer, size_t count)
{
    Pad* pad = findPad(fd);
    return pad ? readPad(*pad, fd, buffer, count) : libcRead(fd, buffer, count);
}

int close(int fd)
{
    if (Pad* pad = findPad(fd))
        pad->fd.store(-1, std::memory_order_release);  // before the number can be handed out again
    return libcClose(fd);
}

int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    const Pad* pad = findPad(fd);
    return pad ? padIoctl(*pad, fd, request, argument) : libcIoctl(fd, request, argument);
}

int inotify_add_watch(int fd, const char* path, uint32_t mask) noexcept
{
    static auto* const libcAddWatch = next<int(int, const char*, uint32_t)>("inotify_add_watch");
    static auto* const libcOpen = next<OpenFunction>("open");
    if (padDirectory().empty() || !path || !isDevInput(path))
        return libcAddWatch(fd, path, mask);
    const std::string hotplug = padDirectory() + "/" + e2e::fakePadHotplug;
    const int fifo = libcOpen(hotplug.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo < 0)
        return -1;
    char scratch[4096];
    while (libcRead(fifo, scratch, sizeof scratch) > 0) {
    }
    const int descriptorFlags = fcntl(fd, F_GETFD);
    if (descriptorFlags < 0 || dup3(fifo, fd, (descriptorFlags & FD_CLOEXEC) ? O_CLOEXEC : 0) < 0) {
        const int error = errno;
        libcClose(fifo);
        errno = error;
        return -1;
    }
    libcClose(fifo);
    return e2e::fakePadWatch;
}

}  // extern "C"
