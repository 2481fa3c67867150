#pragma once

/// The cart's numbers, each written once with its unit: the body and its box, read by the physics
/// set-up and by the drawing, and the two-handed drive model. Units are map cells (one cell is
/// one unit), seconds and Box2D's force units derived from them.
struct CartDef {
    // The body: one box centred on the body's origin, its length along the heading (+x), its
    // width across it (+y to the left).
    float length = 1.4f;               ///< units
    float width = 0.8f;                ///< units
    float halfLength = length * 0.5f;  ///< units (0.7): Box2D takes the box by its half extents
    float halfWidth = width * 0.5f;    ///< units (0.4)
    float density = 0.2f;              ///< mass per square unit
    float friction = 1.0f;             ///< Box2D's friction coefficient against the shelves
    float restitution = 0.2f;          ///< share of the speed kept in a bounce, 0 to 1
    float linearDamping = 0.3f;        ///< per second
    float angularDamping = 0.8f;       ///< per second

    // The hands hold the handle across the rear edge, 80 % of the half-width either side of the
    // axis. Computed in single precision that is 0.32000002, not the float 0.32f.
    float gripOffset = halfWidth * 0.8f;  ///< units

    // The drive: each push component ramps toward its limit while a key of its axis is held and
    // decays to nothing once none is.
    float forwardLimit = 1.0f;  ///< force units, either way along the heading
    float rampRate = 2.0f;      ///< limits per second while a key is held
    float minimumShare = 0.3f;  ///< a press gives at least this share of the limit at once
    float decayRate = 10.0f;    ///< force units per second once released, either axis
};

/// The game's one cart.
inline constexpr CartDef cartDef{};
