#pragma once

// Which cells of the store one view needs, and in which order the store's drawing lays them down
// (world_draw.cpp reads the view from OpenGL and draws what this decides).

#include <vector>

#include "render/view.h"
#include "world/level.h"

/// Where the store's solids stand, units (one map cell); z is up from the floor tiles.
struct StoreSolids {
    float floorMargin = 2.0f;   ///< the floor reaches this far past the map on every side
    float floorDepth = 0.01f;   ///< below the tiles, whose gaps show it as grid lines
    float tileSize = 0.95f;     ///< of a cell, a square tile on every open cell
    float shelfBottom = -1.0f;  ///< a shelf block's lowest point, hidden below the floor
    float shelfTop = 3.0f;      ///< a shelf block's highest point
};

/// The store's solids.
inline constexpr StoreSolids storeSolids{};

/// One map cell: column x, row y (cellAt's).
struct Cell {
    int x;
    int y;
};

/// A side of a shelf block that meets another block: inside the two and hidden, except at its
/// edges, where it lies at the same depth as a visible side of either (or as their tops) and may
/// show in a line of pixels.
struct InnerSide {
    Cell cell;          ///< the block it belongs to
    int dx;             ///< toward the other block: -1, 0 or 1 cells along x
    int dy;             ///< and along y; one of dx and dy is 0
    WindowRect window;  ///< where it may show: around those of its edges that can be seen
};

/// What the store's drawing lays down for one view, in this order: the cells (a shelf block on
/// every shelf cell, a tile on every other), first those of the columns left of the eye's in
/// reverse map order (x, then y, descending), then the rest in map order, so that nearer cells
/// come before farther ones along x; then the inner sides. With the eye among the shelves (between
/// their bottom and top) the blocks in the runs of cells go without their inner sides, which come
/// apart; seen from above the blocks are whole and there are no inner sides apart. Kept from frame
/// to frame: each update reuses the storage of the one before, so that once the lists have grown
/// to what the views need, a frame's update allocates nothing.
class StoreCells {
public:
    /// Sets these to the cells and inner sides of `desc` that `view` may show. A cell is left out
    /// only when none of it can reach a pixel: wholly outside the view volume or, with the eye
    /// among the shelves, wholly hidden behind shelf blocks. An inner side is kept when it faces
    /// the eye, one of its two blocks is kept, and either the near plane cuts into one of them or
    /// one of its edges lies on a side of either block that faces the eye.
    void update(const LevelDesc& desc, const View& view);

    /// The columns left of the eye's, in reverse map order.
    const std::vector<Cell>& reversed() const { return m_reversed; }
    /// The other columns (all, for a parallel view), in map order.
    const std::vector<Cell>& inMapOrder() const { return m_inMapOrder; }
    /// Whether the eye is among the shelves: inner sides apart.
    bool amongShelves() const { return m_amongShelves; }
    /// Inner sides toward a block later in map order (+x, +y).
    const std::vector<InnerSide>& taking() const { return m_taking; }
    /// Inner sides toward a block earlier in map order (-x, -y).
    const std::vector<InnerSide>& leaving() const { return m_leaving; }

private:
    // Where a cell's square lies seen from the eye, from above: the directions from `first` to
    // `last` (radians, last - first < pi; `first` may lie below -pi), and its nearest and farthest
    // points' distances (units). `aroundEye` when the eye stands on the square or next to it.
    struct Outline {
        bool aroundEye = false;
        float first = 0.0f;
        float last = 0.0f;
        float nearest = 0.0f;
        float farthest = 0.0f;
    };

    static Outline outlineOf(int x, int y, const b2Vec3& eye);
    void hideShadowed(const LevelDesc& desc, const View& view);
    void addInnerSides(const LevelDesc& desc, const View& view);

    std::vector<Cell> m_reversed;
    std::vector<Cell> m_inMapOrder;
    bool m_amongShelves = false;
    std::vector<InnerSide> m_taking;
    std::vector<InnerSide> m_leaving;
    // Working storage: per cell, column by column, whether it lies in the view volume, whether it
    // is laid down and its outline; per sector around the eye, how far the eye sees for certain.
    std::vector<char> m_inView;
    std::vector<char> m_drawn;
    std::vector<Outline> m_outlines;
    std::vector<float> m_clear;
};
