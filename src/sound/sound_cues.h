#pragma once

#include <functional>

#include "sound/sound_event_queue.h"

class World;

/// What the game's moments sound like: turns them into sound events on the queue, on the game's
/// thread, never waiting. A sound of a moment that finds the queue full is dropped; a state the
/// queue refused (the rattle's level, the mute) is posted again at the next chance, so what the
/// mixer was told is never taken for what it was asked. Times are game time.
class SoundCues {
public:
    /// An impact's normal impulse (mass units times units a second) below this is silent: resting
    /// against a shelf with both hands pushing gives at most a third of it in a step.
    static constexpr float quietestKnock = 0.1f;
    /// An impulse of this or more knocks at full strength (the cart running in at about 5 units a
    /// second); between the two the strength grows in proportion.
    static constexpr float loudestKnock = 1.5f;
    /// After a knock, no other for this long, seconds: scraping along a shelf does not buzz.
    static constexpr float knockInterval = 0.15f;
    /// The casters rattle at full level from this speed on, units a second; silent at rest.
    static constexpr float fullRattleSpeed = 6.0f;

    /// Posts to `queue`, which must outlive the cues, each event stamped with a reading of
    /// `clock` (seconds; none: 0).
    explicit SoundCues(SoundEventQueue& queue, std::function<double()> clock = {});

    /// The countdown's word with `wordsLeft` (3, 2, 1: a beep; 0, "SHOP!": the longer one) shows
    /// its first frame.
    void countdownWord(int wordsLeft);
    /// After `world` has stepped by `dt` seconds: a chime for every item taken, each a step higher
    /// than the one before; a knock as strong as the step's hardest shelf impact; the rattle at
    /// the speed of the cart's fastest corner.
    void afterStep(const World& world, float dt);
    /// The results screen opens: the rattle stops and the flourish plays (brighter for a new best).
    void resultsOpened(bool newBest = false);
    /// A new run begins: the rattle stops, and the next item chimes as a run's first.
    void newRun();
    /// Silences everything (true) or gives the sound back (false).
    void setMuted(bool muted);
    /// Once a frame: posts the rattle's level and the mute again where the queue refused them.
    void catchUp();
    /// The strength of the knock the latest afterStep() sounded, 0 (none) to 1.
    float latestKnock() const { return m_latestKnock; }

private:
    bool post(SoundEvent::Kind kind, float value = 0.0f);
    void rattleAt(float level);
    void postRattle();
    void postMute();

    SoundEventQueue& m_queue;
    std::function<double()> m_clock;
    int m_chimesRung = 0;                ///< chimes the queue took
    float m_sinceKnock = knockInterval;  ///< seconds since the last knock the queue took
    float m_latestKnock = 0.0f;
    float m_rattleWanted = 0.0f;  ///< the level the cart's speed asks for
    float m_rattlePosted = 0.0f;  ///< the level the queue took last
    bool m_mutedWanted = false;
    bool m_mutedPosted = false;
};
