// The error box on Windows: MessageBoxA, with no owner window.

#include "platform/error_box.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32_system.h"

namespace {

// MessageBoxA reads its text in the system's ANSI code page; the game's texts are UTF-8 (a path
// under C:\Spiele\Einkaufswägen, say).
std::string ansiFromUtf8(const std::string& text)
{
    const std::wstring wide = utf16FromUtf8(text);
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return text;
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

}  // namespace

void showErrorBox(const std::string& text, const std::string& cause)
{
    const std::string report = cause.empty() ? text : text + " (" + cause + ")";
    // A windowed program started from a console or with its output redirected still has stderr.
    // In binary mode, so that the line ends as on every other system, with a line feed alone.
    _setmode(_fileno(stderr), _O_BINARY);
    std::fprintf(stderr, "Inconceivable!: %s\n", report.c_str());
    std::fflush(stderr);
    MessageBoxA(nullptr, ansiFromUtf8(report).c_str(), "Inconceivable!", MB_OK | MB_ICONERROR);
}
