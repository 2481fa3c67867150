#pragma once

/// The system's default audio output, playing what a render function makes on the system's
/// audio thread. Sound is never worth a failure: without a device, or after any audio error, the
/// game plays on silently, with at most one line on stderr.
class AudioDevice {
public:
    /// Fills `stereo` with `frames` interleaved stereo frames of float samples (left, right) at
    /// the device's frame rate, for `context`. Called on the audio thread: it must not allocate,
    /// lock, throw or wait on the game.
    using Render = void (*)(void* context, float* stereo, int frames);

    /// Opens the default output at `frameRate` frames a second, stereo, with buffers of at most
    /// `bufferFrames` frames, and starts calling `render` with `context` (which must outlive the
    /// device). Never throws: when the device cannot be opened it writes one line on stderr and
    /// stays silent.
    AudioDevice(int frameRate, int bufferFrames, Render render, void* context);
    /// Stops the calls to render, then closes the device.
    ~AudioDevice();

    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    /// Whether the device opened and plays.
    bool playing() const { return m_device != 0; }

private:
    static void fill(void* device, unsigned char* stream, int bytes);

    Render m_render;
    void* m_context;
    unsigned m_device = 0;  ///< the system's handle; 0 when there is none
};
