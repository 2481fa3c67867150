#pragma once

// What must hold in every frame of any run, whatever the controls: the checks shared by the
// autopilot, the soak and the fuzzer. Plain functions without a test framework, so the fuzz
// target can use them too.

#include <box2d/box2d.h>

#include <string>

#include "world/level.h"
#include "world/world.h"

namespace sim {

/// The lateral push limit of the standard grips (0.32000002 / 0.7 in single precision), force units.
constexpr float lateralPushLimit = 0.45714289f;
/// The forward push limit, force units.
constexpr float forwardPushLimit = 1.0f;
/// The longest frame the shell ever hands to the World, seconds.
constexpr float maxFrameTime = 0.033333335f;

/// True when cell (x, y) is a shelf. Cells outside the map count as solid when
/// `outsideIsSolid`, as open floor otherwise.
bool isShelf(const LevelDesc& desc, int x, int y, bool outsideIsSolid = true);

/// True when the point `p` (units) lies in a shelf cell or outside the map.
bool centreInShelf(const LevelDesc& desc, b2Vec2 p);

/// How far the deepest corner of the cart's 1.4 x 0.8 box lies inside a shelf cell, units
/// (0 when every corner is on open floor or outside the map). The physics keeps contacts
/// within a few hundredths; anything more is a box passing through a shelf.
float deepestCornerInShelf(const LevelDesc& desc, const b2Body& cart);

/// Distance from `p` to the nearest shelf cell, units, searched within `reach` cells (cells
/// outside the map count as shelves); `reach + 1` when there is none that close.
float shelfClearance(const LevelDesc& desc, b2Vec2 p, int reach = 2);

/// True when position, angle, linear and angular velocity of `body` are all finite.
bool bodyIsFinite(const b2Body& body);

/// Empty when every hand's push lies within its limits; otherwise what is out of range.
std::string pushOutOfLimits(const Cart& cart);

/// The number of non-empty item slots.
int slotsHeld(const World& world);

/// One line with the cart's pose and velocities, the clock and the items left, for messages.
std::string describe(const World& world);

}  // namespace sim
