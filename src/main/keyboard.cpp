#include "main/keyboard.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstring>

const char* const keyLayouts[2] = {"DEFSKILJ", "E.UOTCNH"};

std::optional<Command> keyCommand(int key, int mods)
{
    switch (key) {
    case 'Q':
    case 'X':
    case GLFW_KEY_ESCAPE:
        return Command::quit;
    case GLFW_KEY_F1:
        return Command::toggleOverlay;
    case GLFW_KEY_F2:
        return Command::switchLayout;
    case GLFW_KEY_F3:
        return Command::switchCamera;
    case GLFW_KEY_F11:
        return Command::toggleFullscreen;
    case 'M':
        return Command::toggleSound;
    case 'G':
        return Command::toggleGhost;
    case GLFW_KEY_BACKSPACE:
        return Command::playAgain;
    case GLFW_KEY_SPACE:
        return Command::againFromResults;
    case GLFW_KEY_ENTER:
        return (mods & GLFW_MOD_ALT) != 0 ? Command::toggleFullscreen : Command::leaveResults;
    default:
        return std::nullopt;
    }
}

void onKey(int key, int action, int mods)
{
    if (action != GLFW_PRESS)
        return;
    if (const std::optional<Command> command = keyCommand(key, mods))
        carryOut(*command);
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
