#include "world/counter_layout.h"

#include <sstream>

namespace {

constexpr int faceSize = 32;
constexpr double margin = 32.0 / 3.0;  // a third of an em from the window edges

}  // namespace

std::string itemsLeftText(int itemsLeft)
{
    std::ostringstream text;
    text << itemsLeft;
    text << (itemsLeft == 1 ? " item left" : " items left");
    return text.str();
}

float counterBaseline(int height) { return static_cast<float>((height - faceSize) - 6.4); }

float itemsLeftX() { return static_cast<float>(margin); }

float clockX(int width, float clockWidth) { return static_cast<float>((width - margin) - clockWidth); }
