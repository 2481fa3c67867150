// A browser's Vibration API, where it has one (phones with Chromium's browsers; not iOS).

#include "platform/rumble.h"

#include <emscripten.h>

namespace {

// The longest shake, for a knock at full strength, milliseconds.
constexpr double longestRumble = 40.0;

// clang-format off
EM_JS(void, vibrate, (double milliseconds), {
    if (navigator.vibrate) navigator.vibrate(Math.max(1, Math.round(milliseconds)));
});
// clang-format on

}  // namespace

void rumble(float strength)
{
    vibrate(longestRumble * (strength < 0.0f ? 0.0f : strength > 1.0f ? 1.0f : strength));
}
