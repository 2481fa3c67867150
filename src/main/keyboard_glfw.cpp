// The keyboard's GLFW side: key names of the current layout and key state of the window.

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "cart/cart.h"
#include "main/keyboard.h"
#include "main/shell.h"
#include "world/world.h"

namespace {

KeyLookup keyLookup;  // rebuilt at set-up and on focus, never per frame

}  // namespace

void refreshKeyLookup()
{
    keyLookup.rebuild([](int key) { return glfwGetKeyName(key, 0); });
}

void sampleControls(World& world)
{
    world.cart().controls = readControls(keyLayouts[layoutIndex], keyLookup, [](int key) {
        return gameWindow && glfwGetKey(gameWindow, key) == GLFW_PRESS;
    });
}
