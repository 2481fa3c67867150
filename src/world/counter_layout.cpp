#include "world/counter_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "render/text.h"

namespace {

constexpr int faceSize = textFaceSize;     // pixels, of the counters' text
constexpr double margin = faceSize / 3.0;  // a third of an em from the window edges
constexpr float smallestShrink = 0.05f;

}  // namespace

std::string itemsLeftText(int itemsLeft)
{
    std::ostringstream text;
    text << itemsLeft;
    text << (itemsLeft == 1 ? " item left" : " items left");
    return text.str();
}

// At scale 1 each of these is the same double arithmetic as without a scale, to the last bit.

float counterBaseline(int height, float scale)
{
    const double s = scale;
    return static_cast<float>((height - faceSize * s) - 6.4 * s);
}

float itemsLeftX(float scale) { return static_cast<float>(margin * static_cast<double>(scale)); }

float clockX(int width, float clockWidth, float scale)
{
    return static_cast<float>((width - margin * static_cast<double>(scale)) - clockWidth);
}

float counterShrink(int width, float itemsWidth, float clockWidth, float gap, float scale)
{
    const double room = width - 2.0 * margin * static_cast<double>(scale);
    const double needed = static_cast<double>(itemsWidth) + clockWidth + gap;
    if (needed <= room)
        return 1.0f;
    return std::max(static_cast<float>(room / needed), smallestShrink);
}

std::string marginText(double seconds)
{
    const bool behind = !(seconds < 0.0);
    double size = std::abs(seconds);
    if (!(size < 1e9))
        size = 1e9;  // past any run, and NaN: shown as that, never undefined
    const int whole = static_cast<int>(size);
    int millis = static_cast<int>((size - static_cast<double>(whole)) * 1000.0);
    millis = millis < 0 ? 0 : millis > 999 ? 999 : millis;
    char text[48];
    std::snprintf(text, sizeof text, "%c%d.%03d", behind ? '+' : '-', whole, millis);
    return text;
}

float splitBaseline(int height, float scale)
{
    return static_cast<float>(counterBaseline(height, scale) - 1.25 * faceSize * static_cast<double>(scale));
}
