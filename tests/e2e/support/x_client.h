#pragma once

// The test's own connection to an X server: finding windows, keys through XTest, window
// requests as a window manager would make them, and screenshots.

#include <X11/Xlib.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/image.h"

namespace e2e {

class XClient {
public:
    /// Connects to `displayName` (retrying for a few seconds); throws without XTest.
    explicit XClient(const std::string& displayName);
    /// Releases every key still held, then disconnects.
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    /// The first window (searched depth first from the root) whose _NET_WM_NAME or WM_NAME
    /// is exactly `title`, once it is viewable; None when there is none by the deadline.
    Window waitForWindow(const std::string& title, Seconds timeout);

    /// The window's _NET_WM_NAME (UTF-8), or its WM_NAME when it has none.
    std::string title(Window window);

    /// Client-area size; {0, 0} once the window is gone.
    std::pair<int, int> size(Window window);
    /// Where the client area's top left corner stands on the screen.
    std::pair<int, int> position(Window window);

    /// Gives the window the keyboard focus: through the window manager when there is one.
    void focus(Window window);

    /// Whether a window manager manages the screen (an EWMH one announces itself on the root).
    bool managed();

    /// The keycode the current keymap gives a keysym (XK_Escape, XK_e, ...).
    KeyCode keycode(KeySym keysym);

    /// Presses a key; a key released less than a finger's re-press time ago waits out the rest.
    void press(KeyCode code);
    void release(KeyCode code);
    /// Press and release at once.
    void tap(KeyCode code);
    void tapKey(KeySym keysym) { tap(keycode(keysym)); }

    /// Keys held for the lifetime of the object.
    class Hold {
    public:
        Hold(XClient& client, std::vector<KeyCode> codes);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        XClient& m_client;
        std::vector<KeyCode> m_codes;
    };
    Hold hold(std::initializer_list<KeySym> keysyms);
    Hold holdCodes(std::vector<KeyCode> codes) { return Hold(*this, std::move(codes)); }

    /// What a window manager sends when the user closes the window: WM_DELETE_WINDOW.
    void requestClose(Window window);

    /// Resizes the window as a window manager would (there is none to object).
    void resize(Window window, int width, int height);

    /// Minimises the window and restores it: through the window manager when there is one, else
    /// as one would: unmapped (mapped and given the focus) and marked iconic (normal) in its
    /// WM_STATE.
    void minimise(Window window);
    void restore(Window window);

    /// How many times the window's contents are replaced (frames presented) within the next
    /// `duration`, counted through the DAMAGE extension.
    int countFrames(Window window, Seconds duration);

    /// The window's current contents; throws when they cannot be read.
    Image screenshot(Window window);

private:
    // A client message about `window` to the root window, where the window manager hears it.
    void sendToRoot(Window window, const char* messageType, std::initializer_list<long> data);

    Display* m_display = nullptr;
    std::multiset<KeyCode> m_held;
    std::map<KeyCode, Clock::time_point> m_releasedAt;
};

}  // namespace e2e
