// What every system's audio device does alike; the system's side is sdl_ or web_audio_device.cpp.

#include "platform/audio_device.h"

void AudioDevice::fill(void* device, unsigned char* stream, int bytes)
{
    const AudioDevice& self = *static_cast<const AudioDevice*>(device);
    self.m_render(self.m_context, reinterpret_cast<float*>(stream),
                  bytes / static_cast<int>(2 * sizeof(float)));
}
