// The audio device in a browser: Web Audio. An AudioContext (asked for at the game's frame rate,
// which not every browser grants) plays a ScriptProcessorNode whose callback asks the game's
// render function for each buffer, through a resampler where the context runs at another rate.
// The callback runs on the page's main thread, between the game's frames (which hand the thread
// to the browser at every buffer swap), never during one: the render function is called as on a
// desktop's audio thread, one buffer at a time.
//
// Browsers let a context play only after a user activation (a key, a click, a tap's end; a touch's
// pointerdown is none), and suspend it at will (a phone call, iOS's audio session): the context is
// resumed at every later key, click or tap and whenever its state changes, while the page shows.
// A hidden page is silent: its context is suspended, and resumed once the page shows again. The
// device closes when the game ends, however it ends (an abort included: the page then calls the
// functions of Module.shelvoyAtEnd, and a buffer asked for after one plays nothing).

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
    var record = {context: context, node: node, stereo: _malloc(frames * 8), listeners: []};
    Module["shelvoyAudio"] = Module["shelvoyAudio"] || [null];
    Module["shelvoyAudio"].push(record);
    var number = Module["shelvoyAudio"].length - 1;
    Module["shelvoyAtEnd"] = Module["shelvoyAtEnd"] || [];
    Module["shelvoyAtEnd"].push(function() { Module["shelvoyCloseAudio"](number); });
    Module["shelvoyCloseAudio"] = Module["shelvoyCloseAudio"] || function(which) {
        var device = Module["shelvoyAudio"][which];
        if (!device) return;
        Module["shelvoyAudio"][which] = null;
        device.listeners.forEach(function(entry) {
            entry[0].removeEventListener(entry[1], entry[2], true);
        });
        device.context.onstatechange = null;
        device.node.onaudioprocess = null;
        device.node.disconnect();
        device.context.close();
        if (!ABORT) _free(device.stereo);
    };

    node.onaudioprocess = function(event) {
        var left = event.outputBuffer.getChannelData(0);
        var right = event.outputBuffer.getChannelData(1);
        if (ABORT) {  // the game's module is dead: silence, and no more calls
            left.fill(0);
            right.fill(0);
            Module["shelvoyCloseAudio"](number);
            return;
        }
        getWasmTableEntry(fill)(device, record.stereo, frames * 8);
        var samples = HEAPF32.subarray(record.stereo >> 2, (record.stereo >> 2) + frames * 2);
        for (var i = 0; i < frames; ++i) {
            left[i] = samples[2 * i];
            right[i] = samples[2 * i + 1];
        }
    };
    node.connect(context.destination);

    function showing() { return document.visibilityState !== "hidden"; }
    function resume() {
        if (showing() && context.state !== "running" && context.state !== "closed") {
            context.resume().catch(function() {});  // without a user activation: at the next one
        }
    }
    function listen(target, type, handler) {
        target.addEventListener(type, handler, true);
        record.listeners.push([target, type, handler]);
    }
    ["keydown", "keyup", "pointerup", "touchend", "click"].forEach(function(type) {
        listen(window, type, resume);
    });
    listen(document, "visibilitychange", function() {
        if (showing()) resume();
        else if (context.state === "running") context.suspend();
    });
    context.onstatechange = resume;
    resume();
    return number;
});

// The frames a second the device's context really plays.
EM_JS(double, webAudioFrameRate, (unsigned number), {
    return Module["shelvoyAudio"][number].context.sampleRate;
});

EM_JS(void, closeWebAudio, (unsigned number), {
    Module["shelvoyCloseAudio"](number);
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
    // No buffer is asked for before this returns to the browser.
    if (m_device != 0 && webAudioFrameRate(m_device) != frameRate)
        m_resampler =
            std::make_unique<StreamResampler>(frameRate, webAudioFrameRate(m_device), m_render, m_context);
}

AudioDevice::~AudioDevice()
{
    if (m_device != 0)
        closeWebAudio(m_device);
}
