// Data files on Windows: where the executable is, what opening a file refuses, and paths beyond
// ASCII (the game installed under C:\Spiele\Einkaufswägen).

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/data_file.h"
#include "render/font.h"
#include "support/opening_verdict.h"
#include "support/temp_dir.h"

TEST(Win32DataFile, ExecutableDirIsWhereThisTestRuns)
{
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_GT(n, 0u);
    const std::filesystem::path path(std::wstring(self, n));
    EXPECT_EQ(std::filesystem::u8path(executableDir()), path.parent_path());
}

TEST(Win32DataFile, OnlyAFileOnADiskOpensWhateverItsName)
{
    EXPECT_EQ(verdict("NUL"), "is not a regular file");

    // A named pipe with a free instance: opening it would connect, not read a file.
    const wchar_t* pipeName = L"\\\\.\\pipe\\shelvoy-data-file-test";
    const HANDLE server =
        CreateNamedPipeW(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    EXPECT_EQ(verdict("\\\\.\\pipe\\shelvoy-data-file-test"), "is not a regular file");
    CloseHandle(server);

    const TempDir dir;
    EXPECT_EQ(verdict(dir.path().u8string()), "is not a regular file");
    EXPECT_EQ(verdict((dir.path() / "none.ttf").u8string()), "no such file");

    // The font read from a folder whose name is not ASCII, by its UTF-8 path.
    const std::filesystem::path folder = dir.path() / std::filesystem::u8path("Einkaufsw\xc3\xa4gen");
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file("Receipt.ttf", folder / "Receipt.ttf");
    const std::string font = (folder / "Receipt.ttf").u8string();
    EXPECT_EQ(verdict(font), "opened");
    EXPECT_EQ(readFontFile(font).size(), std::filesystem::file_size("Receipt.ttf"));
    EXPECT_TRUE(pathExists(font));

    // Held open by a program that shares it with no one (a font editor, say).
    const HANDLE held = CreateFileW((folder / "Receipt.ttf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(verdict(font), "another program has the file open");
    CloseHandle(held);
}
