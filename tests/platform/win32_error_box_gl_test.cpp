// The error box on Windows shows every character of the game's UTF-8 text, whatever the
// system's code page: read back from the box itself, as the player would see it.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "platform/error_box.h"

namespace {

// The identifier of the static control that holds a message box's text.
constexpr int messageBoxTextId = 0xFFFF;

}  // namespace

TEST(Win32ErrorBox, ShowsEveryCharacterOfAPathInCyrillicAndJapanese)
{
    // The game unpacked under C:\Игра Иван\ゲーム: its path as the game holds it, and as the box
    // must show it.
    const std::string path = "C:\\\xd0\x98\xd0\xb3\xd1\x80\xd0\xb0 \xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd\\"
                             "\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0\\Receipt.ttf";
    const std::wstring shownPath =
        L"C:\\\u0418\u0433\u0440\u0430 \u0418\u0432\u0430\u043d\\\u30b2\u30fc\u30e0\\Receipt.ttf";

    // The box is modal: another thread reads it and presses OK. Should no box come within 30 s,
    // `shown` stays empty.
    std::wstring shown;
    HWND owner = nullptr;
    std::thread reader([&] {
        HWND box = nullptr;
        for (int tries = 0; !box && tries < 3000; ++tries) {
            Sleep(10);
            box = FindWindowW(nullptr, L"Inconceivable!");
        }
        if (!box)
            return;
        wchar_t text[512] = {};
        GetDlgItemTextW(box, messageBoxTextId, text, 512);
        shown = text;
        owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    showErrorBox("Cannot load font from " + path, "no such file");
    reader.join();
    EXPECT_EQ(shown, L"Cannot load font from " + shownPath + L" (no such file)");
    EXPECT_EQ(owner, nullptr);
}
