#include "render/camera.h"

#include <cmath>

#include "platform/float_math.h"

void easeToward(b2Vec2& position, const b2Vec2& target, float rate, float dt)
{
    const b2Vec2 d(target.x - position.x, target.y - position.y);
    const float lag = std::sqrt(d.x * d.x + d.y * d.y);
    if (!(lag >= cameraDef.deadZone))
        return;
    float k = lag * (dt * rate);
    if (!(k < 1.0f))
        k = 1.0f;
    position.x = position.x + k * d.x;
    position.y = position.y + k * d.y;
}

TopDownCamera::TopDownCamera(const b2Body& body) : m_body(body), m_position(body.GetPosition()) {}

void TopDownCamera::update(float dt)
{
    easeToward(m_position, m_body.GetTransform().p, cameraDef.overheadRate, dt);
}

FollowCamera::FollowCamera(const b2Body& body) : m_body(body), m_transform(body.GetTransform()) {}

void FollowCamera::update(float dt)
{
    const b2Transform& cart = m_body.GetTransform();
    const b2Vec2 rear = cart.q.GetXAxis();
    const b2Vec2 target(cart.p.x - cameraDef.chaseDistance * rear.x,
                        cart.p.y - cameraDef.chaseDistance * rear.y);
    easeToward(m_transform.p, target, cameraDef.chaseRate, dt);

    // Face the cart's centre from wherever the eye has got to.
    const b2Vec2 e(cart.p.x - m_transform.p.x, cart.p.y - m_transform.p.y);
    const float distance = std::sqrt(e.x * e.x + e.y * e.y);
    if (distance >= cameraDef.deadZone) {
        const float h = portableAtan2(e.y, e.x);
        m_transform.q.c = portableCos(h);
        m_transform.q.s = portableSin(h);
    }
}
