// The font file is read whole once, before any window opens: whatever stands under its name, the
// loader says in words what is wrong with it, and never waits on anything that is not a file.

#include <gtest/gtest.h>

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

}  // namespace

TEST(FontFile, AGoodFontIsReadWholeAndAnythingElseIsRefusedInWords)
{
    // The tests run where the build put Receipt.ttf.
    const std::vector<char> font = contents("Receipt.ttf");
    ASSERT_GT(font.size(), 10000u);
    EXPECT_EQ(readFontFile("Receipt.ttf").size(), font.size());

    // FIFOs, pipes and devices, which could block the read, are the platform tests' business.
    const TempDir dir;
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

    // 64 GiB, more than the machine's memory, all but its TrueType signature a hole: refused by
    // its size, not read whole.
    const std::string huge = dir / "huge.ttf";
    writeFile(huge, font.data(), 4);
    std::filesystem::resize_file(huge, std::uintmax_t(1) << 36);
    EXPECT_EQ(verdict(huge), refusal(huge, "is 65536 MiB, larger than any font (64 MiB at most)"));
    std::filesystem::resize_file(huge, (std::uintmax_t(64) << 20) + 1);
    EXPECT_EQ(verdict(huge), refusal(huge, "is over 64 MiB, larger than any font (64 MiB at most)"));

    const std::string truncated = dir / "truncated.ttf";
    writeFile(truncated, font.data(), font.size() / 2);
    EXPECT_EQ(verdict(truncated), refusal(truncated, "not a font FreeType can read: unknown file format"));
}
