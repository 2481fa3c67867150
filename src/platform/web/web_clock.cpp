// The clock in a browser: the page's monotonic clock (performance.now), and waits that hand the
// thread back to the browser (Asyncify) instead of blocking it. The frames themselves are paced
// by the browser: the buffer swap returns at its next animation frame (src/platform/web/web_glfw.js).

#include "platform/clock.h"

#include <emscripten.h>

#include <cmath>

double monotonicSeconds() { return emscripten_get_now() / 1000.0; }

void sleepUntilSeconds(double deadline)
{
    // The browser's timers fire late rather than early; a wait shorter than a millisecond is
    // given one.
    while (monotonicSeconds() < deadline) {
        const double milliseconds = std::floor((deadline - monotonicSeconds()) * 1000.0);
        emscripten_sleep(milliseconds >= 1.0 ? static_cast<unsigned>(milliseconds) : 1u);
    }
}
