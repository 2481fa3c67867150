#pragma once

// Keyboard commands and the driving-key sampler.
//
// Key codes follow the classic convention: a printable key is the upper-case character it
// produces in the current keyboard layout ('Q' quits on any layout where some key types q),
// a special key is its GLFW_KEY_ token.

#include <array>
#include <functional>
#include <optional>

#include "cart/cart_controls.h"
#include "main/commands.h"

class World;

/// The eight driving keys of each layout, character i for CartControls index i:
/// 0 for QWERTY, 1 for the same physical keys under Dvorak.
extern const char* const keyLayouts[2];

/// The command of a key (a classic code, see legacyKeyCode) with the modifiers `mods` (GLFW's
/// modifier bits): Q, X and Esc quit, F1 the overlay, F2 the layout, F3 the camera, F11 and
/// Alt+Enter fullscreen, Enter alone leaves the results, M the sound, Backspace plays again at
/// once, Space plays again from the results, G hides or shows the ghost; none for any other key.
std::optional<Command> keyCommand(int key, int mods = 0);

/// The key callback body: carries out the key's command on a press (never a repeat or release).
void onKey(int key, int action, int mods = 0);

/// The classic code of a GLFW key: for a printable key whose layout name is one ASCII
/// character, that character upper-cased; otherwise the token itself.
int legacyKeyCode(int key, const char* keyName);

/// Which GLFW key produces each character in the current layout.
class KeyLookup {
public:
    /// Reads the name of every printable key through `keyName` (a GLFW key token to its
    /// layout name, or null where it has none).
    void rebuild(const std::function<const char*(int key)>& keyName);

    /// The GLFW key that produces character `c` (ASCII letters in either case); where no key is
    /// known by that name, the token of the same code (letters and '.' coincide with theirs);
    /// GLFW_KEY_UNKNOWN for a byte outside ASCII. The same in every locale.
    int keyFor(char c) const;

    /// Whether the key held for each character of `characters` still produces it, as `keyName`
    /// tells: false once the keyboard layout has changed under them.
    bool current(const char* characters, const std::function<const char*(int key)>& keyName) const;

private:
    std::array<int, 128> m_keys{};  ///< by upper-case ASCII character; 0 = not known
};

/// The driving flags for `layout` (eight characters): flag i is whether the key of
/// character i is down, as `isDown` (a GLFW key token) tells.
CartControls readControls(const char* layout, const KeyLookup& lookup,
                          const std::function<bool(int key)>& isDown);

/// The name the current keyboard layout gives a GLFW key token, as GLFW tells it; null for a key
/// the keyboard does not have (asked without raising a GLFW error) or one without a printable name.
const char* layoutKeyName(int key);

/// Reads the selected layout's driving keys from the game window into the cart's controls, by
/// the characters the current keyboard layout gives the keys (the eight keys' names are checked
/// every time, and the lookup is built again as soon as the layout has changed); a flag is also
/// set when the driving gamepad's sticks set it (padReading).
void sampleControls(World& world);
