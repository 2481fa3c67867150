#include "platform/error_box.h"

#include <SDL2/SDL.h>

#include <cstdio>

void showErrorBox(const std::string& text, const std::string& cause)
{
    if (cause.empty())
        std::fprintf(stderr, "Inconceivable!: %s\n", text.c_str());
    else
        std::fprintf(stderr, "Inconceivable!: %s (%s)\n", text.c_str(), cause.c_str());
    std::fflush(stderr);
    // Needs no SDL_Init; returns -1 at once when there is no display to show it on.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Inconceivable!", text.c_str(), nullptr);
}
