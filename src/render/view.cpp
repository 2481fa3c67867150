#include "render/view.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float viewMargin = 0.01f;  // units: boxes this close outside the view volume count as inside

// Where a hidden surface meets a visible one at right angles along an edge, `distance` units
// from the eye, the two lie within one step of a depth buffer of `depthSteps` steps only where
// less than distance^2 / (near * depthSteps) units apart, which is within
// distance * focal / (near * depthSteps) pixels of the edge, over the cosine of the angle off the
// view axis (at least 0.6 in a corner of a 16:9 view with a 60 degree field). Half a pixel at
// 1920 x 1080 across the store; `tieReach` times that, and the rasteriser's rounding, are kept.
constexpr float depthSteps = static_cast<float>(1L << depthBufferBits);
constexpr float tieReach = 3.0f;
constexpr float roundingPixels = 2.0f;

// Element (row, column) of a column-major 4 x 4 matrix.
float element(const float* m, int row, int column) { return m[column * 4 + row]; }

}  // namespace

View::View(const float modelview[16], const float projection[16], const int viewport[4])
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

bool View::mayShow(const b2Vec3& low, const b2Vec3& high) const
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

bool View::beyondNearPlane(const b2Vec3& low, const b2Vec3& high) const
{
    const float* near = m_planes[4];
    const float distance = near[0] * (near[0] > 0.0f ? low.x : high.x) +
                           near[1] * (near[1] > 0.0f ? low.y : high.y) +
                           near[2] * (near[2] > 0.0f ? low.z : high.z) + near[3];
    return distance >= viewMargin;
}

WindowRect View::depthTiesAround(const b2Vec3* points, int count) const
{
    float farthest = 0.0f;
    for (int i = 0; i < count; ++i) {
        const b2Vec3 d = points[i] - m_eye;
        farthest = std::max(farthest, std::sqrt(b2Dot(d, d)));
    }
    const float margin = roundingPixels + tieReach * farthest * m_focal / (m_near * depthSteps);
    return windowAround(points, count, margin);
}

WindowRect View::windowAround(const b2Vec3* points, int count, float margin) const
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
