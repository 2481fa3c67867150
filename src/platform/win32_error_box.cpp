// The error box on Windows: MessageBoxW, with no owner window.

#include "platform/error_box.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32_system.h"

void showErrorBox(const std::string& text, const std::string& cause)
{
    const std::string report = cause.empty() ? text : text + " (" + cause + ")";
    // A windowed program started from a console or with its output redirected still has stderr.
    // In binary mode, so that the line ends as on every other system, with a line feed alone.
    // Started from Explorer it has none: the descriptor is negative, and _setmode on it would end
    // the program before the box shows.
    const int descriptor = _fileno(stderr);
    if (descriptor >= 0)
        _setmode(descriptor, _O_BINARY);
    std::fprintf(stderr, "Inconceivable!: %s\n", report.c_str());
    std::fflush(stderr);
    // The wide function: the texts are UTF-8 (a path under C:\Игра Иван, say), and the ANSI one
    // would show every character its code page lacks as "?".
    MessageBoxW(nullptr, utf16FromUtf8(report).c_str(), L"Inconceivable!", MB_OK | MB_ICONERROR);
}
