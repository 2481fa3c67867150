#pragma once

// What a drawing routine really sends to OpenGL, read back through GL_FEEDBACK, and a view
// that maps the window coordinates feedback reports back onto object coordinates.

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <functional>
#include <iosfwd>
#include <vector>

namespace gltest {

/// One vertex as feedback reports it: window position (pixels from the bottom left; z is the
/// depth, 0 near to 1 far) and its colour after lighting.
struct FeedbackVertex {
    b2Vec3 window;
    b2Color colour;
};

enum class Kind { Polygon, Line, Point, PassThrough, Other };

/// One primitive in the order it reached the rasteriser. Mesa reports every polygon as
/// triangles: a quad as (v0, v1, v3), (v1, v2, v3); a triangle fan as (v0, v1, v2),
/// (v0, v2, v3), ...; a GL_POLYGON as (v1, v2, v0), (v2, v3, v0), ...
struct Primitive {
    Kind kind = Kind::Other;
    std::vector<FeedbackVertex> vertices;
    float marker = 0.0f;  ///< the value of a glPassThrough
};

using Primitives = std::vector<Primitive>;

/// Runs `draw` in GL_FEEDBACK mode (GL_3D_COLOR) and returns what it drew: after
/// transformation, lighting, clipping and face culling, before any pixel is touched.
/// Not for text: Mesa 22.3 crashes replaying FTGL's glyph display lists in feedback mode
/// (and drops segments of line loops compiled into any display list).
Primitives captureFeedback(const std::function<void()>& draw);

/// The primitives of one kind, in order.
Primitives only(const Primitives& primitives, Kind kind);

/// The number of different line segments among `primitives`. Mesa now and then reports one
/// segment of a GL_LINE_LOOP twice, when its immediate-mode vertex buffer wraps inside the
/// loop; count loops with this, not with only(..., Kind::Line).size().
size_t distinctLines(const Primitives& primitives);

/// An orthographic view straight down -z onto the box `centre` +- `halfSize` (x widened to
/// the viewport's aspect), identity modelview. Construction makes it current; toObject then
/// undoes it, depth included, for any vertex drawn under it.
class ObjectView {
public:
    ObjectView(b2Vec3 centre, float halfSize);
    b2Vec3 toObject(const FeedbackVertex& vertex) const;
    /// Every vertex of `primitive` in object coordinates.
    std::vector<b2Vec3> toObject(const Primitive& primitive) const;

private:
    double m_modelview[16];
    double m_projection[16];
    int m_viewport[4];
};

/// The winding normal (v1 - v0) x (v2 - v0) of the first three points, not normalised: it
/// points to the side from which they run counter-clockwise.
b2Vec3 windingNormal(const std::vector<b2Vec3>& points);

/// `v` scaled to length 1.
b2Vec3 unit(const b2Vec3& v);

/// The mean of `points`.
b2Vec3 centroid(const std::vector<b2Vec3>& points);

/// Whether every component of `actual` is within `tolerance` of `expected`.
::testing::AssertionResult closeTo(const b2Vec3& actual, const b2Vec3& expected, float tolerance);
::testing::AssertionResult closeTo(const b2Color& actual, const b2Color& expected, float tolerance);

}  // namespace gltest

// For gtest's messages.
std::ostream& operator<<(std::ostream& out, const b2Vec3& v);
std::ostream& operator<<(std::ostream& out, const b2Color& c);
