// The shell's top-level report where the system has no display to open a window on (X11's
// DISPLAY unset).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "main/shell.h"
#include "world/level.h"

TEST(TopLevel, NoDisplayIsReportedOnStderrWithExitCodeOne)
{
    int errPipe[2];
    ASSERT_EQ(pipe(errPipe), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(errPipe[1], STDERR_FILENO);
        close(errPipe[0]);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        _exit(runGame(builtinLevel()));
    }
    close(errPipe[1]);
    std::string err;
    char buffer[512];
    for (ssize_t n; (n = read(errPipe[0], buffer, sizeof buffer)) > 0;)
        err.append(buffer, static_cast<size_t>(n));
    close(errPipe[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(err.rfind("Inconceivable!: GLFW error: src/main/shell.cpp:", 0), 0u) << err;
    EXPECT_NE(err.find(": glfwInit failed"), std::string::npos) << err;
}
