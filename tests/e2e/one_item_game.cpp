// The real game sequence on a seven-by-seven store whose only item lies under the cart:
// the first play frame takes it, so the results screen follows the countdown at once.
// Built for the end-to-end tests only; never installed.

#include "main/shell.h"
#include "world/level.h"

int main()
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
    return runGame(desc);
}
