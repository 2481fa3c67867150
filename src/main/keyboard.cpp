#include "main/keyboard.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstring>

#include "main/shell.h"

const char* const keyLayouts[2] = {"DEFSKILJ", "E.UOTCNH"};

void onKey(int key, int action, int mods)
{
    if (action != GLFW_PRESS)
        return;
    const bool alt = (mods & GLFW_MOD_ALT) != 0;
    switch (key) {
    case 'Q':
    case 'X':
    case GLFW_KEY_ESCAPE:
        throw Exit{};
    case GLFW_KEY_F1:
        debugOverlay = !debugOverlay;
        break;
    case GLFW_KEY_F2:
        layoutIndex = (layoutIndex + 1) % 2;
        break;
    case GLFW_KEY_F3:
        cameraIndex = (cameraIndex + 1) % 2;
        break;
    case GLFW_KEY_F11:
        fullscreenRequested = !fullscreenRequested;
        break;
    case GLFW_KEY_ENTER:
        if (alt)
            fullscreenRequested = !fullscreenRequested;
        else
            enterPressed = true;
        break;
    default:
        break;
    }
}

namespace {

bool isPrintableKey(int key)
{
    return (key >= GLFW_KEY_SPACE && key <= GLFW_KEY_GRAVE_ACCENT) || key == GLFW_KEY_WORLD_1 ||
           key == GLFW_KEY_WORLD_2;
}

// ASCII's own upper case: a-z to A-Z, every other byte as it is. Never the C library's toupper,
// which follows the locale GLFW sets from the environment (Turkish maps 'i' to 221, outside ASCII).
int asciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

// The single printable ASCII character a key name stands for, upper-cased; 0 for anything else.
int nameCharacter(const char* name)
{
    if (!name || std::strlen(name) != 1)
        return 0;
    const unsigned char c = static_cast<unsigned char>(name[0]);
    if (c < 0x20 || c >= 0x7F)
        return 0;
    return asciiUpper(c);
}

}  // namespace

int legacyKeyCode(int key, const char* keyName)
{
    if (!isPrintableKey(key))
        return key;
    const int c = nameCharacter(keyName);
    return c ? c : key;
}

void KeyLookup::rebuild(const std::function<const char*(int key)>& keyName)
{
    m_keys.fill(0);
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_WORLD_2; ++key) {
        if (!isPrintableKey(key))
            continue;
        const int c = nameCharacter(keyName(key));
        if (c && m_keys[c] == 0)
            m_keys[c] = key;
    }
}

int KeyLookup::keyFor(char c) const
{
    const int upper = asciiUpper(static_cast<unsigned char>(c));
    if (upper >= static_cast<int>(m_keys.size()))
        return GLFW_KEY_UNKNOWN;  // not ASCII: no key of the table, and no GLFW token either
    return m_keys[upper] ? m_keys[upper] : upper;
}

bool KeyLookup::current(const char* characters, const std::function<const char*(int key)>& keyName) const
{
    for (const char* c = characters; *c; ++c)
        if (nameCharacter(keyName(keyFor(*c))) != asciiUpper(static_cast<unsigned char>(*c)))
            return false;
    return true;
}

CartControls readControls(const char* layout, const KeyLookup& lookup,
                          const std::function<bool(int key)>& isDown)
{
    CartControls flags{};
    for (size_t i = 0; i < flags.size(); ++i)
        flags[i] = isDown(lookup.keyFor(layout[i]));
    return flags;
}
