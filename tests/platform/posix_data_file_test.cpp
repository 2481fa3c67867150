// Data files on a POSIX system: where the executable is, and what opening a file refuses.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <string>

#include "platform/data_file.h"
#include "support/opening_verdict.h"
#include "support/temp_dir.h"

namespace {

// The verdict for a user who may not read the file: root reads anything, so it asks as nobody.
std::string verdictAsNobody(const std::string& path)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(1);
        const std::string said = verdict(path);
        _exit(write(pipeFds[1], said.data(), said.size()) == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    waitpid(child, nullptr, 0);
    return said;
}

}  // namespace

TEST(PosixDataFile, ExecutableDirIsWhereThisTestRuns)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    const std::string path(self, static_cast<size_t>(n));
    EXPECT_EQ(executableDir(), path.substr(0, path.rfind('/')));
}

TEST(PosixDataFile, OnlyARegularFileTheUserMayReadOpens)
{
    const TempDir dir;
    const std::string fifo = dir / "fifo.ttf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    alarm(10);  // an open that blocks on the FIFO ends the test instead of hanging it
    EXPECT_EQ(verdict(fifo), "is not a regular file");
    alarm(0);
    EXPECT_EQ(verdict("/dev/null"), "is not a regular file");

    const std::string unreadable = dir / "unreadable.ttf";
    std::ofstream(unreadable) << "x";
    ASSERT_EQ(chmod(unreadable.c_str(), 0), 0);
    EXPECT_EQ(verdictAsNobody(unreadable), "permission denied");
    ASSERT_EQ(chmod(unreadable.c_str(), 0644), 0);
    EXPECT_EQ(verdictAsNobody(unreadable), "opened");
}
