#pragma once

#include <box2d/box2d.h>

#include <array>

#include "cart/cart_controls.h"

/// One of the two push points on the cart's handle.
struct Hand {
    b2Vec2 grip;  ///< where the hand's force is applied, cart-local units (x forward, y left)
    b2Vec2 push;  ///< current push in cart axes, force units: x forward, y leftward
};

/// The player's shopping cart: one dynamic box body pushed by two hands on its handle.
/// Owned by the World; its body belongs to the physics world and goes with it.
class Cart {
public:
    /// Creates the cart's body in `world` at (startX, startY) units, heading startAngle radians.
    Cart(b2World& world, float startX, float startY, float startAngle);

    Cart(const Cart&) = delete;
    Cart& operator=(const Cart&) = delete;

    /// Ramps each hand's push toward what `controls` ask for over dt seconds (dt >= 0) and
    /// applies both hand forces to the body; called once per frame before the physics step.
    void update(float dt);

    /// The cart's rigid body; owned by the physics world.
    b2Body& body() const { return *m_body; }

    /// The two hands, 0 left then 1 right.
    std::array<Hand, 2>& hands() { return m_hands; }
    const std::array<Hand, 2>& hands() const { return m_hands; }

    /// Heading of the caster that swivels at the cart-local `pivot`, degrees in cart axes:
    /// the direction of the body's velocity at that point (atan2 of its local y and x).
    float casterHeading(b2Vec2 pivot) const;

    /// Draws the cart at its body's pose: basket, handle, casters and push lines.
    void render() const;

    /// The driving flags, written by the keyboard sampler before each update.
    CartControls controls{};

private:
    b2World& m_world;  ///< the physics world the body was created in (not owned)
    b2Body* m_body;    ///< owned by m_world
    std::array<Hand, 2> m_hands;
};

/// One push component after dt seconds: `direction` is +1 or -1 while a key of the axis is
/// held (ramp at 2 * limit per second, at least 0.3 * limit, at most limit), 0 when none is
/// (linear decay to exactly 0 at 10 per second). Each step is rounded to single precision.
float rampPush(float value, int direction, float limit, float dt);

/// The direction asked for by one (negative, positive) pair of flags; positive wins.
int pairDirection(bool negative, bool positive);
