// What every system's audio device does alike; the system's side is sdl_ or web_audio_device.cpp.

#include "platform/audio_device.h"

#include <algorithm>

void AudioDevice::fill(void* device, unsigned char* stream, int bytes)
{
    AudioDevice& self = *static_cast<AudioDevice*>(device);
    float* const stereo = reinterpret_cast<float*>(stream);
    const int frames = bytes / static_cast<int>(2 * sizeof(float));
    int fadeLeft = self.m_fadeLeft.load(std::memory_order_acquire);
    if (fadeLeft == 0) {  // faded out: silence until the device closes
        std::fill(stereo, stereo + 2 * frames, 0.0f);
        self.m_silentBuffers.fetch_add(1, std::memory_order_release);
        return;
    }
    if (self.m_resampler)
        self.m_resampler->render(stereo, frames);
    else
        self.m_render(self.m_context, stereo, frames);
    if (fadeLeft < 0)
        return;
    // The closing fade: a straight ramp down to nothing, so the sound does not end with a click.
    for (int f = 0; f < frames; ++f) {
        const float gain =
            fadeLeft > 0 ? static_cast<float>(fadeLeft--) / static_cast<float>(self.m_fadeFrames) : 0.0f;
        stereo[2 * f] *= gain;
        stereo[2 * f + 1] *= gain;
    }
    self.m_fadeLeft.store(fadeLeft, std::memory_order_release);
}
