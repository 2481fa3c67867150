#pragma once

/// The level descriptor: a text map of one-unit square cells and the cart's start pose.
/// Cell characters: 'x' a shelf block, 'o' an item on open floor, anything else open floor.
/// Row 0 of the text is the top of the map: cell (x, y) is rows[height - 1 - y][x].
/// The World keeps a reference to it, so it must outlive the World and stay unchanged.
struct LevelDesc {
    int width = 0;   ///< map columns, cells (x extent)
    int height = 0;  ///< map rows, cells (y extent)
    const char* const* rows =
        nullptr;              ///< `height` rows of at least `width` characters, top row first; not owned
    float startX = 0.0f;      ///< cart start x, units
    float startY = 0.0f;      ///< cart start y, units
    float startAngle = 0.0f;  ///< cart start heading, radians from +x toward +y
};

/// The character of cell (x, y), with y = 0 the bottom row. No bounds check: 0 <= x < width,
/// 0 <= y < height.
inline char cellAt(const LevelDesc& desc, int x, int y) { return desc.rows[desc.height - 1 - y][x]; }

/// Whether cell (x, y) holds a shelf block; false for any cell outside the map.
inline bool shelfAt(const LevelDesc& desc, int x, int y)
{
    return x >= 0 && y >= 0 && x < desc.width && y < desc.height && cellAt(desc, x, y) == 'x';
}

/// The built-in 32 x 32 store (217 shelves, 20 items) with the start pose (26, 3, pi).
/// The rows point at static storage that lives for the whole program.
LevelDesc builtinLevel();
