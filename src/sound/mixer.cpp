#include "sound/mixer.h"

#include <algorithm>
#include <cmath>

namespace {

// The rattle plays from rattleSlowest times its own speed at rest to rattleFastest at full level:
// the casters tick faster and higher as the cart speeds up.
constexpr double rattleSlowest = 0.5;
constexpr double rattleFastest = 1.5;
// The rattle's level glides toward the cart's speed with this time constant, seconds; below
// rattleFloor on its way to rest it is silent.
constexpr float rattleGlide = 0.02f;
constexpr float rattleFloor = 1e-4f;
// The limiter lets its gain back up toward 1 with this time constant, seconds.
constexpr float limiterRelease = 0.1f;
// A mute fades out, and sound comes back, over this many frames (5 ms: shorter, the fade ticks on
// the high "SHOP!" beep and on the rattle).
constexpr float muteRampFrames = audioFrameRate * 0.005f;

float perFrame(float seconds) { return 1.0f - std::exp(-1.0f / (seconds * audioFrameRate)); }

}  // namespace

Mixer::Mixer(const SoundBank& bank)
    : m_bank(bank), m_glideStep(perFrame(rattleGlide)), m_releaseStep(perFrame(limiterRelease))
{
    m_needed.fill(1.0f);
    m_held.fill(1.0f);
}

void Mixer::start(const SoundSamples& samples, float gain)
{
    for (Voice& voice : m_voices) {
        if (!voice.samples) {
            voice = Voice{&samples, 0, gain};
            return;
        }
    }
}

void Mixer::apply(const SoundEvent& event)
{
    const float value = std::isfinite(event.value) ? event.value : 0.0f;
    switch (event.kind) {
    case SoundEvent::Kind::countdownBeep:
        start(m_bank.countdownBeep(), 1.0f);
        break;
    case SoundEvent::Kind::shopBeep:
        start(m_bank.shopBeep(), 1.0f);
        break;
    case SoundEvent::Kind::chime:
        start(m_bank.chime(static_cast<int>(std::clamp(value, 0.0f, 1000.0f))), 1.0f);
        break;
    case SoundEvent::Kind::knock:
        if (value > 0.0f)
            start(m_bank.knock(), std::min(value, 1.0f));
        break;
    case SoundEvent::Kind::rolling:
        m_rattleTarget = std::clamp(value, 0.0f, 1.0f);
        break;
    case SoundEvent::Kind::flourish:
        start(value > 0.5f ? m_bank.brightFlourish() : m_bank.flourish(), 1.0f);
        break;
    case SoundEvent::Kind::mute:
        m_muted = value != 0.0f;
        break;
    }
}

float Mixer::nextRattleSample()
{
    m_rattleLevel += (m_rattleTarget - m_rattleLevel) * m_glideStep;
    if (m_rattleTarget == 0.0f && m_rattleLevel < rattleFloor)
        m_rattleLevel = 0.0f;
    if (m_rattleLevel == 0.0f)
        return 0.0f;
    const SoundSamples& loop = m_bank.rattle();
    const std::size_t i = static_cast<std::size_t>(m_rattlePosition);
    const float frac = static_cast<float>(m_rattlePosition - static_cast<double>(i));
    const float a = loop[i], b = loop[(i + 1) % loop.size()];
    m_rattlePosition += rattleSlowest + (rattleFastest - rattleSlowest) * static_cast<double>(m_rattleLevel);
    if (m_rattlePosition >= static_cast<double>(loop.size()))
        m_rattlePosition -= static_cast<double>(loop.size());
    return (a + (b - a) * frac) * m_rattleLevel;
}

// A limiter that looks ahead: each frame's gain is the least any frame in the window ahead needs,
// eased down over the window, so a loud moment is turned down smoothly before it arrives instead
// of being clipped; the gain goes back up slowly once it has passed.
float Mixer::limit(float sum)
{
    const float need = std::abs(sum) > ceiling ? ceiling / std::abs(sum) : 1.0f;
    m_delayed[m_ring] = sum;
    m_needed[m_ring] = need;
    float least = 1.0f;
    for (float n : m_needed)
        least = std::min(least, n);
    m_release = std::min(least, m_release + (1.0f - m_release) * m_releaseStep);
    m_heldSum += m_release - m_held[m_ring];
    m_held[m_ring] = m_release;
    m_ring = (m_ring + 1) % lookahead;
    // The frame that entered lookahead - 1 frames ago: every gain in the mean is no more than
    // it needs, so neither is the mean (rounding aside).
    const float out = m_delayed[m_ring] * m_heldSum / static_cast<float>(lookahead);
    return std::clamp(out, -ceiling, ceiling);
}

void Mixer::render(float* stereo, std::size_t frames)
{
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = nextRattleSample();
        for (Voice& voice : m_voices) {
            if (!voice.samples)
                continue;
            sum += (*voice.samples)[voice.position] * voice.gain;
            if (++voice.position == voice.samples->size())
                voice.samples = nullptr;
        }
        const float limited = limit(sum);
        const float target = m_muted ? 0.0f : 1.0f;
        m_masterGain += std::clamp(target - m_masterGain, -1.0f / muteRampFrames, 1.0f / muteRampFrames);
        const float out = limited * m_masterGain;
        stereo[2 * f] = out;
        stereo[2 * f + 1] = out;
    }
}
