#include "sound/sound_bank.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double rate = audioFrameRate;

// Every sound but the rattle fades in and out over these, seconds: no click at either end.
constexpr double attackSeconds = 0.003;
constexpr double releaseSeconds = 0.010;

// The countdown: an A5 beep for the numbers, a longer E6 for "SHOP!"; peaks, full scale = 1.
constexpr double beepHz = 880.0;
constexpr double beepSeconds = 0.15;
constexpr double beepPeak = 0.35;
constexpr double shopHz = 1318.5;
constexpr double shopSeconds = 0.6;
constexpr double shopPeak = 0.4;

// A chime: a bell of four partials (frequency ratio, share, decay time in seconds).
struct Partial {
    double ratio;
    double share;
    double decay;
};
constexpr std::array<Partial, 4> bell{
    {{1.0, 1.0, 0.35}, {2.0, 0.4, 0.2}, {3.0, 0.2, 0.12}, {4.2, 0.1, 0.08}}};
constexpr double chimeSeconds = 0.45;
constexpr double chimePeak = 0.3;
constexpr double c4Hz = 261.6256;
constexpr int majorScale[7] = {0, 2, 4, 5, 7, 9, 11};  // semitones above the home note
constexpr int firstChimeDegree = 2;                    // E, so that the twentieth is C

// The knock: a falling thud with a burst of noise on its front.
constexpr double knockSeconds = 0.15;
constexpr double knockStartHz = 180.0;
constexpr double knockEndHz = 90.0;
constexpr double knockSweepSeconds = 0.06;
constexpr double knockDecay = 0.03;        // seconds
constexpr double knockNoiseDecay = 0.008;  // seconds
constexpr double knockNoiseShare = 0.5;
constexpr double knockPeak = 0.6;

// The flourish: C5, E5, G5, C6 struck one after the other, the last held; a new best runs on up
// to E6 and G6, brighter.
constexpr double flourishNotes[6] = {523.25, 659.26, 783.99, 1046.5, 1318.51, 1567.98};
constexpr double flourishGap = 0.09;  // seconds between strikes
constexpr double flourishSeconds = 1.0;
constexpr double flourishPeak = 0.3;

// The rattle: the casters' clicks, about tickRate a second at uneven spacing, each a short ring
// of its own pitch between tickLowestHz and tickHighestHz, over a low rumble.
constexpr double rattleSeconds = 1.0;
constexpr double rattleOverlap = 0.05;  // seconds crossfaded from the end into the start
constexpr double tickRate = 40.0;       // ticks a second, on average
constexpr double tickDecay = 0.003;     // seconds
constexpr double tickLowestHz = 700.0;
constexpr double tickHighestHz = 1500.0;
constexpr double rumbleShare = 0.3;
constexpr double rumbleSmoothing = 0.05;  // one-pole low-pass coefficient: the rumble's colour
constexpr double rattlePeak = 0.15;

std::size_t frames(double seconds) { return static_cast<std::size_t>(seconds * rate + 0.5); }

// A fixed xorshift sequence: the same noise on every start and every system.
class Noise {
public:
    double next()  // uniform in [-1, 1)
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(m_state) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t m_state = 0x9e3779b9u;
};

// Adds a decaying sine from frame `start` on, by rotation (one multiply-add a frame, no sin()).
void addTone(std::vector<double>& out, std::size_t start, double hz, double amplitude, double decay)
{
    const double step = 2.0 * pi * hz / rate;
    const double c = std::cos(step), s = std::sin(step);
    const double fade = std::exp(-1.0 / (decay * rate));
    double x = amplitude, y = 0.0;  // the cosine and the sine: the tone starts at zero
    for (std::size_t i = start; i < out.size(); ++i) {
        out[i] += y;
        const double nx = (x * c - y * s) * fade;
        y = (x * s + y * c) * fade;
        x = nx;
    }
}

// Adds a bell struck at frame `start`: its partials side by side in one pass, so that their
// rotations run in parallel rather than one after the other.
void addBell(std::vector<double>& out, std::size_t start, double hz)
{
    std::array<double, bell.size()> x{}, y{}, c{}, s{}, fade{};
    for (std::size_t p = 0; p < bell.size(); ++p) {
        const double step = 2.0 * pi * hz * bell[p].ratio / rate;
        c[p] = std::cos(step);
        s[p] = std::sin(step);
        fade[p] = std::exp(-1.0 / (bell[p].decay * rate));
        x[p] = bell[p].share;
    }
    const std::size_t attack = frames(attackSeconds);  // each strike fades in: no click
    for (std::size_t i = start; i < out.size(); ++i) {
        double sum = 0.0;
        for (std::size_t p = 0; p < bell.size(); ++p) {
            sum += y[p];
            const double nx = (x[p] * c[p] - y[p] * s[p]) * fade[p];
            y[p] = (x[p] * s[p] + y[p] * c[p]) * fade[p];
            x[p] = nx;
        }
        const std::size_t t = i - start;
        out[i] += t < attack ? sum * (0.5 - 0.5 * std::cos(pi * static_cast<double>(t) / attack)) : sum;
    }
}

// Scales to `peak`, fades both ends in and out, and rounds to single precision.
SoundSamples finish(std::vector<double>& wave, double peak)
{
    double largest = 0.0;
    for (double v : wave)
        largest = std::max(largest, std::abs(v));
    const double scale = largest > 0.0 ? peak / largest : 0.0;
    const std::size_t attack = frames(attackSeconds), release = frames(releaseSeconds);
    SoundSamples out(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i) {
        double gain = scale;
        if (i < attack)
            gain *= 0.5 - 0.5 * std::cos(pi * static_cast<double>(i) / attack);
        const std::size_t left = wave.size() - 1 - i;
        if (left < release)
            gain *= 0.5 - 0.5 * std::cos(pi * static_cast<double>(left) / release);
        out[i] = static_cast<float>(wave[i] * gain);
    }
    return out;
}

SoundSamples beep(double hz, double seconds, double peak)
{
    std::vector<double> wave(frames(seconds));
    addTone(wave, 0, hz, 1.0, seconds);
    addTone(wave, 0, 3.0 * hz, 0.25, seconds);  // a little edge, so it reads as a beep
    return finish(wave, peak);
}

SoundSamples knockSound()
{
    std::vector<double> wave(frames(knockSeconds));
    Noise noise;
    double phase = 0.0, smoothed = 0.0;
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double sweep = std::min(t / knockSweepSeconds, 1.0);
        phase += 2.0 * pi * (knockStartHz + (knockEndHz - knockStartHz) * sweep) / rate;
        smoothed += 0.3 * (noise.next() - smoothed);
        wave[i] = std::sin(phase) * std::exp(-t / knockDecay) +
                  knockNoiseShare * smoothed * std::exp(-t / knockNoiseDecay);
    }
    return finish(wave, knockPeak);
}

SoundSamples flourishSound(int notes)
{
    std::vector<double> wave(frames(flourishSeconds));
    for (int n = 0; n < notes; ++n)
        addBell(wave, frames(n * flourishGap), flourishNotes[n]);
    return finish(wave, flourishPeak);
}

SoundSamples rattleSound()
{
    const std::size_t length = frames(rattleSeconds), overlap = frames(rattleOverlap);
    std::vector<double> wave(length + overlap);
    Noise noise;
    double rumble = 0.0;
    for (double& v : wave) {
        rumble += rumbleSmoothing * (noise.next() - rumble);
        v = rumbleShare * rumble;
    }
    // Ticks: short rings, each of its own pitch and loudness, at uneven spacing.
    std::vector<double> tick(6 * frames(tickDecay));
    for (double at = 0.0; at < rattleSeconds + rattleOverlap;) {
        std::fill(tick.begin(), tick.end(), 0.0);
        const double hz = tickLowestHz + (tickHighestHz - tickLowestHz) * 0.5 * (noise.next() + 1.0);
        addTone(tick, 0, hz, 0.5 + 0.25 * (noise.next() + 1.0), tickDecay);
        const std::size_t start = frames(at);
        for (std::size_t i = 0; i < tick.size() && start + i < wave.size(); ++i)
            wave[start + i] += tick[i];
        at += (1.0 + 0.6 * noise.next()) / tickRate;
    }
    // The end runs on into the start: a loop without a seam.
    for (std::size_t i = 0; i < overlap; ++i) {
        const double w = static_cast<double>(i) / overlap;
        wave[i] = wave[i] * w + wave[length + i] * (1.0 - w);
    }
    wave.resize(length);
    double largest = 0.0;
    for (double v : wave)
        largest = std::max(largest, std::abs(v));
    SoundSamples out(length);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<float>(wave[i] * rattlePeak / largest);
    return out;
}

}  // namespace

double chimeFrequency(int step)
{
    const int degree = std::clamp(step, 0, SoundBank::chimeSteps - 1) + firstChimeDegree;
    const int semitones = 12 * (degree / 7) + majorScale[degree % 7];
    return c4Hz * std::pow(2.0, semitones / 12.0);
}

SoundBank::SoundBank()
    : m_countdownBeep(beep(beepHz, beepSeconds, beepPeak)), m_shopBeep(beep(shopHz, shopSeconds, shopPeak)),
      m_knock(knockSound()), m_flourish(flourishSound(4)), m_brightFlourish(flourishSound(6)),
      m_rattle(rattleSound())
{
    for (int step = 0; step < chimeSteps; ++step) {
        std::vector<double> wave(frames(chimeSeconds));
        addBell(wave, 0, chimeFrequency(step));
        m_chimes[static_cast<std::size_t>(step)] = finish(wave, chimePeak);
    }
}

const SoundSamples& SoundBank::chime(int step) const
{
    return m_chimes[static_cast<std::size_t>(std::clamp(step, 0, chimeSteps - 1))];
}
