// The key lookup under a locale whose case mapping leaves ASCII. GLFW sets LC_CTYPE from the
// environment, so a Turkish player's game runs in it. The locale is made with glibc's localedef
// where the system has not got it.

#include <gtest/gtest.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <string>

#include "main/keyboard.h"
#include "support/temp_dir.h"

namespace {

// Key names as X reports them for the letters of a US QWERTY keymap: lower case.
const char* letterName(int key)
{
    static char names[26][2] = {};
    if (key < GLFW_KEY_A || key > GLFW_KEY_Z)
        return nullptr;
    char* name = names[key - GLFW_KEY_A];
    name[0] = static_cast<char>('a' + (key - GLFW_KEY_A));
    return name;
}

// A single-byte Turkish character set for LC_CTYPE while the object lives.
class TurkishLocale {
public:
    TurkishLocale()
    {
        if (std::setlocale(LC_CTYPE, name))
            return;
        const std::string command = "localedef -i tr_TR -f ISO-8859-9 " + (m_dir / name) + " 2>/dev/null";
        if (std::system(command.c_str()) == 0 && setenv("LOCPATH", m_dir.path().c_str(), 1) == 0)
            std::setlocale(LC_CTYPE, name);
    }
    ~TurkishLocale()
    {
        std::setlocale(LC_CTYPE, "C");
        unsetenv("LOCPATH");
    }
    TurkishLocale(const TurkishLocale&) = delete;
    TurkishLocale& operator=(const TurkishLocale&) = delete;

    static constexpr const char* name = "tr_TR.ISO-8859-9";

private:
    TempDir m_dir;
};

}  // namespace

TEST(KeyboardLocale, KeysAreFoundTheSameWayInATurkishLocale)
{
    const TurkishLocale turkish;
    ASSERT_EQ(std::toupper('i'), 221) << "no " << TurkishLocale::name << " locale, even from localedef";

    KeyLookup qwerty;
    qwerty.rebuild(letterName);  // writes by upper-case character: 'i' must land on 'I'
    EXPECT_EQ(qwerty.keyFor('i'), GLFW_KEY_I);
    EXPECT_EQ(qwerty.keyFor('I'), GLFW_KEY_I);
    EXPECT_EQ(qwerty.keyFor('\xdd'), GLFW_KEY_UNKNOWN);  // not ASCII: no key
    EXPECT_TRUE(qwerty.current(keyLayouts[0], letterName));
    EXPECT_TRUE(readControls(keyLayouts[0], qwerty, [](int key) { return key == GLFW_KEY_I; })[RightForward]);
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_I, "i"), 'I');
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_Q, "q"), 'Q');
}
