#pragma once

// The game reads keys, never text: there is no name to type and no field to write in, so the
// window system's means of composing characters from several keys are of no use to it.

/// Tells the window system, before GLFW is initialised, that this process composes no
/// characters. On X11 the input method that GLFW opens otherwise reads and parses the locale's
/// whole compose table as it starts: half a megabyte for a UTF-8 locale, about 20 ms of a launch
/// that takes 150. Keys reach the game as before. Windows and the browser read no such table,
/// and there it does nothing. Call it before any thread starts: on X11 it sets the process's
/// environment. Throws std::system_error if that cannot be done.
void forgoComposedText();
