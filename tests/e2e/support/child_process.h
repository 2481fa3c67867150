#pragma once

// A program started by a test: its own process group, stderr captured, killed with the test.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

/// The environment of the test process, with `name` removed (nullptr: nothing removed) and
/// the given NAME=value entries added.
std::vector<std::string> environmentWith(const char* remove, const std::vector<std::string>& add);

struct Launch {
    std::string program;                 ///< absolute path of the executable
    std::vector<std::string> arguments;  ///< after argv[0]
    std::string workingDirectory = ".";
    std::vector<std::string> environment;  ///< NAME=value entries, the whole environment
    std::vector<int> keepOpen;             ///< extra file descriptors the child inherits
};

/// One child process. It runs in a process group of its own and dies with the test process
/// (parent-death signal); the destructor kills the group and reaps the child if it still runs.
class ChildProcess {
public:
    explicit ChildProcess(const Launch& launch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// True while the process has not exited (reaps it when it has).
    bool running();

    /// Waits up to `timeout` for the exit; the exit status (code, or 128 + signal) or nothing.
    std::optional<int> waitFor(Seconds timeout);

    /// Everything the child wrote to stderr so far.
    const std::string& stderrText();
    /// The read end of the child's stderr, for poll() beside other descriptors (-1 once it has
    /// ended); whenever it is readable, stderrText() takes what is there, so the child never
    /// blocks on a full pipe.
    int stderrDescriptor() const { return m_stderr; }

    /// SIGTERM, a short grace period, then SIGKILL, to the whole group; reaps the child.
    void stop();

    /// Processor time the process has used so far, user and system, all threads, seconds.
    double cpuSeconds() const;

private:
    void drain();

    pid_t m_pid = -1;
    int m_stderr = -1;
    std::optional<int> m_status;
    std::string m_stderrText;
};

/// Runs a program to its end (killed after `timeout`); returns its exit status, or nothing
/// when it had to be killed.
std::optional<int> runToEnd(const Launch& launch, Seconds timeout, std::string* stderrText = nullptr);

}  // namespace e2e
