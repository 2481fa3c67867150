#pragma once

// Measurements on rendered sound (mono samples at audioFrameRate), shared by the mixer's tests and
// the end-to-end tests of the game's sound.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

/// Where sounds start: the frames at which the level first reaches `threshold` after at least `gap`
/// frames below it (or from the beginning).
inline std::vector<std::size_t> soundOnsets(const std::vector<float>& samples, float threshold,
                                            std::size_t gap)
{
    std::vector<std::size_t> onsets;
    std::size_t quiet = gap;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) < threshold) {
            ++quiet;
            continue;
        }
        if (quiet >= gap)
            onsets.push_back(i);
        quiet = 0;
    }
    return onsets;
}

/// The largest magnitude in frames [begin, end).
inline float peakIn(const std::vector<float>& samples, std::size_t begin, std::size_t end)
{
    float peak = 0.0f;
    for (std::size_t i = begin; i < std::min(end, samples.size()); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

/// Upward zero crossings in frames [begin, end), a second of audio at `frameRate`: the pitch of a
/// tone, hertz.
inline double crossingsPerSecond(const std::vector<float>& samples, std::size_t begin, std::size_t end,
                                 int frameRate)
{
    end = std::min(end, samples.size());
    int crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i)
        crossings += samples[i - 1] < 0.0f && samples[i] >= 0.0f ? 1 : 0;
    return end > begin ? crossings * static_cast<double>(frameRate) / static_cast<double>(end - begin) : 0.0;
}

/// The power of the tone at `hz` in frames [begin, end) (Goertzel's algorithm), in the square of
/// the tone's amplitude times the frames counted, over four.
inline double tonePower(const std::vector<float>& samples, std::size_t begin, std::size_t end, double hz,
                        int frameRate)
{
    const double k = 2.0 * std::cos(2.0 * 3.14159265358979323846 * hz / frameRate);
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t i = begin; i < std::min(end, samples.size()); ++i) {
        const double s0 = samples[i] + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}
