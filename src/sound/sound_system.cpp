#include "sound/sound_system.h"

SoundSystem::SoundSystem() = default;

void SoundSystem::render(float* stereo, std::size_t frames)
{
    SoundEvent event;
    while (m_queue.pop(event))
        m_mixer.apply(event);
    m_mixer.render(stereo, frames);
}

void SoundSystem::renderInto(void* system, float* stereo, int frames)
{
    static_cast<SoundSystem*>(system)->render(stereo, frames > 0 ? static_cast<std::size_t>(frames) : 0);
}
