#pragma once

// What of the store one view can show, and in which order the store's drawing lays it down: plain
// arithmetic on the view's matrices and viewport (world_draw.cpp reads them from OpenGL and draws
// what this decides).

#include <box2d/box2d.h>

#include <vector>

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

/// A rectangle of window pixels: origin at the bottom left, as glScissor takes it.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/// A view of the store as OpenGL's current matrices and viewport give it: the volume it shows,
/// where points land in the window and, for a perspective projection, the eye.
class StoreView {
public:
    /// `modelview` and `projection`: 16 floats each, column-major, as glGetFloatv returns them;
    /// `viewport`: x, y, width and height in window pixels, as glGetIntegerv returns it. The
    /// modelview is affine (rotations, translations, scaling), as the cameras make it.
    StoreView(const float modelview[16], const float projection[16], const int viewport[4]);

    /// Whether any part of the box from `low` to `high` (units) may lie inside the view volume.
    /// Boxes within a hundredth of a unit outside it count as inside.
    bool mayShow(const b2Vec3& low, const b2Vec3& high) const;
    /// Whether all of the box lies at least a hundredth of a unit beyond the near plane.
    bool beyondNearPlane(const b2Vec3& low, const b2Vec3& high) const;
    /// The part of the viewport within `margin` pixels of where the `count` points land; the
    /// whole viewport when one of them lies less than a hundredth of a unit beyond the near plane.
    /// Width or height 0 when that is nowhere in the viewport.
    WindowRect windowAround(const b2Vec3* points, int count, float margin) const;
    /// The whole viewport.
    WindowRect viewport() const
    {
        return WindowRect{m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3]};
    }
    /// Pixels across which one unit, seen square-on one unit from the eye, spans up the window
    /// (perspective only).
    float focalPixels() const { return m_focal; }
    /// Units from the eye to its near plane (perspective only).
    float nearDistance() const { return m_near; }
    /// Whether the projection is a perspective one, with an eye; a parallel one has none.
    bool perspective() const { return m_perspective; }
    /// The eye's position, units; meaningful for a perspective projection only.
    const b2Vec3& eye() const { return m_eye; }

private:
    float m_clip[16];      // projection times modelview, column-major
    float m_planes[6][4];  // a x + b y + c z + d, positive inside: left, right, bottom, top, near, far
    int m_viewport[4];     // x, y, width, height
    float m_focal = 0.0f;  // pixels across one unit at one unit's distance, vertically
    float m_near = 0.0f;   // units
    bool m_perspective = false;
    b2Vec3 m_eye{0.0f, 0.0f, 0.0f};
};

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
/// apart; seen from above the blocks are whole and there are no inner sides apart.
struct StoreCells {
    std::vector<Cell> reversed;      ///< the columns left of the eye's, in reverse map order
    std::vector<Cell> inMapOrder;    ///< the other columns (all, for a parallel view), in map order
    bool amongShelves = false;       ///< whether the eye is among the shelves: inner sides apart
    std::vector<InnerSide> taking;   ///< inner sides toward a block later in map order (+x, +y)
    std::vector<InnerSide> leaving;  ///< inner sides toward a block earlier in map order (-x, -y)
};

/// The cells and inner sides of `desc` that `view` may show. A cell is left out only when none
/// of it can reach a pixel: wholly outside the view volume or, with the eye among the shelves,
/// wholly hidden behind shelf blocks. An inner side is kept when it faces the eye, one of its two
/// blocks is kept, and either the near plane cuts into one of them or one of its edges lies on a
/// side of either block that faces the eye.
StoreCells storeCellsInView(const LevelDesc& desc, const StoreView& view);
