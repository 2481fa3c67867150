#include "main/screen_layout.h"

#include "world/counter_layout.h"
#include "world/world.h"

unsigned countdownFaceSize(int height) { return static_cast<unsigned>(height / 3); }

namespace {

constexpr unsigned smallestLegibleFaceSize = 8;  // pixels

}  // namespace

unsigned resultsFaceSize(int width) { return static_cast<unsigned>(width / 12); }

unsigned legibleResultsFaceSize(unsigned current, int width, bool& following)
{
    if (current >= smallestLegibleFaceSize && !following)
        return current;
    const unsigned now = resultsFaceSize(width);
    if (now < smallestLegibleFaceSize)
        return current;
    following = true;
    return now;
}

std::string resultsLabel(const std::string& runTime) { return "Time: " + runTime; }

std::string countdownText(int n) { return n > 0 ? std::to_string(n) : std::string("SHOP!"); }

float countdownScale(double elapsed)
{
    const float seconds = static_cast<float>(elapsed);
    return 1.0f - 0.3f * seconds;
}

TextOrigin countdownOrigin(int width, int height, float scale, float size, float advance)
{
    return TextOrigin{(width - scale * advance) * 0.5f, (height - scale * size) * 0.5f};
}

TextOrigin resultsLineOrigin(int width, int height, int sixths, float size, float advance)
{
    // (2 h) / 3 and (4 h) / 6 are the same rational number, so the same double.
    const double y = (sixths * height) / 6.0 - size * 0.5;
    return TextOrigin{(width - advance) * 0.5f, static_cast<float>(y)};
}

std::string bestLine(bool hadRecord, bool newBest, double previous, double best)
{
    if (!hadRecord)
        return {};
    return newBest ? "New best! " + marginText(best - previous) : "Best: " + formatRunTime(best);
}
