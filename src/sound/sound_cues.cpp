#include "sound/sound_cues.h"

#include <algorithm>
#include <cmath>

#include "cart/cart_def.h"
#include "world/world.h"

namespace {

// The rattle's level is posted again once it has moved by this much (0 to 1), or reached rest.
constexpr float rattleResolution = 0.01f;

}  // namespace

SoundCues::SoundCues(SoundEventQueue& queue) : m_queue(queue) {}

void SoundCues::post(SoundEvent::Kind kind, float value) { m_queue.push(SoundEvent{kind, value}); }

void SoundCues::rattleAt(float level)
{
    if (std::abs(level - m_rattleLevel) < rattleResolution && (level != 0.0f || m_rattleLevel == 0.0f))
        return;
    m_rattleLevel = level;
    post(SoundEvent::Kind::rolling, level);
}

void SoundCues::countdownWord(int wordsLeft)
{
    post(wordsLeft > 0 ? SoundEvent::Kind::countdownBeep : SoundEvent::Kind::shopBeep);
}

void SoundCues::afterStep(const World& world, float dt)
{
    const StepReport& step = world.lastStep();
    for (int i = 0; i < step.itemsTaken; ++i)
        post(SoundEvent::Kind::chime, static_cast<float>(m_chimesRung++));

    m_sinceKnock = std::min(m_sinceKnock + dt, knockInterval);
    if (step.hardestShelfImpulse >= quietestKnock && m_sinceKnock >= knockInterval) {
        m_sinceKnock = 0.0f;
        post(SoundEvent::Kind::knock, std::min(step.hardestShelfImpulse / loudestKnock, 1.0f));
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
}

void SoundCues::setMuted(bool muted) { post(SoundEvent::Kind::mute, muted ? 1.0f : 0.0f); }
