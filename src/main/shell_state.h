#pragma once

// The shell's state: the only mutable globals of the game, all of them defined in
// shell_state.cpp. (The text module keeps its program-wide font cache to itself.)

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "main/frame_pacer.h"
#include "main/frame_timer.h"
#include "main/gamepad.h"
#include "main/keyboard.h"
#include "main/shell_hooks.h"
#include "render/window_size.h"  // windowSize and contentScale, which the drawing reads

class Camera;
class Ghost;
class SoundSystem;
struct GLFWwindow;

/// The two cameras the frame can be drawn through: 0 the chase camera, 1 the overhead one.
using CameraTable = std::array<Camera*, 2>;

/// Where a window stands on the desktop and its size, in screen coordinates.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/// The window is minimised (iconified): nothing of it can be seen; written by the iconify callback.
extern bool windowMinimised;
/// Draw the physics overlay after the 3D scene (F1).
extern bool debugOverlay;
/// Which key layout the keyboard sampler reads, 0 or 1 (F2).
extern int layoutIndex;
/// Which camera of the table draws the frame, 0 or 1 (F3).
extern int cameraIndex;
/// The entry routine's camera table; null until the entry routine sets it.
extern CameraTable* cameraTable;
/// The run's sound (not owned here); null before and after the run.
extern SoundSystem* gameSound;
/// The sound is silenced (M); for the process's life, never saved.
extern bool soundMuted;

/// The game window while it is open (not owned here); null before and after.
extern GLFWwindow* gameWindow;
/// What a GLFW callback threw (Exit or a failure), held until the event processing that ran
/// the callback has returned; the shell then rethrows it. GLFW is C: nothing may unwind
/// through its frames.
extern std::exception_ptr pendingCallbackException;

/// The clock and the frame hand-over of the current run (set by runGame).
extern ShellHooks shellHooks;
/// The frame timer's state: started by its first reading, for the rest of the program.
extern FrameTimer frameTimer;
/// The frame pacing's state; its period follows the monitor that shows the window.
extern FramePacer framePacer;
/// The clock reading from which the refresh rate is read again (seconds, the shell's clock);
/// minus infinity once something says it may have changed.
extern double nextRefreshRateCheck;
/// Which key gives each driving character in the keyboard's current layout; built again by the
/// keyboard sampler whenever the layout has changed.
extern KeyLookup keyLookup;
/// GLFW's own words for its latest failure, added to the report of a failed GLFW call.
extern std::string lastGlfwError;

/// F11 or Alt+Enter was pressed (an odd number of times) during the latest event processing: the
/// shell switches between the window and fullscreen once that is over.
extern bool fullscreenRequested;
/// Where the window stood, and its size, before it went fullscreen; screen coordinates.
extern WindowPlacement windowedPlacement;
/// Enter (without Alt), A or Start was pressed since the results screen began, however briefly:
/// a press and release within one event processing leave the key up, and would otherwise go
/// unseen. Cleared as the results screen begins, so a press from play does not skip it.
extern bool leaveResultsRequested;
/// Backspace was pressed: the shell ends the run at the end of the frame and starts a new one.
extern bool againRequested;
/// Space, A or Start was pressed since the results screen began (cleared as it begins, as
/// leaveResultsRequested is): the results screen gives way to a new run.
extern bool againFromResultsRequested;
/// Whether the record's ghost is drawn (G); for the process's life, never saved.
extern bool ghostShown;
/// The current run's ghost (not owned here); null when there is no record, and between runs.
extern Ghost* raceGhost;
/// The latest split, shown under the run clock: how far ahead (negative) or behind the record's
/// run was when it had taken as many items.
struct ShownSplit {
    double margin = 0.0;  ///< seconds, this run's time less the record's
    double until = -1.0;  ///< the run clock reading up to which it shows, seconds
};
/// The current run's latest split; none (until < 0) as a run begins.
extern ShownSplit shownSplit;
/// The joysticks GLFW knows, by id, in the order they were connected: the first gamepad among
/// them drives.
extern std::vector<int> padsByConnection;
/// The driving gamepad as read after the latest event processing, and the reading before that;
/// all released and centred when there is none.
extern PadReading padReading;
extern PadReading previousPadReading;

/// Puts every switch back to its start value (a fresh run in the same process).
void resetShellState();
