#include "support/fake_pad.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "fakepad/fake_pad_device.h"

namespace e2e {

namespace {

// The device FIFO's size, bytes: some 43,000 events where a pipe holds 2,730 by default, so that
// only a test far ahead of the game's frames fills it (the most an unprivileged process may ask).
constexpr int nodeCapacity = 1 << 20;

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error("fake pad: " + what + ": " + std::strerror(errno));
}

// Makes a FIFO at `path` and opens both its ends, so that it needs no reader to be written and no
// writer to be opened.
int makeFifo(const std::string& path)
{
    if (mkfifo(path.c_str(), 0600) != 0)
        throw systemError("mkfifo " + path);
    const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw systemError("open " + path);
    return fd;
}

// One write, so that the game reads the records whole: the pipe takes up to PIPE_BUF bytes at once.
void writeRecords(int fd, const void* data, size_t size)
{
    const ssize_t written = write(fd, data, size);
    if (written == static_cast<ssize_t>(size))
        return;
    if (written < 0 && errno == EAGAIN)
        throw std::runtime_error(
            "fake pad: the game has not read the pad's events for a long while (its FIFO is full)");
    throw systemError("write");
}

const FakePadAxis& axisOf(int code)
{
    return *std::find_if(std::begin(fakePadAxes), std::end(fakePadAxes),
                         [code](const FakePadAxis& axis) { return axis.code == code; });
}

// The raw value nearest to `value` (-1..1) as GLFW scales the axis: -1 at its minimum, +1 at its
// maximum; a tie goes up, so that 0 is a centred stick's raw 0.
int rawValue(int code, float value)
{
    const FakePadAxis& axis = axisOf(code);
    const double fraction = (std::clamp(static_cast<double>(value), -1.0, 1.0) + 1.0) / 2.0;
    return axis.minimum + static_cast<int>(std::floor(fraction * (axis.maximum - axis.minimum) + 0.5));
}

input_event event(int type, int code, int value)
{
    input_event e{};
    e.type = static_cast<__u16>(type);
    e.code = static_cast<__u16>(code);
    e.value = value;
    return e;
}

}  // namespace

FakePad::FakePad(bool pluggedIn)
{
    m_hotplug = makeFifo(m_directory / fakePadHotplug);
    if (pluggedIn)
        plugIn();
}

FakePad::~FakePad()
{
    try {
        if (pluggedIn())
            pullOut();
    } catch (const std::exception&) {
        // A game that stopped reading: nothing left to tell it.
    }
    close(m_hotplug);
}

std::vector<std::string> FakePad::environment() const
{
    return {std::string("LD_PRELOAD=") + SHELVOY_E2E_FAKE_PAD_PRELOAD,
            std::string(fakePadVariable) + "=" + directory().string()};
}

void FakePad::plugIn()
{
    if (pluggedIn())
        throw std::logic_error("fake pad: plugged in twice");
    // Made under another name and renamed: a game that looks in between must not find a device
    // without its writer, which it would take for one already gone.
    const std::string making = m_directory / "making";
    const int node = makeFifo(making);
    fcntl(node, F_SETPIPE_SZ, nodeCapacity);  // the default size will do where this is refused
    if (rename(making.c_str(), (m_directory / fakePadNode).c_str()) != 0) {
        const std::runtime_error error = systemError("rename " + making);
        close(node);
        throw error;
    }
    m_node = node;
    std::fill(std::begin(m_dpad), std::end(m_dpad), false);
    sendHotplug(IN_CREATE);
}

void FakePad::pullOut()
{
    if (!pluggedIn())
        throw std::logic_error("fake pad: pulled out while out");
    unlink((m_directory / fakePadNode).c_str());
    // What is still queued goes: the game's next read finds no writer and takes the pad for gone.
    char scratch[4096];
    while (read(m_node, scratch, sizeof scratch) > 0) {
    }
    close(m_node);
    m_node = -1;
    sendHotplug(IN_DELETE);
}

void FakePad::stick(int stickIndex, float x, float y)
{
    if (stickIndex != 0 && stickIndex != 1)
        throw std::invalid_argument("fake pad: no stick " + std::to_string(stickIndex));
    const int xCode = stickIndex == 0 ? ABS_X : ABS_RX;
    const int yCode = stickIndex == 0 ? ABS_Y : ABS_RY;
    send({event(EV_ABS, xCode, rawValue(xCode, x)), event(EV_ABS, yCode, rawValue(yCode, y))});
}

void FakePad::press(PadButton button) { setButton(button, true); }

void FakePad::release(PadButton button) { setButton(button, false); }

void FakePad::setButton(PadButton button, bool down)
{
    const int index = static_cast<int>(button);
    if (button >= PadButton::dpadUp) {
        m_dpad[index - static_cast<int>(PadButton::dpadUp)] = down;
        sendDpad();
        return;
    }
    // GLFW's mapping of this controller takes gamepad button i from joystick button i, the i-th
    // key in code order.
    send({event(EV_KEY, fakePadKeys[index], down ? 1 : 0)});
}

void FakePad::sendDpad()
{
    // Held up, right, down, left; the hat reads -1 for left and up, as xpad reports it.
    const int x = static_cast<int>(m_dpad[1]) - static_cast<int>(m_dpad[3]);
    const int y = static_cast<int>(m_dpad[2]) - static_cast<int>(m_dpad[0]);
    send({event(EV_ABS, ABS_HAT0X, x), event(EV_ABS, ABS_HAT0Y, y)});
}

void FakePad::send(std::vector<input_event> events)
{
    if (!pluggedIn())
        throw std::logic_error("fake pad: played while pulled out");
    events.push_back(event(EV_SYN, SYN_REPORT, 0));
    timeval now{};
    gettimeofday(&now, nullptr);
    for (input_event& e : events) {
        e.input_event_sec = now.tv_sec;
        e.input_event_usec = now.tv_usec;
    }
    writeRecords(m_node, events.data(), events.size() * sizeof(input_event));
}

void FakePad::sendHotplug(unsigned mask)
{
    // As inotify writes it: the name's length rounded up to the record's alignment, NUL-padded.
    constexpr size_t nameLength = std::char_traits<char>::length(fakePadNode);
    constexpr size_t nameRoom = sizeof(inotify_event);
    static_assert(nameLength < nameRoom, "the node's name fits its record");
    char record[sizeof(inotify_event) + nameRoom] = {};
    inotify_event header{};
    header.wd = fakePadWatch;
    header.mask = mask;
    header.len = nameRoom;
    std::memcpy(record, &header, sizeof header);
    std::memcpy(record + sizeof header, fakePadNode, nameLength);
    writeRecords(m_hotplug, record, sizeof record);
}

}  // namespace e2e
