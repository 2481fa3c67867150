// The keyboard's GLFW side: key names of the current layout and key state of the window, and the
// driving flags they give together with the gamepad's sticks.

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "cart/cart.h"
#include "main/gamepad.h"
#include "main/keyboard.h"
#include "main/shell.h"
#include "world/world.h"

const char* layoutKeyName(int key)
{
    // GLFW reports "Invalid scancode" for a token the keyboard has no key for: ask only for keys
    // it has, so that its latest error stays the cause of a real failure.
    if (key < GLFW_KEY_SPACE || key > GLFW_KEY_LAST)
        return nullptr;
    const int scancode = glfwGetKeyScancode(key);
    return scancode == -1 ? nullptr : glfwGetKeyName(key, scancode);
}

void sampleControls(World& world)
{
    const char* layout = keyLayouts[layoutIndex];
    if (!keyLookup.current(layout, layoutKeyName))
        keyLookup.rebuild(layoutKeyName);
    const CartControls keys = readControls(layout, keyLookup, [](int key) {
        return gameWindow && key != GLFW_KEY_UNKNOWN && glfwGetKey(gameWindow, key) == GLFW_PRESS;
    });
    world.cart().controls = eitherControls(keys, stickControls(padReading.state));
}
