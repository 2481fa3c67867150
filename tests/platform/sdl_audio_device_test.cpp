// The audio device over SDL's disk driver, which writes what it plays to a file. SDL's entry points
// for starting and stopping its audio are taken here first, to see on which thread each is called.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "support/temp_dir.h"

namespace {

std::thread::id startedOn, stoppedOn;

template <class Function> Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// SDL's disk driver keeps a little memory (its D-Bus connection among it) until SDL_Quit, which
// the game, as any program that only starts and stops SDL's audio, leaves to the process's end.
// LeakSanitizer (the sanitizer stage) is told so; elsewhere nothing reads this.
extern "C" const char* __lsan_default_suppressions() { return "leak:libSDL2\nleak:libdbus\n"; }

extern "C" int SDL_InitSubSystem(Uint32 flags)
{
    startedOn = std::this_thread::get_id();
    return real<int (*)(Uint32)>("SDL_InitSubSystem")(flags);
}

extern "C" void SDL_QuitSubSystem(Uint32 flags)
{
    stoppedOn = std::this_thread::get_id();
    real<void (*)(Uint32)>("SDL_QuitSubSystem")(flags);
}

// A steady level that stops dead would end with a click: the closing device fades it out over
// a few milliseconds instead, and SDL's audio is started and stopped on one thread (Windows' COM,
// which its drivers start, is per thread).
TEST(SdlAudioDevice, FadesOutAsItClosesAndStartsAndStopsOnOneThread)
{
    TempDir dir;
    const std::string file = (dir.path() / "played.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    std::atomic<int> buffers{0};
    const auto steady = [](void* counter, float* stereo, int frames) {
        std::fill(stereo, stereo + 2 * frames, 0.5f);
        ++*static_cast<std::atomic<int>*>(counter);
    };
    {
        AudioDevice device(48000, 480, steady, &buffers);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (buffers < 5 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_GE(buffers, 5) << "the disk driver played nothing";
    }
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    std::ifstream in(file, std::ios::binary);
    std::vector<float> played;
    for (float sample; in.read(reinterpret_cast<char*>(&sample), sizeof sample);)
        played.push_back(sample);
    ASSERT_GE(played.size(), 2u * 480 * 5);
    EXPECT_EQ(played.back(), 0.0f) << "the sound ends at full level, with a click";
    std::size_t lastFull = played.size();
    while (lastFull > 0 && played[lastFull - 1] != 0.5f)
        --lastFull;
    std::size_t firstSilent = lastFull;
    while (firstSilent < played.size() && played[firstSilent] != 0.0f)
        ++firstSilent;
    EXPECT_GE((firstSilent - lastFull) / 2, 200u) << "a fade shorter than 4 ms";
    for (std::size_t i = lastFull + 2; i < firstSilent; ++i)
        ASSERT_LE(played[i], played[i - 2]) << "the fade goes up at " << i;
    for (std::size_t i = firstSilent; i < played.size(); ++i)
        ASSERT_EQ(played[i], 0.0f) << "sound after the fade";

    EXPECT_EQ(startedOn, stoppedOn) << "SDL's audio started on one thread and stopped on another";
}
