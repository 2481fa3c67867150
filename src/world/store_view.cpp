#include "world/store_view.h"

#include <algorithm>
#include <cmath>

#include "render/angles.h"

namespace {

constexpr float viewMargin = 0.01f;    // units: boxes this close outside the view volume count as inside
constexpr float eyeClearance = 0.01f;  // units: a cell this close to the eye, seen from above, hides nothing
constexpr int sectors = 2048;          // around the eye, for what the shelf blocks hide
// Radians, about a pixel across a view 1920 pixels wide: a block hides only the directions at
// least this far inside its outline, and a cell is looked for this far outside its own, so that
// the rasteriser's rounding never shows a sliver of a cell taken for hidden.
constexpr float angleMargin = 0.002f;

// Where an inner side may show. It meets the visible side at right angles along their edge;
// `distance` units from the eye, the two lie within one step of a depth buffer of `depthSteps`
// steps only where less than distance^2 / (near * depthSteps) units apart, which is within
// distance * focal / (near * depthSteps) pixels of the edge, over the cosine of the angle off the
// view axis (at least 0.6 in a corner of a 16:9 view with a 60 degree field). Half a pixel at
// 1920 x 1080 across the store; `tieReach` times that, and the rasteriser's rounding, are kept.
constexpr float depthSteps = 65536.0f;  // of the game's 16-bit depth buffer; a deeper one only ties less
constexpr float tieReach = 3.0f;
constexpr float roundingPixels = 2.0f;

// Element (row, column) of a column-major 4 x 4 matrix.
float element(const float* m, int row, int column) { return m[column * 4 + row]; }

// The index of cell (x, y) in the flags kept for every cell, column by column.
size_t indexOf(const LevelDesc& desc, int x, int y)
{
    return static_cast<size_t>(x) * static_cast<size_t>(desc.height) + static_cast<size_t>(y);
}

// Where a cell's square lies seen from the eye, from above: the directions from `first` to `last`
// (radians, last - first < pi; `first` may lie below -pi), and its nearest and farthest points'
// distances (units). `aroundEye` when the eye stands on the square or next to it.
struct Outline {
    bool aroundEye = false;
    float first = 0.0f;
    float last = 0.0f;
    float nearest = 0.0f;
    float farthest = 0.0f;
};

Outline outlineOf(int x, int y, const b2Vec3& eye)
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
    const float reference = std::atan2(below, left);
    float low = 0.0f;
    float high = 0.0f;
    for (int corner = 0; corner < 4; ++corner) {
        const float dx = left + static_cast<float>(corner & 1);
        const float dy = below + static_cast<float>(corner >> 1);
        float turn = std::atan2(dy, dx) - reference;
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

// Takes out of `drawn` (one flag per cell) the cells that the shelf blocks hide from an eye
// between their bottom and top. A straight line from there to any point of the store, all of
// which lies between the same heights, passes through a block wherever, seen from above, it
// crosses the block's square: what the blocks hide is a question of the map alone.
void hideShadowed(const LevelDesc& desc, const StoreView& view, std::vector<char>& drawn)
{
    std::vector<Outline> outlines(drawn.size());
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y)
            outlines[indexOf(desc, x, y)] = outlineOf(x, y, view.eye());

    // How far the eye sees for certain in each sector: the nearest farthest-point of the blocks
    // that span the whole sector. A block hides only when all of it lies beyond the near plane,
    // which would otherwise cut it open.
    std::vector<float> clear(sectors, INFINITY);
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y) {
            const Outline& block = outlines[indexOf(desc, x, y)];
            if (!shelfAt(desc, x, y) || !drawn[indexOf(desc, x, y)] || block.aroundEye ||
                !view.beyondNearPlane(lowCorner(desc, x, y), highCorner(desc, x, y)))
                continue;
            const int begin = static_cast<int>(std::ceil(sectorOf(block.first + angleMargin)));
            const int end = static_cast<int>(std::floor(sectorOf(block.last - angleMargin)));
            for (int sector = begin; sector < end; ++sector) {
                float& distance = clear[wrapped(sector)];
                distance = std::min(distance, block.farthest);
            }
        }

    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y) {
            const Outline& cell = outlines[indexOf(desc, x, y)];
            if (!drawn[indexOf(desc, x, y)] || cell.aroundEye)
                continue;
            const int begin = static_cast<int>(std::floor(sectorOf(cell.first - angleMargin)));
            const int end = static_cast<int>(std::floor(sectorOf(cell.last + angleMargin)));
            bool visible = false;
            for (int sector = begin; sector <= end && !visible; ++sector)
                visible = cell.nearest <= clear[wrapped(sector)];
            drawn[indexOf(desc, x, y)] = visible;
        }
}

// The inner sides, for an eye among the shelves, of the blocks in the view volume of which one
// block or the other is drawn.
void addInnerSides(const LevelDesc& desc, const StoreView& view, const std::vector<char>& inView,
                   const std::vector<char>& drawn, StoreCells& cells)
{
    const b2Vec3& eye = view.eye();
    const int ways[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y) {
            if (!shelfAt(desc, x, y) || !inView[indexOf(desc, x, y)])
                continue;
            for (const auto& way : ways) {
                const int nx = x + way[0];
                const int ny = y + way[1];
                if (!shelfAt(desc, nx, ny) || (!drawn[indexOf(desc, x, y)] && !drawn[indexOf(desc, nx, ny)]))
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
                WindowRect window = view.viewport();
                if (intact) {
                    float farthest = 0.0f;
                    for (int i = 0; i < count; ++i) {
                        const b2Vec3 d = edges[i] - eye;
                        farthest = std::max(farthest, std::sqrt(b2Dot(d, d)));
                    }
                    const float margin = roundingPixels + tieReach * farthest * view.focalPixels() /
                                                              (view.nearDistance() * depthSteps);
                    window = view.windowAround(edges, count, margin);
                }
                if (window.width > 0 && window.height > 0)
                    (forward ? cells.taking : cells.leaving)
                        .push_back(InnerSide{Cell{x, y}, way[0], way[1], window});
            }
        }
}

}  // namespace

StoreView::StoreView(const float modelview[16], const float projection[16], const int viewport[4])
{
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += element(projection, row, k) * element(modelview, k, column);
            m_clip[column * 4 + row] = sum;
        }
    // Inside, in clip coordinates, w + x, w - x, w + y, w - y, w + z and w - z are all positive;
    // each plane scaled so that it gives distances in units.
    for (int plane = 0; plane < 6; ++plane) {
        const float sign = plane % 2 == 0 ? 1.0f : -1.0f;
        for (int i = 0; i < 4; ++i)
            m_planes[plane][i] = element(m_clip, 3, i) + sign * element(m_clip, plane / 2, i);
        const float length =
            std::sqrt(m_planes[plane][0] * m_planes[plane][0] + m_planes[plane][1] * m_planes[plane][1] +
                      m_planes[plane][2] * m_planes[plane][2]);
        if (length > 0.0f)
            for (float& coefficient : m_planes[plane])
                coefficient /= length;
    }
    std::copy(viewport, viewport + 4, m_viewport);
    m_focal = element(projection, 1, 1) * 0.5f * static_cast<float>(viewport[3]);

    // A perspective projection: w = -z, and the near plane n units from the eye where
    // z' = (f + n) / (n - f) z + 2 f n / (n - f), that is n = [2 f n / (n - f)] / ([(f + n) / (n - f)] - 1).
    // The eye is the point the modelview takes to the origin: e with A e + t = 0, A its linear
    // part and t its translation, by Cramer's rule.
    const auto a = [&](int row, int column) { return element(modelview, row, column); };
    const auto determinant = [](const float m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    float linear[3][3];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            linear[row][column] = a(row, column);
    const float det = determinant(linear);
    m_perspective = element(projection, 3, 3) == 0.0f && det != 0.0f;
    if (!m_perspective)
        return;
    m_near = element(projection, 2, 3) / (element(projection, 2, 2) - 1.0f);
    float solved[3];
    for (int i = 0; i < 3; ++i) {
        float m[3][3];
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                m[row][column] = column == i ? -a(row, 3) : linear[row][column];
        solved[i] = determinant(m) / det;
    }
    m_eye = b2Vec3(solved[0], solved[1], solved[2]);
}

bool StoreView::mayShow(const b2Vec3& low, const b2Vec3& high) const
{
    for (const float* plane : m_planes) {
        // The box's corner farthest along the plane's normal.
        const float distance = plane[0] * (plane[0] > 0.0f ? high.x : low.x) +
                               plane[1] * (plane[1] > 0.0f ? high.y : low.y) +
                               plane[2] * (plane[2] > 0.0f ? high.z : low.z) + plane[3];
        if (distance < -viewMargin)
            return false;
    }
    return true;
}

bool StoreView::beyondNearPlane(const b2Vec3& low, const b2Vec3& high) const
{
    const float* near = m_planes[4];
    const float distance = near[0] * (near[0] > 0.0f ? low.x : high.x) +
                           near[1] * (near[1] > 0.0f ? low.y : high.y) +
                           near[2] * (near[2] > 0.0f ? low.z : high.z) + near[3];
    return distance >= viewMargin;
}

WindowRect StoreView::windowAround(const b2Vec3* points, int count, float margin) const
{
    float low[2] = {INFINITY, INFINITY};
    float high[2] = {-INFINITY, -INFINITY};
    for (int i = 0; i < count; ++i) {
        const b2Vec3& p = points[i];
        if (!beyondNearPlane(p, p))
            return viewport();
        float clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = element(m_clip, row, 0) * p.x + element(m_clip, row, 1) * p.y +
                        element(m_clip, row, 2) * p.z + element(m_clip, row, 3);
        for (int axis = 0; axis < 2; ++axis) {
            const float window =
                static_cast<float>(m_viewport[axis]) +
                (clip[axis] / clip[3] + 1.0f) * 0.5f * static_cast<float>(m_viewport[2 + axis]);
            low[axis] = std::min(low[axis], window);
            high[axis] = std::max(high[axis], window);
        }
    }
    int from[2];
    int to[2];
    for (int axis = 0; axis < 2; ++axis) {
        const float first = static_cast<float>(m_viewport[axis]);
        const float last = first + static_cast<float>(m_viewport[2 + axis]);
        from[axis] = static_cast<int>(std::clamp(std::floor(low[axis] - margin), first, last));
        to[axis] = static_cast<int>(std::clamp(std::ceil(high[axis] + margin), first, last));
    }
    return WindowRect{from[0], from[1], to[0] - from[0], to[1] - from[1]};
}

StoreCells storeCellsInView(const LevelDesc& desc, const StoreView& view)
{
    std::vector<char> inView(static_cast<size_t>(desc.width) * static_cast<size_t>(desc.height));
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y)
            inView[indexOf(desc, x, y)] = view.mayShow(lowCorner(desc, x, y), highCorner(desc, x, y));
    std::vector<char> drawn = inView;
    const b2Vec3& eye = view.eye();
    StoreCells cells;
    cells.amongShelves =
        view.perspective() && eye.z > storeSolids.shelfBottom && eye.z < storeSolids.shelfTop;
    if (cells.amongShelves)
        hideShadowed(desc, view, drawn);

    const auto leftOfEye = [&](int x) { return view.perspective() && static_cast<float>(x + 1) <= eye.x; };
    for (int x = desc.width - 1; x >= 0; --x)
        for (int y = desc.height - 1; y >= 0; --y)
            if (drawn[indexOf(desc, x, y)] && leftOfEye(x))
                cells.reversed.push_back(Cell{x, y});
    for (int x = 0; x < desc.width; ++x)
        for (int y = 0; y < desc.height; ++y)
            if (drawn[indexOf(desc, x, y)] && !leftOfEye(x))
                cells.inMapOrder.push_back(Cell{x, y});
    if (cells.amongShelves)
        addInnerSides(desc, view, inView, drawn, cells);
    return cells;
}
