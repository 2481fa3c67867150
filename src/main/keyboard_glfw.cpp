// The keyboard's GLFW side: key names of the current layout and key state of the window.

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "cart/cart.h"
#include "main/keyboard.h"
#include "main/shell.h"
#include "world/world.h"

namespace {

const char* keyName(int key) { return glfwGetKeyName(key, 0); }

}  // namespace

void sampleControls(World& world)
{
    const char* layout = keyLayouts[layoutIndex];
    if (!keyLookup.current(layout, keyName))
        keyLookup.rebuild(keyName);
    world.cart().controls = readControls(
        layout, keyLookup, [](int key) { return gameWindow && glfwGetKey(gameWindow, key) == GLFW_PRESS; });
}
