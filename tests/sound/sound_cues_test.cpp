// The game's moments as sound events, from a World stepped by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "sound/sound_cues.h"
#include "sound/sound_system.h"
#include "support/small_level.h"
#include "world/world.h"

namespace {

using Kind = SoundEvent::Kind;
constexpr float dt = 1.0f / 60.0f;

std::vector<SoundEvent> drain(SoundEventQueue& queue)
{
    std::vector<SoundEvent> events;
    SoundEvent event;
    while (queue.pop(event))
        events.push_back(event);
    return events;
}

std::vector<float> valuesOf(const std::vector<SoundEvent>& events, Kind kind)
{
    std::vector<float> values;
    for (const SoundEvent& e : events)
        if (e.kind == kind)
            values.push_back(e.value);
    return values;
}

// The knocks of the cart rolling into the end wall of a corridor at `speed` units a second: in
// the second it rolls in, then in two more with both hands pushing it on.
std::pair<std::vector<float>, std::vector<float>> knocksRunningInAt(float speed)
{
    SmallLevel level({"xxxxxxxxx", "x       x", "xxxxxxxxx"}, 6.8f, 1.5f, 0.0f);
    World world(level.desc);
    SoundEventQueue queue;
    SoundCues cues(queue);
    world.cart().body().SetLinearVelocity(b2Vec2(speed, 0.0f));
    std::pair<std::vector<float>, std::vector<float>> knocks;
    for (int i = 0; i < 180; ++i) {
        world.cart().controls[LeftForward] = i >= 60;
        world.cart().controls[RightForward] = i >= 60;
        world.step(dt);
        cues.afterStep(world, dt);
        for (float k : valuesOf(drain(queue), Kind::knock))
            (i < 60 ? knocks.first : knocks.second).push_back(k);
    }
    return knocks;
}

}  // namespace

TEST(SoundCues, KnockAsHardAsTheImpactOnceAndNoneWhileResting)
{
    const auto soft = knocksRunningInAt(1.0f);  // too slow to bounce: it stays at the wall
    const auto hard = knocksRunningInAt(4.0f);
    ASSERT_EQ(soft.first.size(), 1u);
    ASSERT_EQ(hard.first.size(), 1u) << "one impact, one knock";
    EXPECT_GT(hard.first[0], 3.0f * soft.first[0]);
    EXPECT_LE(hard.first[0], 1.0f);
    EXPECT_TRUE(soft.second.empty()) << "pushing against the wall at rest knocks";
}

TEST(SoundCues, CountdownChimesPerItemRattleAndResults)
{
    SmallLevel level({"xxxxxxxxxx", "x   ooo  x", "xxxxxxxxxx"}, 1.8f, 1.5f, 0.0f);
    World world(level.desc);
    SoundEventQueue queue;
    SoundCues cues(queue);
    for (int word = 3; word >= 0; --word)
        cues.countdownWord(word);
    std::vector<SoundEvent> events = drain(queue);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, Kind::countdownBeep);
    EXPECT_EQ(events[2].kind, Kind::countdownBeep);
    EXPECT_EQ(events[3].kind, Kind::shopBeep);

    // At rest: silence, and nothing is posted frame after frame.
    world.step(dt);
    cues.afterStep(world, dt);
    EXPECT_TRUE(drain(queue).empty());

    // Driving through the three items: a chime at each item's step, one step higher each time,
    // and a rattle that grows with the speed.
    world.cart().controls[LeftForward] = true;
    world.cart().controls[RightForward] = true;
    std::vector<float> chimes, rattle;
    for (int i = 0; i < 90 && world.itemsLeft() > 0; ++i) {
        const int before = world.itemsLeft();
        world.step(dt);
        cues.afterStep(world, dt);
        events = drain(queue);
        const std::vector<float> rung = valuesOf(events, Kind::chime);
        EXPECT_EQ(static_cast<int>(rung.size()), before - world.itemsLeft()) << "step " << i;
        chimes.insert(chimes.end(), rung.begin(), rung.end());
        for (float level : valuesOf(events, Kind::rolling))
            rattle.push_back(level);
    }
    EXPECT_EQ(chimes, (std::vector<float>{0.0f, 1.0f, 2.0f}));
    ASSERT_GE(rattle.size(), 2u);
    EXPECT_GT(rattle.back(), rattle.front());

    cues.setMuted(true);
    cues.resultsOpened();
    events = drain(queue);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, Kind::mute);
    EXPECT_EQ(events[0].value, 1.0f);
    EXPECT_EQ(events[1].kind, Kind::rolling);
    EXPECT_EQ(events[1].value, 0.0f);
    EXPECT_EQ(events[2].kind, Kind::flourish);
    EXPECT_EQ(events[2].value, 0.0f);

    // A new best's flourish is the bright one; the next run's first item chimes as the first.
    cues.resultsOpened(true);
    events = drain(queue);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value, 1.0f);
    cues.newRun();
    World again(level.desc);
    again.cart().controls = world.cart().controls;
    chimes.clear();
    while (again.itemsLeft() == 3) {
        again.step(dt);
        cues.afterStep(again, dt);
        for (float step : valuesOf(drain(queue), Kind::chime))
            chimes.push_back(step);
    }
    EXPECT_EQ(chimes, std::vector<float>{0.0f});
}

// Where the rendering side stalls (a browser's suspended audio, a held-up audio thread) the queue
// fills. What it refused is not taken for told: the mute and the rattle's latest level reach the
// mixer once there is room again, and no chime's step is skipped. A sound of a moment that comes
// out of the queue long after it was posted is not played at all.
TEST(SoundCues, WhatTheFullQueueRefusedIsToldLaterAndStaleSoundsAreNotPlayedLate)
{
    SmallLevel level({"xxxxxxxxxx", "x   o o  x", "xxxxxxxxxx"}, 1.8f, 1.5f, 0.0f);
    World world(level.desc);
    SoundEventQueue queue;
    SoundCues cues(queue);
    while (queue.push({Kind::knock, 0.0f})) {
    }
    cues.setMuted(true);
    world.cart().controls[LeftForward] = true;
    world.cart().controls[RightForward] = true;
    const auto driveUntilItemsLeft = [&](int left) {
        for (int i = 0; i < 120 && world.itemsLeft() > left; ++i) {
            world.step(dt);
            cues.afterStep(world, dt);
        }
        ASSERT_EQ(world.itemsLeft(), left);
    };
    driveUntilItemsLeft(1);
    drain(queue);  // the stall ends
    cues.catchUp();
    std::vector<SoundEvent> events = drain(queue);
    EXPECT_EQ(valuesOf(events, Kind::mute), std::vector<float>{1.0f});
    ASSERT_EQ(valuesOf(events, Kind::rolling).size(), 1u);
    EXPECT_GT(valuesOf(events, Kind::rolling)[0], 0.1f) << "the rattle's level from before the stall";
    cues.catchUp();
    EXPECT_TRUE(drain(queue).empty()) << "told twice";
    driveUntilItemsLeft(0);
    EXPECT_EQ(valuesOf(drain(queue), Kind::chime), std::vector<float>{0.0f}) << "a step skipped";

    // A beep posted 0.3 s before its buffer is rendered is not heard; one 0.1 s before is.
    double now = 10.0;
    SoundSystem system([&now] { return now; });
    std::vector<float> stereo(2 * 4800);
    const auto peakOfBeepPostedAgo = [&](double seconds) {
        system.cues().countdownWord(3);
        now += seconds;
        system.render(stereo.data(), 4800);
        float peak = 0.0f;
        for (float sample : stereo)
            peak = std::max(peak, std::abs(sample));
        now += 1.0;
        return peak;
    };
    EXPECT_EQ(peakOfBeepPostedAgo(0.3), 0.0f) << "a stale beep played late";
    EXPECT_GT(peakOfBeepPostedAgo(0.1), 0.1f);
}
