#include "world/level.h"

#include "render/angles.h"

namespace {

// Top row first; the start point (26, 3) is the shared corner of four open cells.
// clang-format off
const char* const storeRows[32] = {
    "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
    "x          xxx     x           x",
    "x  o       xxx     x     o     x",
    "x     x            x           x",
    "x    xx       o    x        o  x",
    "x   xx             x  o        x",
    "x      o                       x",
    "x                              x",
    "x o x      x                   x",
    "x   x      x      x            x",
    "x   x      x      x  o         x",
    "x   x  o   x      x            x",
    "x   x      x      x            x",
    "x                 x         o  x",
    "x             o                x",
    "xxxx                           x",
    "xxxx     xxx                   x",
    "xx    o  xxx     x     xx  o  xx",
    "xx       xxx  o  x     xx     xx",
    "xx               x            xx",
    "xx               x  o         xx",
    "xx       o                    xx",
    "x                              x",
    "x  o x    x    x    x          x",
    "x    x    x    x    x    o    xx",
    "x    x    x    x    x        xxx",
    "x    x    x    x    xxx    xxxxx",
    "x    x    x    x    x          x",
    "x                              x",
    "x      o           o           x",
    "x                              x",
    "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
};
// clang-format on

}  // namespace

LevelDesc builtinLevel()
{
    LevelDesc desc;
    desc.width = 32;
    desc.height = 32;
    desc.rows = storeRows;
    desc.startX = 26.0f;
    desc.startY = 3.0f;
    desc.startAngle = pi;  // facing -x
    return desc;
}
