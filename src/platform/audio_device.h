#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/stream_resampler.h"

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
    /// Fades what plays out over a few milliseconds (waiting at most some tens of them for a
    /// device that has stopped asking), stops the calls to render, then closes the device.
    ~AudioDevice();

    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

private:
    static void fill(void* device, unsigned char* stream, int bytes);
    void open(int frameRate, int bufferFrames);
    void run(int frameRate, int bufferFrames);
    void close();

    Render m_render;
    void* m_context;
    /// Where the system plays at a rate of its own (a browser's audio context), what turns the
    /// game's frames into the system's; null where they are the same (SDL converts by itself).
    std::unique_ptr<StreamResampler> m_resampler;
    unsigned m_device = 0;  ///< the system's handle, 0 when there is none; written by m_thread
    /// Frames the closing fade has left (from fadeFrames() down to 0), or -1 while none is asked.
    std::atomic<int> m_fadeLeft{-1};
    int m_fadeFrames = 0;                 ///< the fade's length, frames
    std::atomic<int> m_silentBuffers{0};  ///< buffers rendered since the fade ended
    /// Where the system needs it (COM on Windows), the device is opened and closed on one thread,
    /// kept for the device's life; null where there is none.
    std::thread m_thread;
    std::mutex m_closing;
    std::condition_variable m_closeAsked;
    bool m_closeRequested = false;  ///< guarded by m_closing
};
