#pragma once

// A private Xvfb for one test: 1024x768x24 unless asked otherwise, no TCP, never resets, gone
// with the object.

#include <memory>
#include <string>

#include "support/child_process.h"

namespace e2e {

class XServer {
public:
    /// Starts Xvfb with one screen of `screen` ("WIDTHxHEIGHTxDEPTH") and waits (a few seconds at
    /// most) until it has chosen its display.
    explicit XServer(const std::string& screen = "1024x768x24");
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    /// ":N"
    const std::string& name() const { return m_name; }

    /// The test environment with DISPLAY set to this server.
    std::vector<std::string> environment() const;

    /// Runs `setxkbmap <layout>` against this server; throws when it fails.
    void setKeymap(const std::string& layout);

    /// Merges X resources ("Xft.dpi: 192") into the server's resource database, as a desktop
    /// session does at login (`xrdb -nocpp -merge`); throws when it fails.
    void mergeResources(const std::string& resources);

    /// Starts a window manager (the absolute path of an EWMH one, such as openbox) on this server
    /// and waits until it manages the screen; it stops with the server. Throws when it does not
    /// take the screen within a few seconds.
    void startWindowManager(const std::string& program);

private:
    // Runs an X client program against this server to its end; throws when it fails.
    void run(const std::string& program, const std::vector<std::string>& arguments);

    std::unique_ptr<ChildProcess> m_process;
    std::string m_name;
    std::unique_ptr<ChildProcess> m_windowManager;  // declared last: stopped before the server
};

}  // namespace e2e
