#pragma once

#include <cstddef>
#include <functional>

#include "sound/mixer.h"
#include "sound/sound_bank.h"
#include "sound/sound_cues.h"
#include "sound/sound_event_queue.h"

/// The game's sound from the game's moments to samples: the bank synthesised at start, the cues
/// on the game's thread, the queue between the threads, and the mixer on the thread that renders
/// (the audio device's, or a test build's own in game time).
class SoundSystem {
public:
    /// A sound of a moment (a beep, a chime, a knock, the flourish) that reaches the rendering
    /// side later than this after it was posted is not played: the rendering was held up (a
    /// suspended browser audio context, a stalled audio thread), and a burst of stale sounds at
    /// once would say nothing of what is happening. Seconds.
    static constexpr double staleAfter = 0.25;

    /// Synthesises the bank. Events are stamped with, and their age read from, `clock` (seconds,
    /// monotonic, safe to read from the rendering thread); without one none is ever stale.
    explicit SoundSystem(std::function<double()> clock = {});

    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    /// The game's side; owned by the system.
    SoundCues& cues() { return m_cues; }

    /// The rendering side: applies every event posted so far, then renders `frames` stereo
    /// frames into `stereo` (2 * frames floats). Never allocates, locks, throws or waits.
    void render(float* stereo, std::size_t frames);
    /// render() for a C callback: `system` is the SoundSystem.
    static void renderInto(void* system, float* stereo, int frames);

private:
    std::function<double()> m_clock;
    SoundBank m_bank;
    SoundEventQueue m_queue;
    Mixer m_mixer{m_bank};
    SoundCues m_cues{m_queue, m_clock};
};
