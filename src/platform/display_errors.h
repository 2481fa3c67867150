#pragma once

// Failures of the windowing system that reach the game outside any call it makes: on X11 a
// protocol error comes back later, through Xlib's error handler, whose default prints it and ends
// the process on the spot, with no report of the game's own.

/// From now on (call it once GLFW is initialised), keeps the first such error instead of letting
/// it end the process. On a system that reports every failure as the result of the call that
/// failed (Windows), there is nothing to catch.
void watchDisplayErrors();

/// Throws std::runtime_error "X error: <the system's text> in request <name>" when an error has
/// been kept since the watch began; returns otherwise.
void throwDisplayError();
