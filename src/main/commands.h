#pragma once

// What the player asks of the shell, whether by a key or by a gamepad button: the keyboard and
// the pad each map their own inputs onto these, and the shell carries them out in one place.

/// One request of the player's to the shell.
enum class Command {
    quit,              ///< end the game at once, in any phase
    toggleOverlay,     ///< show or hide the physics overlay
    switchLayout,      ///< the other key layout for the driving keys
    switchCamera,      ///< the chase camera or the overhead one
    toggleFullscreen,  ///< fullscreen or the window, once the event processing is over
    leaveResults,      ///< leave the results screen, ending the game (a press made while it shows)
    toggleSound,       ///< silence the game's sound or give it back
    playAgain,         ///< a new run at once, in any phase
    againFromResults,  ///< a new run from the results screen (a press made while it shows)
    toggleGhost,       ///< hide the record's ghost or show it again
};

/// Carries out `command` on the shell's switches: quit throws Exit; toggleOverlay flips
/// debugOverlay; switchLayout and switchCamera step layoutIndex and cameraIndex modulo 2;
/// toggleFullscreen flips fullscreenRequested (asked twice in one event processing: no change);
/// leaveResults sets leaveResultsRequested; toggleSound flips soundMuted and tells the game's sound;
/// playAgain sets againRequested, againFromResults againFromResultsRequested; toggleGhost flips
/// ghostShown.
void carryOut(Command command);
