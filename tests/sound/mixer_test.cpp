#include <gtest/gtest.h>

#include <thread>

#include "sound/mixer.h"
#include "sound/sound_event_queue.h"
#include "support/sound_signal.h"

namespace {

using Kind = SoundEvent::Kind;

const SoundBank& bank()
{
    static const SoundBank made;
    return made;
}

// `seconds` of the mixer's left channel, rendered in buffers of `buffer` frames.
std::vector<float> renderMono(Mixer& mixer, double seconds, std::size_t buffer = 512)
{
    const std::size_t frames = static_cast<std::size_t>(seconds * audioFrameRate);
    std::vector<float> stereo(2 * buffer), mono;
    while (mono.size() < frames) {
        const std::size_t n = std::min(buffer, frames - mono.size());
        mixer.render(stereo.data(), n);
        for (std::size_t f = 0; f < n; ++f) {
            EXPECT_EQ(stereo[2 * f], stereo[2 * f + 1]);
            mono.push_back(stereo[2 * f]);
        }
    }
    return mono;
}

}  // namespace

TEST(SoundBank, EverySoundStartsAndEndsOnARampAndChimesRiseStepByStep)
{
    const SoundBank& b = bank();
    std::vector<const SoundSamples*> sounds = {&b.countdownBeep(), &b.shopBeep(), &b.knock(), &b.flourish(),
                                               &b.brightFlourish()};
    for (int step = 0; step < SoundBank::chimeSteps; ++step)
        sounds.push_back(&b.chime(step));
    for (const SoundSamples* sound : sounds) {
        ASSERT_GT(sound->size(), 1000u);
        EXPECT_LT(std::abs(sound->front()), 1e-3f);
        EXPECT_LT(std::abs(sound->back()), 1e-3f);
        EXPECT_LT(peakIn(*sound, 0, 24), 0.05f) << "no ramp in at the start";
        EXPECT_LE(peakIn(*sound, 0, sound->size()), 0.6f) << "no headroom";
    }
    // The loop's end runs into its start without a step.
    const SoundSamples& rattle = b.rattle();
    EXPECT_LT(std::abs(rattle.back() - rattle.front()), 0.05f);

    EXPECT_GT(crossingsPerSecond(b.shopBeep(), 0, 4800, audioFrameRate),
              1.3 * crossingsPerSecond(b.countdownBeep(), 0, 4800, audioFrameRate));
    double previous = 0.0;
    for (int step = 0; step < SoundBank::chimeSteps; ++step) {
        const double pitch = crossingsPerSecond(b.chime(step), 0, 4800, audioFrameRate);
        EXPECT_GT(pitch, previous * 1.04) << "chime " << step << " is not a step above the one before";
        previous = pitch;
    }
    EXPECT_EQ(&b.chime(SoundBank::chimeSteps + 5), &b.chime(SoundBank::chimeSteps - 1));
    // A new best's flourish runs on higher.
    const std::size_t late = b.flourish().size() / 2;
    EXPECT_GT(crossingsPerSecond(b.brightFlourish(), late, late + 4800, audioFrameRate),
              1.2 * crossingsPerSecond(b.flourish(), late, late + 4800, audioFrameRate));
}

TEST(Mixer, EverythingAtOnceStaysUnderFullScaleWithoutClipping)
{
    Mixer mixer(bank());
    for (int i = 0; i < 3; ++i)
        mixer.apply({Kind::countdownBeep});
    mixer.apply({Kind::shopBeep});
    for (int step = 0; step < 10; ++step)
        mixer.apply({Kind::chime, static_cast<float>(step)});
    mixer.apply({Kind::knock, 1.0f});
    mixer.apply({Kind::flourish});
    mixer.apply({Kind::rolling, 1.0f});
    const std::vector<float> mono = renderMono(mixer, 1.0);
    EXPECT_LE(peakIn(mono, 0, mono.size()), Mixer::ceiling);
    EXPECT_GT(peakIn(mono, 0, mono.size()), 0.8f) << "turned down further than the limit asks";
    // Turned down, not flattened: a clipped wave holds its peak over neighbouring samples.
    int held = 0;
    for (std::size_t i = 1; i < mono.size(); ++i)
        held += mono[i] == mono[i - 1] && std::abs(mono[i]) > 0.5f ? 1 : 0;
    EXPECT_LT(held, 10);
}

TEST(Mixer, KnockFollowsStrengthRattleFollowsSpeedAndRestIsSilent)
{
    Mixer mixer(bank());
    EXPECT_EQ(peakIn(renderMono(mixer, 0.2), 0, 9600), 0.0f) << "not silent before anything happened";
    mixer.apply({Kind::knock, 0.2f});
    const float soft = peakIn(renderMono(mixer, 0.2), 0, 9600);
    mixer.apply({Kind::knock, 0.8f});
    const float hard = peakIn(renderMono(mixer, 0.2), 0, 9600);
    EXPECT_NEAR(hard / soft, 4.0f, 0.1f);

    // The rattle: louder, and busier, the faster; never one plain tone (the spacing of its zero
    // crossings varies); silent once the cart is at rest again.
    mixer.apply({Kind::rolling, 0.3f});
    const std::vector<float> slow = renderMono(mixer, 1.0);
    mixer.apply({Kind::rolling, 1.0f});
    const std::vector<float> fast = renderMono(mixer, 1.0);
    EXPECT_GT(peakIn(fast, 4800, 48000), 2.0f * peakIn(slow, 4800, 48000));
    EXPECT_GT(crossingsPerSecond(fast, 4800, 48000, audioFrameRate),
              1.5 * crossingsPerSecond(slow, 4800, 48000, audioFrameRate));
    std::vector<double> gaps;
    for (std::size_t i = 4801, last = 0; i < fast.size(); ++i) {
        if (fast[i - 1] < 0.0f && fast[i] >= 0.0f) {
            if (last)
                gaps.push_back(static_cast<double>(i - last));
            last = i;
        }
    }
    double mean = 0.0, spread = 0.0;
    for (double g : gaps)
        mean += g / gaps.size();
    for (double g : gaps)
        spread += (g - mean) * (g - mean) / gaps.size();
    EXPECT_GT(std::sqrt(spread) / mean, 0.3) << "the rattle is a plain tone";
    mixer.apply({Kind::rolling, 0.0f});
    const std::vector<float> stopping = renderMono(mixer, 0.5);
    EXPECT_EQ(peakIn(stopping, 24000, 48000), 0.0f) << "still rattling at rest";
}

TEST(Mixer, MuteSilencesFromTheNextBufferAndGivesTheSoundBack)
{
    Mixer mixer(bank());
    mixer.apply({Kind::rolling, 1.0f});
    mixer.apply({Kind::flourish});
    EXPECT_GT(peakIn(renderMono(mixer, 512.0 / audioFrameRate), 0, 512), 0.1f);
    mixer.apply({Kind::mute, 1.0f});
    mixer.apply({Kind::chime, 3.0f});  // muted too
    // The fade takes 5 ms (240 frames): shorter, it ticks on the high beep and on the rattle.
    const std::vector<float> muted = renderMono(mixer, 0.5);
    EXPECT_GT(peakIn(muted, 144, 192), 0.0f) << "silent 3 ms into the mute's ramp";
    EXPECT_LT(peakIn(muted, 192, 240), peakIn(muted, 0, 48));
    EXPECT_EQ(peakIn(muted, 240, muted.size()), 0.0f) << "sound after the mute's 5 ms ramp";
    mixer.apply({Kind::mute, 0.0f});
    EXPECT_GT(peakIn(renderMono(mixer, 0.1), 240, 4800), 0.05f) << "the rattle did not come back";
}

TEST(SoundEventQueue, CarriesEveryEventInOrderFromOneThreadToAnotherAndDropsWhenFull)
{
    SoundEventQueue queue;
    for (std::size_t i = 0; i < SoundEventQueue::capacity; ++i)
        ASSERT_TRUE(queue.push({Kind::chime, static_cast<float>(i)}));
    EXPECT_FALSE(queue.push({Kind::knock, 1.0f})) << "a full queue took one more";
    SoundEvent event;
    for (std::size_t i = 0; i < SoundEventQueue::capacity; ++i) {
        ASSERT_TRUE(queue.pop(event));
        EXPECT_EQ(event.value, static_cast<float>(i));
    }
    EXPECT_FALSE(queue.pop(event));

    constexpr int count = 200000;
    std::thread producer([&] {
        for (int i = 0; i < count;)
            if (queue.push({Kind::chime, static_cast<float>(i)}))
                ++i;
    });
    int expected = 0, outOfOrder = 0;
    while (expected < count)
        if (queue.pop(event))
            outOfOrder += event.value != static_cast<float>(expected++) ? 1 : 0;
    producer.join();
    EXPECT_EQ(outOfOrder, 0);
}
