#pragma once

// A short shake of the device the game is played on, where it can shake: a phone's vibration
// in a browser. A desktop has none (its gamepads' rumble GLFW does not reach).

/// Shakes the device briefly, longer for a `strength` nearer 1 (0 to 1); nothing where it cannot.
void rumble(float strength);
