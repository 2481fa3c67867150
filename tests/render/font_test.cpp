// The font file is read whole once, before any window opens: whatever stands under its name, the
// loader says in words what is wrong with it, and never waits on anything that is not a file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/font.h"
#include "support/temp_dir.h"

namespace {

std::vector<char> contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const char* data, size_t size)
{
    std::ofstream(path, std::ios::binary).write(data, static_cast<std::streamsize>(size));
}

// What readFontFile says of `path`; "read" when it accepts it.
std::string verdict(const std::string& path)
{
    try {
        readFontFile(path);
        return "read";
    } catch (const std::runtime_error& e) {
        return e.what();
    }
}

std::string refusal(const std::string& path, const std::string& why)
{
    return "Cannot load font \"Receipt.ttf\" from " + path + ": " + why;
}

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

TEST(FontFile, AGoodFontIsReadWholeAndAnythingElseIsRefusedInWords)
{
    // The tests run where the build put Receipt.ttf.
    const std::vector<char> font = contents("Receipt.ttf");
    ASSERT_GT(font.size(), 10000u);
    EXPECT_EQ(readFontFile("Receipt.ttf").size(), font.size());

    const TempDir dir;
    const std::string fifo = dir / "fifo.ttf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    alarm(10);  // a loader that blocks on the FIFO ends the test instead of hanging it
    EXPECT_EQ(verdict(fifo), refusal(fifo, "is not a regular file"));
    alarm(0);
    EXPECT_EQ(verdict(dir / ""), refusal(dir / "", "is not a regular file"));
    EXPECT_EQ(verdict(dir / "none.ttf"), refusal(dir / "none.ttf", "no such file"));

    const std::string empty = dir / "empty.ttf";
    writeFile(empty, "", 0);
    EXPECT_EQ(verdict(empty), refusal(empty, "is empty"));

    std::vector<char> noise(4096);
    unsigned state = 12345;
    for (char& byte : noise)
        byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    const std::string random = dir / "random.ttf";
    writeFile(random, noise.data(), noise.size());
    EXPECT_EQ(verdict(random), refusal(random, "is not a TrueType or OpenType font"));

    // A terabyte, all but its TrueType signature a hole: refused by its size, not read whole.
    const std::string huge = dir / "huge.ttf";
    writeFile(huge, font.data(), 4);
    std::filesystem::resize_file(huge, std::uintmax_t(1) << 40);
    EXPECT_EQ(verdict(huge), refusal(huge, "is 1048576 MiB, larger than any font (64 MiB at most)"));

    const std::string truncated = dir / "truncated.ttf";
    writeFile(truncated, font.data(), font.size() / 2);
    EXPECT_EQ(verdict(truncated), refusal(truncated, "not a font FreeType can read: unknown file format"));

    const std::string unreadable = dir / "unreadable.ttf";
    writeFile(unreadable, font.data(), font.size());
    ASSERT_EQ(chmod(unreadable.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(verdictAsNobody(unreadable), refusal(unreadable, "permission denied"));
}
