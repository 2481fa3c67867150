#include "main/commands.h"

#include "main/shell.h"
#include "sound/sound_system.h"

void carryOut(Command command)
{
    switch (command) {
    case Command::quit:
        throw Exit{};
    case Command::toggleOverlay:
        debugOverlay = !debugOverlay;
        break;
    case Command::switchLayout:
        layoutIndex = (layoutIndex + 1) % 2;
        break;
    case Command::switchCamera:
        cameraIndex = (cameraIndex + 1) % 2;
        break;
    case Command::toggleFullscreen:
        fullscreenRequested = !fullscreenRequested;
        break;
    case Command::leaveResults:
        leaveResultsRequested = true;
        break;
    case Command::toggleSound:
        soundMuted = !soundMuted;
        if (gameSound)
            gameSound->cues().setMuted(soundMuted);
        break;
    case Command::playAgain:
        againRequested = true;
        break;
    case Command::againFromResults:
        againFromResultsRequested = true;
        break;
    case Command::toggleGhost:
        ghostShown = !ghostShown;
        break;
    }
}
