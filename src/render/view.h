#pragma once

// A view as OpenGL's current matrices and viewport give it: plain arithmetic on them, for a
// drawing pass that lays down only what the view can show (the pass reads them from OpenGL).

#include <box2d/box2d.h>

/// Bits of the depth buffer that the game's window asks for; the depth ties a View works out are
/// those of such a buffer (a deeper one only ties less).
inline constexpr int depthBufferBits = 16;

/// A rectangle of window pixels: origin at the bottom left, as glScissor takes it.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/// A view: the volume it shows, where points land in the window and, for a perspective
/// projection, the eye.
class View {
public:
    /// `modelview` and `projection`: 16 floats each, column-major, as glGetFloatv returns them;
    /// `viewport`: x, y, width and height in window pixels, as glGetIntegerv returns it. The
    /// modelview is affine (rotations, translations, scaling), as the cameras make it.
    View(const float modelview[16], const float projection[16], const int viewport[4]);

    /// Whether any part of the box from `low` to `high` (units) may lie inside the view volume.
    /// Boxes within a hundredth of a unit outside it count as inside.
    bool mayShow(const b2Vec3& low, const b2Vec3& high) const;
    /// Whether all of the box lies at least a hundredth of a unit beyond the near plane.
    bool beyondNearPlane(const b2Vec3& low, const b2Vec3& high) const;
    /// Where a hidden surface that meets a visible one at right angles, along edges through the
    /// `count` points (units), may still show: within the pixels around where the points land
    /// in which the depth buffer may hold the two at the same depth, or round a pixel the wrong
    /// way (perspective only). The whole viewport when one of the points lies less than a
    /// hundredth of a unit beyond the near plane; width or height 0 when that is nowhere in it.
    WindowRect depthTiesAround(const b2Vec3* points, int count) const;
    /// The whole viewport.
    WindowRect viewport() const
    {
        return WindowRect{m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3]};
    }
    /// Units from the eye to its near plane (perspective only).
    float nearDistance() const { return m_near; }
    /// Whether the projection is a perspective one, with an eye; a parallel one has none.
    bool perspective() const { return m_perspective; }
    /// The eye's position, units; meaningful for a perspective projection only.
    const b2Vec3& eye() const { return m_eye; }

private:
    WindowRect windowAround(const b2Vec3* points, int count, float margin) const;

    float m_clip[16];      // projection times modelview, column-major
    float m_planes[6][4];  // a x + b y + c z + d, positive inside: left, right, bottom, top, near, far
    int m_viewport[4];     // x, y, width, height
    float m_focal = 0.0f;  // pixels across one unit at one unit's distance, vertically
    float m_near = 0.0f;   // units
    bool m_perspective = false;
    b2Vec3 m_eye{0.0f, 0.0f, 0.0f};
};
