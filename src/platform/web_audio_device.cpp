// The audio device in a browser: Web Audio. An AudioContext at the game's frame rate (the browser
// resamples to the output's) plays a ScriptProcessorNode whose callback asks the game's render
// function for each buffer. The callback runs on the page's main thread, between the game's
// frames (which hand the thread to the browser at every buffer swap), never during one: the
// render function is called as on a desktop's audio thread, one buffer at a time. Browsers let a
// page make sound only after a key or a click on it; the page starts the game on one.

#include "platform/audio_device.h"

#include <emscripten.h>

#include <cstdint>

namespace {

// Frames of the smallest buffer the page plays: a frame of the game can keep the main thread,
// where the buffers are filled, for up to some 20 ms at 48,000 frames a second.
constexpr int shortestBufferFrames = 2048;

// clang-format off

// Opens the output and starts calling fill(device, stereo, bytes) for each buffer; returns the
// device's number, or 0 (after a console line) when the browser gives no sound.
EM_JS(unsigned, openWebAudio, (int frameRate, int bufferFrames, std::intptr_t fill, std::intptr_t device), {
    var Context = typeof AudioContext !== "undefined" ? AudioContext :
                  (typeof webkitAudioContext !== "undefined" ? webkitAudioContext : null);
    if (!Context) {
        err("Shelvoy!: no sound (this browser has no Web Audio)");
        return 0;
    }
    var context;
    try {
        context = new Context({sampleRate: frameRate});
    } catch (why) {
        err("Shelvoy!: no sound (" + why + ")");
        return 0;
    }
    var frames = 256;
    while (frames < bufferFrames && frames < 16384) frames *= 2;
    var node = context.createScriptProcessor(frames, 0, 2);
    var stereo = _malloc(frames * 8);
    node.onaudioprocess = function(event) {
        getWasmTableEntry(fill)(device, stereo, frames * 8);
        var samples = HEAPF32.subarray(stereo >> 2, (stereo >> 2) + frames * 2);
        var left = event.outputBuffer.getChannelData(0);
        var right = event.outputBuffer.getChannelData(1);
        for (var i = 0; i < frames; ++i) {
            left[i] = samples[2 * i];
            right[i] = samples[2 * i + 1];
        }
    };
    node.connect(context.destination);
    if (context.state === "suspended") context.resume();
    Module["shelvoyAudio"] = Module["shelvoyAudio"] || [null];
    Module["shelvoyAudio"].push({context: context, node: node, stereo: stereo});
    return Module["shelvoyAudio"].length - 1;
});

EM_JS(void, closeWebAudio, (unsigned number), {
    var device = Module["shelvoyAudio"][number];
    device.node.onaudioprocess = null;
    device.node.disconnect();
    device.context.close();
    _free(device.stereo);
    Module["shelvoyAudio"][number] = null;
});

// clang-format on

}  // namespace

AudioDevice::AudioDevice(int frameRate, int bufferFrames, Render render, void* context)
    : m_render(render), m_context(context)
{
    open(frameRate, bufferFrames);
}

void AudioDevice::open(int frameRate, int bufferFrames)
{
    m_device = openWebAudio(
        frameRate, bufferFrames < shortestBufferFrames ? shortestBufferFrames : bufferFrames,
        reinterpret_cast<std::intptr_t>(&AudioDevice::fill), reinterpret_cast<std::intptr_t>(this));
}

AudioDevice::~AudioDevice()
{
    if (m_device != 0)
        closeWebAudio(m_device);
}
