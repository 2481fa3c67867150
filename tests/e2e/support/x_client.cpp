#include "support/x_client.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

// Xlib's default handler ends the process on any protocol error; a window that has just gone
// is an ordinary event in these tests.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event)
{
    lastXError = event->error_code;
    return 0;
}

struct XFreeDeleter {
    void operator()(void* p) const
    {
        if (p)
            XFree(p);
    }
};

int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

void searchTree(Display* display, Window window, const std::string& title, XClient& client, Window& found)
{
    if (found != None)
        return;
    if (client.title(window) == title) {
        found = window;
        return;
    }
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count && found == None; ++i)
        searchTree(display, children[i], title, client, found);
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

}  // namespace

XClient::XClient(const std::string& displayName)
{
    XSetErrorHandler(recordXError);
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    while (!(m_display = XOpenDisplay(displayName.c_str()))) {
        if (Clock::now() >= deadline)
            throw std::runtime_error("cannot connect to X display " + displayName);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        throw std::runtime_error("the X server has no XTEST extension");
    }
}

XClient::~XClient()
{
    for (KeyCode code : m_held)
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XSync(m_display, False);
    XCloseDisplay(m_display);
}

std::string XClient::title(Window window)
{
    const Atom netWmName = XInternAtom(m_display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_display, window, netWmName, 0, 1024, False, utf8, &type, &format, &items, &after,
                           &data) == Success &&
        data) {
        std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
        if (type == utf8 && format == 8)
            return std::string(reinterpret_cast<const char*>(data), items);
    }
    char* name = nullptr;
    if (XFetchName(m_display, window, &name) && name) {
        std::unique_ptr<char, XFreeDeleter> owned(name);
        return name;
    }
    return {};
}

Window XClient::waitForWindow(const std::string& title, Seconds timeout)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(timeout);
    for (;;) {
        Window found = None;
        searchTree(m_display, DefaultRootWindow(m_display), title, *this, found);
        if (found != None && viewable(m_display, found))
            return found;
        if (Clock::now() >= deadline)
            return None;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::pair<int, int> XClient::size(Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, window, &attributes))
        return {0, 0};
    return {attributes.width, attributes.height};
}

std::pair<int, int> XClient::position(Window window)
{
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
    return {x, y};
}

void XClient::focus(Window window)
{
    // A window manager is asked to make it the active window (1: as an application asks);
    // without one, the test sets the focus itself.
    if (managed())
        sendToRoot(window, "_NET_ACTIVE_WINDOW", {1, CurrentTime, None});
    else
        XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
    XSync(m_display, False);
}

KeyCode XClient::keycode(KeySym keysym)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (code == 0)
        throw std::runtime_error(std::string("no key for keysym ") + XKeysymToString(keysym));
    return code;
}

void XClient::press(KeyCode code)
{
    // GLFW drops a press stamped with the same server millisecond as the key's previous press,
    // and a held key's last auto-repeat press can share the millisecond of its release. No
    // finger presses a key again that fast, so neither does this one.
    const auto released = m_releasedAt.find(code);
    if (released != m_releasedAt.end())
        std::this_thread::sleep_until(released->second + std::chrono::milliseconds(30));
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XSync(m_display, False);
    m_held.insert(code);
}

void XClient::release(KeyCode code)
{
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XSync(m_display, False);
    m_releasedAt[code] = Clock::now();
    const auto it = m_held.find(code);
    if (it != m_held.end())
        m_held.erase(it);
}

void XClient::tap(KeyCode code)
{
    // As short as a finger's tap, long enough for a frame to see the key down.
    press(code);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    release(code);
}

XClient::Hold::Hold(XClient& client, std::vector<KeyCode> codes) : m_client(client), m_codes(std::move(codes))
{
    for (KeyCode code : m_codes)
        m_client.press(code);
}

XClient::Hold::~Hold()
{
    for (KeyCode code : m_codes)
        m_client.release(code);
}

XClient::Hold XClient::hold(std::initializer_list<KeySym> keysyms)
{
    std::vector<KeyCode> codes;
    for (KeySym keysym : keysyms)
        codes.push_back(keycode(keysym));
    return Hold(*this, std::move(codes));
}

void XClient::requestClose(Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &event);
    XSync(m_display, False);
}

void XClient::resize(Window window, int width, int height)
{
    XResizeWindow(m_display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(m_display, False);
}

namespace {

void setWmState(Display* display, Window window, long state)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const long value[2] = {state, static_cast<long>(None)};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value), 2);
}

}  // namespace

void XClient::minimise(Window window)
{
    if (managed()) {
        XIconifyWindow(m_display, window, DefaultScreen(m_display));  // asks the window manager
    } else {
        XUnmapWindow(m_display, window);
        setWmState(m_display, window, IconicState);
    }
    XSync(m_display, False);
}

void XClient::restore(Window window)
{
    if (!managed())
        setWmState(m_display, window, NormalState);
    XMapWindow(m_display, window);
    XSync(m_display, False);
    focus(window);
}

bool XClient::managed()
{
    const Atom check = XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(m_display, DefaultRootWindow(m_display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &items, &after, &data) == Success &&
                       items == 1;
    if (data)
        XFree(data);
    return found;
}

void XClient::sendToRoot(Window window, const char* messageType, std::initializer_list<long> data)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, messageType, False);
    event.xclient.format = 32;
    int i = 0;
    for (long value : data)
        event.xclient.data.l[i++] = value;
    XSendEvent(m_display, DefaultRootWindow(m_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(m_display, False);
}

int XClient::countFrames(Window window, Seconds duration)
{
    int eventBase = 0, errorBase = 0;
    if (!XDamageQueryExtension(m_display, &eventBase, &errorBase))
        throw std::runtime_error("the X server has no DAMAGE extension");
    const Damage damage = XDamageCreate(m_display, window, XDamageReportRawRectangles);
    XSync(m_display, False);
    // Each presented frame replaces the whole window in one request: one event, `more` unset.
    int frames = 0;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(duration);
    while (Clock::now() < end) {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == eventBase + XDamageNotify && !reinterpret_cast<XDamageNotifyEvent&>(event).more)
                ++frames;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    XDamageDestroy(m_display, damage);
    XSync(m_display, False);
    return frames;
}

Image XClient::screenshot(Window window)
{
    const auto [width, height] = size(window);
    if (width <= 0 || height <= 0)
        throw std::runtime_error("no window to take a screenshot of");
    struct ImageDeleter {
        void operator()(XImage* image) const { XDestroyImage(image); }
    };
    lastXError = 0;
    std::unique_ptr<XImage, ImageDeleter> shot(XGetImage(m_display, window, 0, 0,
                                                         static_cast<unsigned>(width),
                                                         static_cast<unsigned>(height), AllPlanes, ZPixmap));
    if (!shot) {
        // A window reaching past the screen edge cannot be read whole: take its part of the
        // screen instead.
        const Window root = DefaultRootWindow(m_display);
        int x = 0, y = 0;
        Window child = None;
        XTranslateCoordinates(m_display, window, root, 0, 0, &x, &y, &child);
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        const int x1 = std::min(x + width, DisplayWidth(m_display, DefaultScreen(m_display)));
        const int y1 = std::min(y + height, DisplayHeight(m_display, DefaultScreen(m_display)));
        if (x1 > x0 && y1 > y0)
            shot.reset(XGetImage(m_display, root, x0, y0, static_cast<unsigned>(x1 - x0),
                                 static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap));
    }
    if (!shot)
        throw std::runtime_error("XGetImage failed, X error " + std::to_string(lastXError));

    Image image;
    image.width = shot->width;
    image.height = shot->height;
    image.rgb.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
    const int rs = shiftOf(shot->red_mask), gs = shiftOf(shot->green_mask), bs = shiftOf(shot->blue_mask);
    size_t i = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned long p = XGetPixel(shot.get(), x, y);
            image.rgb[i++] = static_cast<std::uint8_t>((p & shot->red_mask) >> rs);
            image.rgb[i++] = static_cast<std::uint8_t>((p & shot->green_mask) >> gs);
            image.rgb[i++] = static_cast<std::uint8_t>((p & shot->blue_mask) >> bs);
        }
    }
    return image;
}

}  // namespace e2e
