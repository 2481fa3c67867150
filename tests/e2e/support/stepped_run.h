#pragma once

// The test build of the game (stepped_game.cpp) on its own X server, stepped frame by frame in
// game time the test controls: between two frames the game waits, so every screenshot is of a
// known frame and every key press lands between known frames.

#include <optional>
#include <string>
#include <vector>

#include "support/game_run.h"

namespace e2e {

/// One frame as the game reports it once the frame is on screen.
struct FrameReport {
    long frame = -1;        ///< 0 for the countdown's first frame
    double clock = 0.0;     ///< the frame's clock reading, seconds
    double runClock = 0.0;  ///< the World's run clock after the frame, seconds
    int itemsLeft = 0;      ///< after the frame
    double cartX = 0.0;     ///< cart position, units
    double cartY = 0.0;
    double cartAngle = 0.0;  ///< cart heading, radians
};

/// The usual step: 1/32 s, exact in binary (so the countdown's second is exactly 32 steps) and
/// longer than a 60 Hz display's period.
inline constexpr double frameStep = 1.0 / 32.0;
/// Frames of one countdown word at frameStep: clock readings 0, 1/32, ..., 1 after its start.
inline constexpr int wordFrames = 33;
/// Frames of the whole countdown.
inline constexpr int countdownFrames = 4 * wordFrames;

enum class Store {
    builtin,  ///< the game's own store
    oneItem,  ///< seven by seven, its one item under the cart: the first play frame takes it
    aisle,    ///< one aisle, three items in a row ahead of the cart with a cell between each two
};

struct SteppedOptions {
    Store store = Store::builtin;
    std::string workingDirectory = runDirectory();
    std::string keymap;                  ///< as GameOptions::keymap
    std::string screen = "1024x768x24";  ///< as GameOptions::screen
    std::string resources;               ///< as GameOptions::resources
    std::string windowManager;           ///< as GameOptions::windowManager; none by default
    /// As GameOptions::environment: NAME=value entries in place of the test's own.
    std::vector<std::string> environment;
    /// Where the game writes its sound, rendered in game time (see stepped_game.cpp); empty: nowhere.
    std::string soundFile;
};

// The two pipes to the game, made before the game starts.
class StepPipes {
protected:
    StepPipes();
    ~StepPipes();
    StepPipes(const StepPipes&) = delete;
    StepPipes& operator=(const StepPipes&) = delete;
    GameOptions gameOptions(const SteppedOptions& options) const;
    void closeGameEnds();

    int m_reportRead = -1, m_reportWrite = -1;
    int m_grantRead = -1, m_grantWrite = -1;
};

class SteppedRun : private StepPipes, public GameRun {
public:
    explicit SteppedRun(const SteppedOptions& options = {});

    /// Waits for the countdown's first frame, finds the window and gives it the focus; false
    /// when the game ended or showed nothing first.
    bool start();

    /// Lets the game run `frames` more frames, each `step` seconds of game time, and waits until
    /// the last is done; false when the game ended first.
    bool advance(int frames = 1, double step = frameStep);
    /// Runs frames until the countdown is over: the next frame is the first of play.
    bool finishCountdown() { return advance(countdownFrames - 1 - static_cast<int>(last().frame)); }

    /// The sound written so far, the left channel (both are the same), at audioFrameRate from the
    /// first frame's clock reading; empty without SteppedOptions::soundFile.
    std::vector<float> sound() const;
    /// The sample at which a sound asked for in `frame` starts.
    std::size_t soundFrameOf(const FrameReport& frame) const;

    /// The latest frame's report; every report so far, in order.
    const FrameReport& last() const { return m_reports.back(); }
    const std::vector<FrameReport>& reports() const { return m_reports; }

    /// Holds `key` down (a close request for NoSymbol), lets the game run one more frame and
    /// waits for its exit: the exit status, or nothing when it is still running after `timeout`
    /// (it would be waiting for another frame).
    std::optional<int> quitWith(KeySym key, Seconds timeout = Seconds(5.0));

private:
    bool readReport();

    std::string m_soundFile;
    std::string m_pending;
    std::vector<FrameReport> m_reports;
};

}  // namespace e2e
