#pragma once

// Where the build put what the tests run; the build system passes these in.

#include <string>

namespace e2e {

/// The shipped game executable.
inline std::string gamePath() { return SHELVOY_E2E_GAME; }

/// The test build of the game that the harness steps frame by frame (stepped_game.cpp).
inline std::string steppedGamePath() { return SHELVOY_E2E_STEPPED_GAME; }

/// A directory holding Receipt.ttf, to run the games in.
inline std::string runDirectory() { return SHELVOY_E2E_RUN_DIR; }

/// Where screenshots are saved.
inline std::string screenshotDirectory() { return SHELVOY_E2E_SCREENSHOTS; }

}  // namespace e2e
