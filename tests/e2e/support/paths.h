#pragma once

// Where the build put what the tests run; the build system passes these in.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace e2e {

// The smoke tests of the shipped game also play another build of it: $SHELVOY_E2E_GAME names its
// executable, and $SHELVOY_E2E_LAUNCHER, when set, the program that starts it (wine, for the
// Windows build's shelvoy.exe; scripts/test.sh sets both, and a window manager).

/// The shipped game executable: this build's, or the one $SHELVOY_E2E_GAME names.
inline std::string gamePath()
{
    const char* other = std::getenv("SHELVOY_E2E_GAME");
    return other && *other ? other : SHELVOY_E2E_GAME;
}

/// The absolute path of the program that starts the game (wine), or empty: started directly.
inline std::string gameLauncher()
{
    const char* launcher = std::getenv("SHELVOY_E2E_LAUNCHER");
    return launcher && *launcher ? launcher : "";
}

/// The window manager each test's X server runs, $SHELVOY_E2E_WINDOW_MANAGER (an absolute path;
/// wine learns that its window was minimised only from one), or empty: none, as a rule.
inline std::string gameWindowManager()
{
    const char* manager = std::getenv("SHELVOY_E2E_WINDOW_MANAGER");
    return manager && *manager ? manager : "";
}

/// `path` as the game sees it: under wine, on drive Z: with backslashes.
inline std::string pathAsTheGameSeesIt(const std::filesystem::path& path)
{
    if (gameLauncher().empty())
        return path.string();
    std::string windows = "Z:" + path.string();
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

/// The test build of the game that the harness steps frame by frame (stepped_game.cpp).
inline std::string steppedGamePath() { return SHELVOY_E2E_STEPPED_GAME; }

/// A directory holding Receipt.ttf, to run the games in.
inline std::string runDirectory() { return SHELVOY_E2E_RUN_DIR; }

/// Where screenshots are saved.
inline std::string screenshotDirectory() { return SHELVOY_E2E_SCREENSHOTS; }

}  // namespace e2e
