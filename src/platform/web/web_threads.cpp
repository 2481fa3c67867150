// In a browser the game's WebAssembly is built without threads: they would need shared memory,
// which a page has only when its server sends cross-origin isolation headers, and the game is
// served by any static server. libc++'s std::async then never returns from a task it cannot
// start, so none is asked for.

#include "platform/threads.h"

bool threadsAvailable() { return false; }
