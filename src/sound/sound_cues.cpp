#include "sound/sound_cues.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cart/cart_def.h"
#include "world/world.h"

namespace {

// The rattle's level is posted again once it has moved by this much (0 to 1), or reached rest.
constexpr float rattleResolution = 0.01f;

}  // namespace

SoundCues::SoundCues(SoundEventQueue& queue, std::function<double()> clock)
    : m_queue(queue), m_clock(std::move(clock))
{
}

bool SoundCues::post(SoundEvent::Kind kind, float value)
{
    return m_queue.push(SoundEvent{kind, value, m_clock ? m_clock() : 0.0});
}

void SoundCues::postRattle()
{
    const float level = m_rattleWanted;
    if (std::abs(level - m_rattlePosted) < rattleResolution && (level != 0.0f || m_rattlePosted == 0.0f))
        return;
    if (post(SoundEvent::Kind::rolling, level))
        m_rattlePosted = level;
}

void SoundCues::postMute()
{
    if (m_mutedWanted != m_mutedPosted && post(SoundEvent::Kind::mute, m_mutedWanted ? 1.0f : 0.0f))
        m_mutedPosted = m_mutedWanted;
}

void SoundCues::rattleAt(float level)
{
    m_rattleWanted = level;
    postRattle();
}

void SoundCues::countdownWord(int wordsLeft)
{
    post(wordsLeft > 0 ? SoundEvent::Kind::countdownBeep : SoundEvent::Kind::shopBeep);
}

void SoundCues::afterStep(const World& world, float dt)
{
    const StepReport& step = world.lastStep();
    for (int i = 0; i < step.itemsTaken; ++i)
        if (post(SoundEvent::Kind::chime, static_cast<float>(m_chimesRung)))
            ++m_chimesRung;

    m_sinceKnock = std::min(m_sinceKnock + dt, knockInterval);
    m_latestKnock = 0.0f;
    const float strength = std::min(step.hardestShelfImpulse / loudestKnock, 1.0f);
    if (step.hardestShelfImpulse >= quietestKnock && m_sinceKnock >= knockInterval &&
        post(SoundEvent::Kind::knock, strength)) {
        m_sinceKnock = 0.0f;
        m_latestKnock = strength;
    }

    const b2Body& body = world.cart().body();
    const float cornerRadius = std::hypot(cartDef.halfLength, cartDef.halfWidth);  // units
    const float speed =
        body.GetLinearVelocity().Length() + std::abs(body.GetAngularVelocity()) * cornerRadius;
    rattleAt(std::min(speed / fullRattleSpeed, 1.0f));
}

void SoundCues::resultsOpened(bool newBest)
{
    rattleAt(0.0f);
    post(SoundEvent::Kind::flourish, newBest ? 1.0f : 0.0f);
}

void SoundCues::newRun()
{
    rattleAt(0.0f);
    m_chimesRung = 0;
    m_sinceKnock = knockInterval;
    m_latestKnock = 0.0f;
}

void SoundCues::setMuted(bool muted)
{
    m_mutedWanted = muted;
    postMute();
}

void SoundCues::catchUp()
{
    postMute();
    postRattle();
}
