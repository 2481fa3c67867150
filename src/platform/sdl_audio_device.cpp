#include "platform/audio_device.h"
#include "platform/audio_diagnostics.h"

// The game has its own main(); SDL's audio thread is all it takes from SDL here.
#define SDL_MAIN_HANDLED
#include <SDL2/SDL.h>

#include <cstdio>
#include <system_error>

AudioDevice::AudioDevice(int frameRate, int bufferFrames, Render render, void* context)
    : m_render(render), m_context(context)
{
    try {
        m_opening = std::thread([=] { open(frameRate, bufferFrames); });
    } catch (const std::system_error& failure) {
        std::fprintf(stderr, "Shelvoy!: no sound (%s)\n", failure.what());
    }
}

void AudioDevice::open(int frameRate, int bufferFrames)
{
    silenceAudioDiagnostics();
    SDL_SetMainReady();
    // Otherwise SDL takes SIGINT and SIGTERM for its own event queue, which the game never reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Shelvoy!: no sound (%s)\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec want{};
    want.freq = frameRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = static_cast<Uint16>(bufferFrames);
    want.callback = fill;
    want.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware takes.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (m_device == 0) {
        std::fprintf(stderr, "Shelvoy!: no sound (%s)\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(m_device, 0);
}

AudioDevice::~AudioDevice()
{
    if (m_opening.joinable())
        m_opening.join();
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}
