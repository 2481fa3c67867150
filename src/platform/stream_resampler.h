#pragma once

#include <array>
#include <vector>

/// Plays a stereo stream made at one frame rate at another: what a device that runs at a rate of
/// its own (a browser's audio context at 44.1 kHz, say) needs of the game's 48 kHz sound, so that
/// it keeps its pitch and its pace. Each output frame lies between two source frames, interpolated
/// straight between them.
class StreamResampler {
public:
    /// Makes `frames` interleaved stereo frames of the source at `context` (as AudioDevice::Render).
    using Source = void (*)(void* context, float* stereo, int frames);

    /// Turns `source`, at `fromRate` frames a second, into frames at `toRate` (both above 0).
    StreamResampler(double fromRate, double toRate, Source source, void* context);

    /// Fills `stereo` with `frames` interleaved stereo frames at the output rate, asking the source
    /// for as many of its own as they span, in blocks of a fixed size. Allocates nothing.
    void render(float* stereo, int frames);

private:
    void advance();

    double m_step;  ///< source frames per output frame
    Source m_source;
    void* m_context;
    double m_fraction = 0.0;          ///< where the next output frame lies past m_before, 0 to 1
    std::array<float, 2> m_before{};  ///< the source frame at or before it
    std::array<float, 2> m_after{};   ///< the source frame after it
    std::vector<float> m_block;       ///< source frames asked for and not yet used
    std::size_t m_used;               ///< frames of m_block used
};
