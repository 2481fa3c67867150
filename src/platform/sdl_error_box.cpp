#include "platform/error_box.h"

#include <SDL2/SDL.h>

#include <cstdio>

void showErrorBox(const std::string& text, const std::string& cause)
{
    const std::string report = cause.empty() ? text : text + " (" + cause + ")";
    std::fprintf(stderr, "Inconceivable!: %s\n", report.c_str());
    std::fflush(stderr);
    // Needs no SDL_Init; returns -1 at once when there is no display to show it on.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Inconceivable!", report.c_str(), nullptr);
}
