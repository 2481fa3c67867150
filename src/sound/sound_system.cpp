#include "sound/sound_system.h"

#include <utility>

SoundSystem::SoundSystem(std::function<double()> clock) : m_clock(std::move(clock)) {}

void SoundSystem::render(float* stereo, std::size_t frames)
{
    bool knowsTime = false;
    double now = 0.0;
    if (m_clock) {
        try {
            now = m_clock();
            knowsTime = true;
        } catch (...) {
            // A clock that cannot be read plays every event, late or not.
        }
    }
    SoundEvent event;
    while (m_queue.pop(event))
        if (!(knowsTime && isOneShot(event.kind) && now - event.postedAt > staleAfter))
            m_mixer.apply(event);
    m_mixer.render(stereo, frames);
}

void SoundSystem::renderInto(void* system, float* stereo, int frames)
{
    static_cast<SoundSystem*>(system)->render(stereo, frames > 0 ? static_cast<std::size_t>(frames) : 0);
}
