#include "cart/cart.h"

#include <cmath>

#include "cart/cart_def.h"
#include "platform/float_math.h"
#include "render/angles.h"

Cart::Cart(b2World& world, float startX, float startY, float startAngle)
    : m_world(world), m_body(nullptr), m_hands{}
{
    b2BodyDef bodyDef;
    bodyDef.type = b2_dynamicBody;
    bodyDef.position.Set(startX, startY);
    bodyDef.angle = startAngle;
    bodyDef.linearVelocity.Set(0.0f, 0.0f);
    bodyDef.angularVelocity = 0.0f;
    bodyDef.linearDamping = cartDef.linearDamping;
    bodyDef.angularDamping = cartDef.angularDamping;
    bodyDef.allowSleep = true;
    bodyDef.awake = true;
    bodyDef.fixedRotation = false;
    bodyDef.bullet = false;
    bodyDef.enabled = true;
    bodyDef.gravityScale = 1.0f;
    m_body = m_world.CreateBody(&bodyDef);

    b2PolygonShape box;
    box.SetAsBox(cartDef.halfLength, cartDef.halfWidth);  // centred on the body origin
    b2FixtureDef fixtureDef;
    fixtureDef.shape = &box;
    fixtureDef.density = cartDef.density;
    fixtureDef.friction = cartDef.friction;
    fixtureDef.restitution = cartDef.restitution;
    fixtureDef.isSensor = false;
    fixtureDef.filter.categoryBits = 0x0001;
    fixtureDef.filter.maskBits = 0xFFFF;
    fixtureDef.filter.groupIndex = 0;
    m_body->CreateFixture(&fixtureDef);

    m_hands[0] = Hand{b2Vec2(-cartDef.halfLength, cartDef.gripOffset), b2Vec2(0.0f, 0.0f)};
    m_hands[1] = Hand{b2Vec2(-cartDef.halfLength, -cartDef.gripOffset), b2Vec2(0.0f, 0.0f)};
}

int pairDirection(bool negative, bool positive)
{
    int direction = 0;
    if (negative)
        direction = -1;
    if (positive)
        direction = +1;
    return direction;
}

float rampPush(float value, int direction, float limit, float dt)
{
    float v = value;
    if (direction > 0) {
        v = v + cartDef.rampRate * dt * limit;
        if (v > limit)
            v = limit;
        const float floor = cartDef.minimumShare * limit;
        if (v < floor)
            v = floor;
    } else if (direction < 0) {
        v = v - cartDef.rampRate * dt * limit;
        if (v < -limit)
            v = -limit;
        const float floor = -(cartDef.minimumShare * limit);
        if (v > floor)
            v = floor;
    } else if (v > 0.0f) {
        v = v - cartDef.decayRate * dt;
        if (v < 0.0f)
            v = 0.0f;
    } else if (v < 0.0f) {
        v = v + cartDef.decayRate * dt;
        if (v > 0.0f)
            v = 0.0f;
    }
    return v;
}

void Cart::update(float dt)
{
    // The lateral limit is the right grip's slope, so a full sideways push stays within the
    // handle's lever; recomputed every update from hand 1.
    const float lateralLimit =
        static_cast<float>(static_cast<double>(m_hands[1].grip.y) / static_cast<double>(m_hands[1].grip.x));

    for (int h = 0; h < 2; ++h) {
        Hand& hand = m_hands[h];
        const int base = 4 * h;
        hand.push.x = rampPush(hand.push.x, pairDirection(controls[base + 0], controls[base + 1]),
                               cartDef.forwardLimit, dt);
        hand.push.y =
            rampPush(hand.push.y, pairDirection(controls[base + 2], controls[base + 3]), lateralLimit, dt);
    }

    // Both hands push every update, even with zero push: it keeps the body awake.
    for (const Hand& hand : m_hands) {
        const b2Vec2 force = m_body->GetWorldVector(hand.push);
        const b2Vec2 point = m_body->GetWorldPoint(hand.grip);
        m_body->ApplyForce(force, point, true);
    }
}

float Cart::casterHeading(b2Vec2 pivot) const
{
    const b2Vec2 worldPivot = m_body->GetWorldPoint(pivot);
    const b2Vec2 velocity = m_body->GetLinearVelocityFromWorldPoint(worldPivot);
    const b2Vec2 local = m_body->GetLocalVector(velocity);
    return degrees<double>(portableAtan2(local.y, local.x));
}
