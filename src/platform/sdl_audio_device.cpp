#include "platform/audio_device.h"
#include "platform/audio_diagnostics.h"

// The game has its own main(); SDL's audio thread is all it takes from SDL here.
#define SDL_MAIN_HANDLED
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <system_error>

namespace {

// The sound fades out over this long as the device closes, seconds.
constexpr double closingFade = 0.005;
// A device that has not played the fade out within this long is closed as it is, seconds: the
// game's end never waits on the sound for longer.
constexpr double longestClosingWait = 0.05;

}  // namespace

AudioDevice::AudioDevice(int frameRate, int bufferFrames, Render render, void* context)
    : m_render(render), m_context(context), m_fadeFrames(static_cast<int>(frameRate * closingFade))
{
    try {
        m_thread = std::thread([=] { run(frameRate, bufferFrames); });
    } catch (const std::system_error& failure) {
        std::fprintf(stderr, "Shelvoy!: no sound (%s)\n", failure.what());
    }
}

// The device's own thread: opens it, waits for the destructor's word, closes it. SDL's audio is
// started and stopped on one thread, as Windows' COM, which SDL's drivers start there, requires.
void AudioDevice::run(int frameRate, int bufferFrames)
{
    open(frameRate, bufferFrames);
    std::unique_lock<std::mutex> lock(m_closing);
    m_closeAsked.wait(lock, [this] { return m_closeRequested; });
    lock.unlock();
    close();
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

void AudioDevice::close()
{
    if (m_device == 0)
        return;
    // Fade out, then let one silent buffer go to the system after the fade, so that the fade's
    // last buffer is played out rather than cut off.
    m_fadeLeft.store(m_fadeFrames, std::memory_order_release);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::duration<double>(longestClosingWait);
    while (m_silentBuffers.load(std::memory_order_acquire) < 2 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_device = 0;
}

AudioDevice::~AudioDevice()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_closing);
        m_closeRequested = true;
    }
    m_closeAsked.notify_one();
    m_thread.join();
}
