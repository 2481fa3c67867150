#pragma once

// A private Xvfb for one test: 1024x768x24, no TCP, never resets, gone with the object.

#include <memory>
#include <string>

#include "support/child_process.h"

namespace e2e {

class XServer {
public:
    /// Starts Xvfb and waits (a few seconds at most) until it has chosen its display.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    /// ":N"
    const std::string& name() const { return m_name; }

    /// The test environment with DISPLAY set to this server.
    std::vector<std::string> environment() const;

    /// Runs `setxkbmap <layout>` against this server; throws when it fails.
    void setKeymap(const std::string& layout);

private:
    std::unique_ptr<ChildProcess> m_process;
    std::string m_name;
};

}  // namespace e2e
