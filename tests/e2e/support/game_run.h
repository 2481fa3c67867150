#pragma once

// One game on its own X server, as a test drives it: start, find the window, wait, look, quit.

#include <optional>
#include <string>

#include "support/child_process.h"
#include "support/image.h"
#include "support/paths.h"
#include "support/temp_dir.h"
#include "support/x_client.h"
#include "support/x_server.h"

namespace e2e {

inline const std::string gameTitle = "Shelvoy! - prototype7-4-gf937efb";
inline const std::string errorBoxTitle = "Inconceivable!";

/// Ends the test process (and with it, through the parent-death signal, everything it
/// started) if the test is still running `seconds` from now: a stuck X call cannot hang the suite.
class TimeLimit {
public:
    explicit TimeLimit(unsigned seconds);
    ~TimeLimit();
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;
};

struct GameOptions {
    std::string program = gamePath();
    std::string launcher = gameLauncher();  ///< starts `program` when not empty (wine)
    std::vector<std::string> arguments;     ///< for the test builds; the game itself reads none
    std::string workingDirectory = runDirectory();
    std::string keymap;         ///< a setxkbmap layout applied before the game starts; empty: the default
    std::vector<int> keepOpen;  ///< file descriptors the game inherits
    std::string screen = "1024x768x24";  ///< the X server's screen
    std::string resources;               ///< X resources merged before the game starts ("Xft.dpi: 192")
    std::string windowManager = gameWindowManager();  ///< one started before the game; empty: none
    /// NAME=value entries in place of the test's own. The game's XDG_DATA_HOME is the run's own
    /// empty folder (GameRun::dataHome) unless one is given here: no test touches the player's.
    std::vector<std::string> environment;
};

class GameRun {
public:
    explicit GameRun(const GameOptions& options = {});

    /// Waits for the game window and gives it the focus.
    bool waitForWindow(Seconds timeout = Seconds(3.0));

    /// Waits for the window (if not found yet) and the countdown's first word, the moment all
    /// later timings count from: a busy machine may take a while to draw the first frame.
    bool waitForCountdown(Seconds timeout = Seconds(5.0));
    /// Seconds since the countdown was first seen.
    double sinceCountdown() const;
    /// Sleeps until `seconds` after the countdown was first seen (at once if that has passed).
    void sleepUntil(double seconds) const;

    /// A screenshot of the game window, saved under `saveAs` unless that is empty.
    Image shot(const std::string& saveAs = {});

    /// Holds a key down until the game ends, at most `timeout`; the exit status or nothing.
    std::optional<int> quitWith(KeySym key, Seconds timeout = Seconds(5.0));

    // Declaration order is destruction order reversed: the game goes first, the server last.
    XServer server;
    XClient x;
    TempDir dataHome;  ///< the game's XDG_DATA_HOME unless the options name another
    ChildProcess game;
    Window window = None;

private:
    Clock::time_point m_countdownAt;
};

/// Sleeps for `seconds`.
void waitSeconds(double seconds);

}  // namespace e2e
