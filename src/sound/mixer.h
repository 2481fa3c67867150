#pragma once

#include <array>
#include <cstddef>

#include "sound/sound_bank.h"
#include "sound/sound_event.h"

/// Turns sound events into the game's output: stereo frames at audioFrameRate, the same in both
/// channels. Plain code with no device: the audio thread calls it for every buffer, a test build
/// in game time. render() never allocates, locks, throws or waits.
class Mixer {
public:
    /// Sounds that play at once besides the rattle; an event that finds them all busy is dropped.
    static constexpr std::size_t voiceCount = 16;
    /// The limiter holds every output sample within this (full scale is 1).
    static constexpr float ceiling = 0.9f;
    /// The limiter looks this many frames ahead (1 ms): the output is one frame less later.
    static constexpr std::size_t lookahead = 48;

    /// Plays the sounds of `bank`, which must outlive the mixer.
    explicit Mixer(const SoundBank& bank);

    /// Starts the event's sound at the next rendered frame (a mute takes effect there, over a ramp
    /// of a millisecond).
    void apply(const SoundEvent& event);
    /// Renders `frames` frames into `stereo` (2 * frames floats, left then right).
    void render(float* stereo, std::size_t frames);

private:
    struct Voice {
        const SoundSamples* samples = nullptr;  ///< null: free; owned by the bank
        std::size_t position = 0;               ///< the next frame to play
        float gain = 0.0f;
    };

    void start(const SoundSamples& samples, float gain);
    float nextRattleSample();
    float limit(float sum);

    const SoundBank& m_bank;
    const float m_glideStep;    ///< share of the way to its target the rattle's level goes a frame
    const float m_releaseStep;  ///< share of the way back to 1 the limiter's gain goes a frame
    std::array<Voice, voiceCount> m_voices{};
    double m_rattlePosition = 0.0;  ///< frames into the rattle's loop
    float m_rattleLevel = 0.0f;     ///< now, 0 to 1; glides toward the target
    float m_rattleTarget = 0.0f;
    // The limiter: the last `lookahead` frames of the mix, the gain each of them needs (at most
    // 1), and the gains applied to them, smoothed over the same window; all rings at m_ring.
    std::array<float, lookahead> m_delayed{};
    std::array<float, lookahead> m_needed{};
    std::array<float, lookahead> m_held{};
    std::size_t m_ring = 0;
    float m_heldSum = static_cast<float>(lookahead);
    float m_release = 1.0f;     ///< the held gain's slow way back up to 1
    float m_masterGain = 1.0f;  ///< 0 muted, 1 sounding; ramps between them
    bool m_muted = false;
};
