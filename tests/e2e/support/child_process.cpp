#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

int exitStatus(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

std::vector<std::string> environmentWith(const char* remove, const std::vector<std::string>& add)
{
    std::vector<std::string> result;
    const std::string prefix = remove ? std::string(remove) + "=" : std::string();
    for (char** entry = environ; *entry; ++entry) {
        const std::string e = *entry;
        if (!prefix.empty() && e.compare(0, prefix.size(), prefix) == 0)
            continue;
        result.push_back(e);
    }
    result.insert(result.end(), add.begin(), add.end());
    return result;
}

ChildProcess::ChildProcess(const Launch& launch)
{
    // Everything the child needs is built before the fork: after it, only plain system calls.
    std::vector<std::string> argvStrings{launch.program};
    argvStrings.insert(argvStrings.end(), launch.arguments.begin(), launch.arguments.end());
    std::vector<std::string> envStrings = launch.environment;
    std::vector<char*> argv = pointers(argvStrings);
    std::vector<char*> envp = pointers(envStrings);
    const char* program = launch.program.c_str();
    const char* directory = launch.workingDirectory.c_str();

    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t parent = getpid();

    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(125);
        setpgid(0, 0);
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        for (int fd : launch.keepOpen)
            fcntl(fd, F_SETFD, 0);
        if (chdir(directory) != 0)
            _exit(126);
        execve(program, argv.data(), envp.data());
        _exit(127);
    }
    setpgid(m_pid, m_pid);  // no race with the child's own call: whichever runs first wins
    close(errPipe[1]);
    if (devNull >= 0)
        close(devNull);
    m_stderr = errPipe[0];
    fcntl(m_stderr, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess()
{
    stop();
    if (m_stderr >= 0)
        close(m_stderr);
}

void ChildProcess::drain()
{
    if (m_stderr < 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(m_stderr, buffer, sizeof buffer);
        if (n > 0) {
            m_stderrText.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) {  // every writer has gone
            close(m_stderr);
            m_stderr = -1;
        }
        return;
    }
}

bool ChildProcess::running()
{
    drain();
    if (m_status)
        return false;
    int status = 0;
    const pid_t r = waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid) {
        m_status = exitStatus(status);
        drain();
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::waitFor(Seconds timeout)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(timeout);
    while (running()) {
        if (Clock::now() >= deadline)
            return std::nullopt;
        if (m_stderr >= 0) {
            pollfd p{m_stderr, POLLIN, 0};
            poll(&p, 1, 5);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return m_status;
}

const std::string& ChildProcess::stderrText()
{
    drain();
    return m_stderrText;
}

void ChildProcess::stop()
{
    if (m_pid <= 0 || !running())
        return;
    // The child is not reaped yet, so its process id (and group id) is still ours.
    kill(-m_pid, SIGTERM);
    if (!waitFor(Seconds(1.0))) {
        kill(-m_pid, SIGKILL);
        int status = 0;
        if (waitpid(m_pid, &status, 0) == m_pid)
            m_status = exitStatus(status);
    }
}

double ChildProcess::cpuSeconds() const
{
    std::ifstream file("/proc/" + std::to_string(m_pid) + "/stat");
    std::string stat;
    std::getline(file, stat);
    // After the command name in parentheses: state, then fields 4 to 13, then utime and stime.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 13; ++i)
        fields >> field;
    unsigned long long user = 0, system = 0;
    if (!(fields >> user >> system))
        throw std::runtime_error("cannot read the processor time of process " + std::to_string(m_pid));
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::optional<int> runToEnd(const Launch& launch, Seconds timeout, std::string* stderrText)
{
    ChildProcess child(launch);
    const std::optional<int> status = child.waitFor(timeout);
    if (stderrText)
        *stderrText = child.stderrText();
    return status;
}

}  // namespace e2e
