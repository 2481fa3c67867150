#include "world/store_cells.h"

#include <algorithm>
#include <cmath>

#include "platform/float_math.h"
#include "render/angles.h"

namespace {

constexpr float eyeClearance = 0.01f;  // units: a cell this close to the eye, seen from above, hides nothing
constexpr int sectors = 2048;          // around the eye, for what the shelf blocks hide
// Radians, about a pixel across a view 1920 pixels wide: a block hides only the directions at
// least this far inside its outline, and a cell is looked for this far outside its own, so that
// the rasteriser's rounding never shows a sliver of a cell taken for hidden.
constexpr float angleMargin = 0.002f;

// The index of cell (x, y) in the flags kept for every cell, column by column.
size_t indexOf(const LevelDesc& desc, int x, int y)
{
    return static_cast<size_t>(x) * static_cast<size_t>(desc.height) + static_cast<size_t>(y);
}

// The sector position of direction `angle` (radians): sector k spans [k, k + 1), counted modulo
// `sectors` from the direction -pi.
float sectorOf(float angle) { return (angle + pi) / (2.0f * pi) * static_cast<float>(sectors); }

int wrapped(int sector) { return (sector % sectors + sectors) % sectors; }

b2Vec3 lowCorner(const LevelDesc& desc, int x, int y)
{
    return b2Vec3(static_cast<float>(x), static_cast<float>(y),
                  shelfAt(desc, x, y) ? storeSolids.shelfBottom : 0.0f);
}

b2Vec3 highCorner(const LevelDesc& desc, int x, int y)
{
    return b2Vec3(static_cast<float>(x + 1), static_cast<float>(y + 1),
                  shelfAt(desc, x, y) ? storeSolids.shelfTop : 0.0f);
}

}  // namespace

// The outline of cell (x, y) seen from `eye`.
StoreCells::Outline StoreCells::outlineOf(int x, int y, const b2Vec3& eye)
{
    Outline outline;
    const float left = static_cast<float>(x) - eye.x;
    const float below = static_cast<float>(y) - eye.y;
    const float gapX = std::max({left, -(left + 1.0f), 0.0f});
    const float gapY = std::max({below, -(below + 1.0f), 0.0f});
    if (gapX < eyeClearance && gapY < eyeClearance) {
        outline.aroundEye = true;
        return outline;
    }
    outline.nearest = std::sqrt(gapX * gapX + gapY * gapY);
    const float reference = portableAtan2(below, left);
    float low = 0.0f;
    float high = 0.0f;
    for (int corner = 0; corner < 4; ++corner) {
        const float dx = left + static_cast<float>(corner & 1);
        const float dy = below + static_cast<float>(corner >> 1);
        float turn = portableAtan2(dy, dx) - reference;
        if (turn > pi)
            turn -= 2.0f * pi;
        else if (turn < -pi)
            turn += 2.0f * pi;
        low = std::min(low, turn);
        high = std::max(high, turn);
        outline.farthest = std::max(outline.farthest, std::sqrt(dx * dx + dy * dy));
    }
    outline.first = reference + low;
    outline.last = reference + high;
    return outline;
}

// Takes out of the cells laid down those that the shelf blocks hide from an eye between their
// bottom and top. A straight line from there to any point of the store, all of which lies between
// the same heights, passes through a block wherever, seen from above, it crosses the block's
// square: what the blocks hide is a question of the map alone.
void StoreCells::hideShadowed(const LevelDesc& desc, const View& view)
{
    // Only cells still to be drawn are looked at below: the others' outlines are never read.
    m_outlines.resize(m_drawn.size());
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y)
            if (m_drawn[indexOf(desc, x, y)])
                m_outlines[indexOf(desc, x, y)] = outlineOf(x, y, view.eye());

    // How far the eye sees for certain in each sector: the nearest farthest-point of the blocks
    // that span the whole sector. A block hides only when all of it lies beyond the near plane,
    // which would otherwise cut it open.
    m_clear.assign(sectors, INFINITY);
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y) {
            const Outline& block = m_outlines[indexOf(desc, x, y)];
            if (!shelfAt(desc, x, y) || !m_drawn[indexOf(desc, x, y)] || block.aroundEye ||
                !view.beyondNearPlane(lowCorner(desc, x, y), highCorner(desc, x, y)))
                continue;
            const int begin = static_cast<int>(std::ceil(sectorOf(block.first + angleMargin)));
            const int end = static_cast<int>(std::floor(sectorOf(block.last - angleMargin)));
            for (int sector = begin; sector < end; ++sector) {
                float& distance = m_clear[wrapped(sector)];
                distance = std::min(distance, block.farthest);
            }
        }

    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y) {
            const Outline& cell = m_outlines[indexOf(desc, x, y)];
            if (!m_drawn[indexOf(desc, x, y)] || cell.aroundEye)
                continue;
            const int begin = static_cast<int>(std::floor(sectorOf(cell.first - angleMargin)));
            const int end = static_cast<int>(std::floor(sectorOf(cell.last + angleMargin)));
            bool visible = false;
            for (int sector = begin; sector <= end && !visible; ++sector)
                visible = cell.nearest <= m_clear[wrapped(sector)];
            m_drawn[indexOf(desc, x, y)] = visible;
        }
}

// The inner sides, for an eye among the shelves, of the blocks in the view volume of which one
// block or the other is drawn.
void StoreCells::addInnerSides(const LevelDesc& desc, const View& view)
{
    const b2Vec3& eye = view.eye();
    const int ways[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y) {
            if (!shelfAt(desc, x, y) || !m_inView[indexOf(desc, x, y)])
                continue;
            for (const auto& way : ways) {
                const int nx = x + way[0];
                const int ny = y + way[1];
                if (!shelfAt(desc, nx, ny) ||
                    (!m_drawn[indexOf(desc, x, y)] && !m_drawn[indexOf(desc, nx, ny)]))
                    continue;
                // The side stands across one axis at `across` and runs along the other from
                // `along` to `along` + 1; `forward` when it faces the positive way.
                const bool acrossX = way[0] != 0;
                const bool forward = way[0] + way[1] > 0;
                const float across = static_cast<float>((acrossX ? x : y) + (forward ? 1 : 0));
                const int along = acrossX ? y : x;
                const float eyeAcross = acrossX ? eye.x : eye.y;
                const float eyeAlong = acrossX ? eye.y : eye.x;
                if (forward ? eyeAcross <= across : eyeAcross >= across)
                    continue;  // it faces away
                // Where the near plane cuts into either block, the side shows whole.
                const bool intact = view.beyondNearPlane(lowCorner(desc, x, y), highCorner(desc, x, y)) &&
                                    view.beyondNearPlane(lowCorner(desc, nx, ny), highCorner(desc, nx, ny));
                const auto point = [&](float alongAt, float z) {
                    return acrossX ? b2Vec3(across, alongAt, z) : b2Vec3(alongAt, across, z);
                };
                b2Vec3 edges[4];
                int count = 0;
                for (int end = 0; end < 2; ++end) {
                    // At this end the side meets the two blocks' sides that face along it; an
                    // outer one of them shows when it faces the eye.
                    const int step = end == 0 ? -1 : 1;
                    const bool outer = acrossX ? !shelfAt(desc, x, y + step) || !shelfAt(desc, nx, ny + step)
                                               : !shelfAt(desc, x + step, y) || !shelfAt(desc, nx + step, ny);
                    const float endAt = static_cast<float>(along + end);
                    const bool facing = end == 0 ? eyeAlong < endAt : eyeAlong > endAt;
                    if (outer && facing) {
                        edges[count++] = point(endAt, storeSolids.shelfBottom);
                        edges[count++] = point(endAt, storeSolids.shelfTop);
                    }
                }
                if (count == 0 && intact)
                    continue;
                const WindowRect window = intact ? view.depthTiesAround(edges, count) : view.viewport();
                if (window.width > 0 && window.height > 0)
                    (forward ? m_taking : m_leaving).push_back(InnerSide{Cell{x, y}, way[0], way[1], window});
            }
        }
}

void StoreCells::update(const LevelDesc& desc, const View& view)
{
    m_inView.resize(static_cast<size_t>(desc.width) * static_cast<size_t>(desc.height));
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y)
            m_inView[indexOf(desc, x, y)] = view.mayShow(lowCorner(desc, x, y), highCorner(desc, x, y));
    m_drawn = m_inView;
    const b2Vec3& eye = view.eye();
    m_amongShelves = view.perspective() && eye.z > storeSolids.shelfBottom && eye.z < storeSolids.shelfTop;
    if (m_amongShelves)
        hideShadowed(desc, view);

    const auto leftOfEye = [&](int x) { return view.perspective() && static_cast<float>(x + 1) <= eye.x; };
    m_reversed.clear();
    for (int x = desc.width - 1; x >= 0; --x)
        for (int y = desc.height - 1; y >= 0; --y)
            if (m_drawn[indexOf(desc, x, y)] && leftOfEye(x))
                m_reversed.push_back(Cell{x, y});
    m_inMapOrder.clear();
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y)
            if (m_drawn[indexOf(desc, x, y)] && !leftOfEye(x))
                m_inMapOrder.push_back(Cell{x, y});
    m_taking.clear();
    m_leaving.clear();
    if (m_amongShelves)
        addInnerSides(desc, view);
}
