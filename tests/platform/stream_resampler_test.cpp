#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/stream_resampler.h"

namespace {

// An 880 Hz sine (the countdown's beep), stereo, at 48 kHz, counting the frames asked for.
struct Sine {
    long long frames = 0;
    static void make(void* self, float* stereo, int count)
    {
        Sine& sine = *static_cast<Sine*>(self);
        for (int f = 0; f < count; ++f, ++sine.frames) {
            const float sample = static_cast<float>(std::sin(2.0 * M_PI * 880.0 * sine.frames / 48000.0));
            stereo[2 * f] = sample;
            stereo[2 * f + 1] = -sample;
        }
    }
};

}  // namespace

// A context at 44.1 kHz plays the game's 48 kHz sound at its pitch and pace (played as it is,
// it would be 8 % slow and 1.5 semitones flat), in buffers of any size, without a seam.
TEST(StreamResampler, KeepsPitchAndPaceAtAnotherRateAcrossBuffersOfAnySize)
{
    Sine sine;
    StreamResampler resampler(48000.0, 44100.0, Sine::make, &sine);
    std::vector<float> out;
    const int sizes[] = {4096, 37, 1000, 1};
    for (int i = 0; out.size() < 2u * 44100; ++i) {
        const int size = std::min(sizes[i % 4], 44100 - static_cast<int>(out.size() / 2));
        std::vector<float> buffer(2 * size);
        resampler.render(buffer.data(), size);
        out.insert(out.end(), buffer.begin(), buffer.end());
    }
    int crossings = 0;
    float steepest = 0.0f;
    for (std::size_t f = 1; f < 44100; ++f) {
        crossings += (out[2 * f - 2] < 0.0f) != (out[2 * f] < 0.0f) ? 1 : 0;
        steepest = std::max(steepest, std::abs(out[2 * f] - out[2 * f - 2]));
        ASSERT_EQ(out[2 * f + 1], -out[2 * f]) << "the channels mixed up at " << f;
    }
    EXPECT_NEAR(crossings, 2 * 880, 2) << "not 880 Hz at the context's rate";
    EXPECT_LT(steepest, 0.13f) << "a seam between buffers";  // 2 pi 880 / 44100 at the steepest
    EXPECT_NEAR(static_cast<double>(sine.frames), 48000.0, 2.0 * 256) << "not the source's pace";
}
