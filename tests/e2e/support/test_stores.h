#pragma once

// The small stores the test build of the game plays besides the built-in one (stepped_game.cpp),
// shared with the tests that check what the game kept of a run in them.

#include "world/level.h"

namespace e2e {

/// One aisle, three items in a row ahead of the cart with a cell between each two.
inline LevelDesc aisleStore()
{
    static const char* const rows[3] = {"xxxxxxxxxxxx", "x  o o o   x", "xxxxxxxxxxxx"};
    LevelDesc desc;
    desc.width = 12;
    desc.height = 3;
    desc.rows = rows;
    desc.startX = 1.8f;  // its back a tenth of a unit from the wall, heading along the aisle
    desc.startY = 1.5f;
    desc.startAngle = 0.0f;
    return desc;
}

/// Seven by seven, its one item under the cart: the first play frame takes it.
inline LevelDesc oneItemStore()
{
    static const char* const rows[7] = {
        "xxxxxxx", "x     x", "x     x", "x  o  x", "x     x", "x     x", "xxxxxxx",
    };
    LevelDesc desc;
    desc.width = 7;
    desc.height = 7;
    desc.rows = rows;
    desc.startX = 3.5f;  // the centre of the item's cell
    desc.startY = 3.5f;
    desc.startAngle = 0.0f;
    return desc;
}

}  // namespace e2e
