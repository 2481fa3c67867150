#pragma once

#include <thread>

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
    /// device). Returns at once: the device is looked for and opened on a thread of its own (that
    /// can take a few hundred milliseconds where there is none), and render is first called once
    /// it is open. Never throws: when the device cannot be opened that thread writes one line on
    /// stderr, and there is silence.
    AudioDevice(int frameRate, int bufferFrames, Render render, void* context);
    /// Waits for the opening to end, stops the calls to render, then closes the device.
    ~AudioDevice();

    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

private:
    static void fill(void* device, unsigned char* stream, int bytes);
    void open(int frameRate, int bufferFrames);

    Render m_render;
    void* m_context;
    unsigned m_device = 0;  ///< the system's handle, 0 when there is none; written by m_opening
    std::thread m_opening;
};
