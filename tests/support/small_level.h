#pragma once

// A level over rows that live as long as the test: the World keeps a reference to its
// descriptor, and the descriptor points at these rows.

#include <string>
#include <vector>

#include "world/level.h"

struct SmallLevel {
    std::vector<const char*> rows;  ///< top row first, all of one length
    LevelDesc desc;

    /// Start pose (x, y) in units, angle in radians.
    SmallLevel(std::vector<const char*> text, float x, float y, float angle) : rows(std::move(text))
    {
        desc.height = static_cast<int>(rows.size());
        desc.width = desc.height ? static_cast<int>(std::char_traits<char>::length(rows[0])) : 0;
        desc.rows = rows.data();
        desc.startX = x;
        desc.startY = y;
        desc.startAngle = angle;
    }
};
